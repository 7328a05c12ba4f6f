// Small text operations shared by every family: the bounded UTF-16 copy, the library's own
// owned strings, and the code page 1252 conversions of the value layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

// Copies at most `count` characters (-1: up to the terminator) and never more than
// capacity - 1; always terminates when capacity > 0. Returns the characters copied.
size_t BoundedCopy(char16_t* destination, size_t capacity, const char16_t* source,
                   int64_t count = -1);

// Length of a zero-terminated UTF-16 text; 0 for null.
size_t TextLength(const char16_t* text);

// A private string owned by the library, on the process heap. Null when empty; a text of the
// same length overwrites in place; otherwise the buffer is reallocated.
class OwnedText {
 public:
  OwnedText() = default;
  OwnedText(const OwnedText&) = delete;
  OwnedText& operator=(const OwnedText&) = delete;
  ~OwnedText() { clear(); }
  void assign(std::u16string_view text);
  void clear();
  const char16_t* c_str() const { return buffer_ ? buffer_ : u""; }
  std::u16string_view view() const { return {c_str(), length_}; }
  bool empty() const { return length_ == 0; }
  const char16_t* buffer() const { return buffer_; }

 private:
  char16_t* buffer_ = nullptr;
  size_t length_ = 0;
};

std::u16string Cp1252ToUtf16(std::string_view text);
std::string Utf16ToCp1252(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace tq
