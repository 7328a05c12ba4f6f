// Fuzzes the shortcut file content (input read as UTF-16LE): decimal length, '#', then exactly
// that many bytes, quoted when the target holds a space, never a line end added.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/shell_shortcuts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string target(size / 2, u'\0');
  for (size_t i = 0; i < target.size(); ++i) {
    target[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  const std::string content = ce::ShortcutFileContent(target);
  const size_t hash = content.find('#');
  if (hash == std::string::npos || hash == 0) std::abort();
  for (size_t i = 0; i < hash; ++i) {
    if (content[i] < '0' || content[i] > '9') std::abort();
  }
  const size_t length = std::strtoul(content.substr(0, hash).c_str(), nullptr, 10);
  if (content.size() - hash - 1 != length) std::abort();
  const bool quoted = target.find(u' ') != std::u16string::npos;
  if (length != target.size() + (quoted ? 2 : 0)) std::abort();
  if (quoted && (content[hash + 1] != '"' || content.back() != '"')) std::abort();
  return 0;
}
