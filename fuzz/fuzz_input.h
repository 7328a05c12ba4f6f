// How the fuzz targets read their input as text: pairs of bytes as UTF-16 units, and a text cut
// in two at a separator, so that one input carries two arguments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace fuzzinput {

// The bytes from `offset` on as UTF-16 units, low byte first; an odd last byte is dropped.
inline std::u16string Utf16Units(const uint8_t* data, size_t size, size_t offset = 0) {
  std::u16string units;
  for (size_t i = offset; i + 1 < size; i += 2)
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  return units;
}

// The text before the first `separator` and the text after it (empty when there is none).
inline std::pair<std::u16string, std::u16string> SplitAt(const std::u16string& text,
                                                         char16_t separator) {
  const size_t split = text.find(separator);
  if (split == std::u16string::npos) return {text, std::u16string()};
  return {text.substr(0, split), text.substr(split + 1)};
}

}  // namespace fuzzinput
