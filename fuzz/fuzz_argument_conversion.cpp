// Argument conversion: any argument word against every parameter type the tables use, then
// the conversion to the parameter's value and the argument storage the entry reads.
#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/vm_string.h"
#include "host/argument_storage.h"
#include "host/arguments.h"
#include "host/parameter_kinds.h"
#include "host/vm_objects.h"

namespace {
constexpr uint32_t kParameterCodes[] = {1,   8,   9,   10,  12,     14,     15,     19,
                                        24,  25,  26,  27,  28,     31,     57,     67,
                                        80,  122, 127, 131, 140,    0x8050, 0x807a, 0x4001,
                                        0x150084};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tq::SetAllocator(tqhost::Allocator());
  const std::string word(reinterpret_cast<const char*>(data), size);
  tqhost::KeptValues kept;
  std::string error;
  std::optional<tqhost::Argument> a = tqhost::ParseArgument(word, kept, &error);
  if (!a) return 0;
  for (uint32_t code : kParameterCodes) {
    if (!tqhost::Accepts(code, *a)) continue;
    const tqhost::HostValue value = tqhost::ValueForParameter(code, *a);
    tqhost::ArgumentStorage storage;
    if (a->form == tqhost::Argument::Form::kReference)
      storage.AddVariable(code, a->name, value);
    else
      storage.Add(code, value);
    (void)storage.ReadVariables();
    // Every value the VM can hold converts to text and back without trouble.
    std::optional<tqhost::HostValue> text = tqhost::ConvertValue(value, 28);
    if (text) (void)tqhost::ConvertValue(*text, 12);
  }
  tqhost::ReleaseArrays();
  return 0;
}
