// The version-resource reader on arbitrary program images: any bytes either give no version
// information or a bounded one; the executable-kind reader never reads past what it is given.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/exe_info.h"
#include "frame/version_resource.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view image(reinterpret_cast<const char*>(data), size);
  if (const std::optional<tq::VersionResource> resource = tq::ReadVersionResource(image)) {
    Require(resource->strings.size() <= size);
    Require(resource->translations.size() <= size / 4);
    for (const auto& entry : resource->strings) Require(entry[2].size() <= size / 2);
  }
  const std::string_view rest = size > 64 ? image.substr(64) : std::string_view();
  const std::u16string mode = tq::ExecutableMode(image.substr(0, 64), rest);
  Require(mode.empty() || mode == u"DOS" || mode == u"16" || mode == u"32" || mode == u"64");
  return 0;
}
