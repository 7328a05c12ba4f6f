// Script lines and the argument words they carry: splitting, quoting, NAME = forms, and every
// argument prefix, on arbitrary text. Nothing may crash, hang or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/arguments.h"
#include "host/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  std::string error;
  std::optional<tqhost::ScriptLine> parsed = tqhost::ParseScriptLine(line, &error);
  if (!parsed) return 0;
  tqhost::KeptValues kept;
  kept["x"] = tqhost::HostValue::Text(u"kept");
  for (const std::string& word : parsed->arguments) {
    std::optional<tqhost::Argument> a = tqhost::ParseArgument(word, kept, &error);
    (void)a;
  }
  return 0;
}
