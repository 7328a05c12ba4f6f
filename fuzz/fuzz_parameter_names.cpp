// Fuzzes parameter names and value escaping (input read as UTF-16LE): unescaping an escaped
// text gives it back, escaped text holds no line end, tab or space, sections hold no "\",
// space, "-" or tab, and group keys never hold "\\".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "system/parameter_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text = fuzzinput::Utf16Units(data, size);
  const std::u16string escaped = tq::EscapeParameterText(text);
  if (escaped.find_first_of(u"\r\n\t ") != std::u16string::npos) std::abort();
  if (tq::UnescapeParameterText(escaped) != text) std::abort();
  tq::UnescapeParameterText(text);
  const tq::ParameterName name = tq::SplitParameterName(text);
  if (name.value.find_first_of(u"./\\") != std::u16string::npos) std::abort();
  const std::u16string section = tq::ParameterSection(name.group);
  if (section.empty() || section.find_first_of(u"\\ -\t") != std::u16string::npos) std::abort();
  if (tq::ParameterGroupKey(text, name.group).find(u"\\\\") != std::u16string::npos) std::abort();
  return 0;
}
