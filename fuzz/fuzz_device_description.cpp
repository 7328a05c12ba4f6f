// Device descriptions: any text gives a usable description (defaults where members are
// malformed), with a sentence for each problem.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/device_description.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ce::DeviceDescription d =
      ce::ParseDeviceDescription(std::string_view(reinterpret_cast<const char*>(data), size));
  if (d.screen.width < 1 || d.screen.height < 1) __builtin_trap();
  for (const std::string& problem : d.problems)
    if (problem.empty()) __builtin_trap();
  return 0;
}
