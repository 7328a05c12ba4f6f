// Fuzzes the launcher's command-line split and program path check (input read as UTF-16LE):
// the program part never grows, is at most 259 characters when the line was split, and the
// argument string is exactly what follows the split character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "services/program_launch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string line(size / 2, u'\0');
  for (size_t i = 0; i < line.size(); ++i) {
    line[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  const tq::SplitCommand split = tq::SplitCommandLine(line);
  if (split.program.size() > line.size()) std::abort();
  if (split.arguments) {
    if (split.program.size() > 259) std::abort();
    if (split.arguments->size() >= line.size()) std::abort();
    if (line.compare(line.size() - split.arguments->size(), std::u16string::npos,
                     *split.arguments) != 0) {
      std::abort();
    }
  } else if (split.program != line) {
    std::abort();
  }
  const bool accepted = tq::ProgramPathAccepted(split.program);
  if (accepted && split.program.empty()) std::abort();
  return 0;
}
