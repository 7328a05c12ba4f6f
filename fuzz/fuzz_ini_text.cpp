// Fuzzes the INI text rules: the input is split into a file and the section, key and value of
// one read and one write. Nothing may crash; emptying a section never adds bytes; and in a
// file without any "[" that ends with a line end, a value written under a plain section and
// key reads back as written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "system/profile_text.h"

namespace {

std::string_view Take(std::string_view& input) {
  const size_t end = input.find('\x01');
  std::string_view part = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return part;
}

bool Plain(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view section = Take(input), key = Take(input), value = Take(input);
  const std::string_view text = input;
  tq::ReadProfileText(text, std::nullopt, std::nullopt);
  tq::ReadProfileText(text, section, std::nullopt);
  tq::ReadProfileText(text, section, key);
  if (tq::EditProfileText(text, section, std::nullopt, std::nullopt).size() > text.size())
    std::abort();
  tq::EditProfileText(text, section, key, std::nullopt);
  const std::string written = tq::EditProfileText(text, section, key, value);
  const bool lineEnded =
      text.empty() || (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n");
  if (Plain(section) && Plain(key) && Plain(value) && text.find('[') == std::string_view::npos &&
      lineEnded) {
    if (tq::ReadProfileText(written, section, key) != std::string(value)) std::abort();
  }
  return 0;
}
