// Shared text operations. The code page conversions go through the device's own
// MultiByteToWideChar / WideCharToMultiByte so that the value layer and the platform agree
// byte for byte.
#include "frame/text.h"

#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "frame/address_sanitizer.h"
#include "platform/code_pages.h"

namespace tq {

size_t TextLength(const char16_t* text) {
  if (text == nullptr) return 0;
#if defined(__SSE2__)
  // Every text parameter of a call is measured here, so the scan looks at eight characters at a
  // time. It reads whole aligned 16-byte blocks: such a block never straddles a page, so the
  // bytes read past the terminator are always mapped. The sanitizer would still report them,
  // and an odd address would not line the 16-bit lanes up with the characters: both take the
  // plain loop.
  const uintptr_t address = reinterpret_cast<uintptr_t>(text);
  if (!kAddressSanitizer && (address & 1) == 0) {
    const __m128i zero = _mm_setzero_si128();
    const auto* block = reinterpret_cast<const __m128i*>(address & ~uintptr_t{15});
    // Bytes of the first block that lie before the text are masked out.
    unsigned zeros =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_load_si128(block), zero))) &
        (~0u << (address & 15));
    while (zeros == 0)
      zeros =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_load_si128(++block), zero)));
    return (reinterpret_cast<uintptr_t>(block) + static_cast<unsigned>(__builtin_ctz(zeros)) -
            address) /
           2;
  }
#endif
  size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

size_t BoundedCopy(char16_t* destination, size_t capacity, const char16_t* source,
                   int64_t count) {
  if (capacity == 0 || destination == nullptr) return 0;
  size_t n = 0;
  if (source != nullptr) {
    while (n + 1 < capacity && (count < 0 || n < static_cast<size_t>(count)) && source[n] != 0) {
      destination[n] = source[n];
      ++n;
    }
  }
  destination[n] = 0;
  return n;
}

void OwnedText::assign(std::u16string_view text) {
  if (text.empty()) {
    clear();
    return;
  }
  if (buffer_ != nullptr && text.data() >= buffer_ && text.data() <= buffer_ + length_) {
    // Assigning a part of itself: go through a copy.
    std::u16string copy(text);
    assign(copy);
    return;
  }
  if (buffer_ == nullptr || text.size() != length_) {
    void* grown = std::realloc(buffer_, (text.size() + 1) * sizeof(char16_t));
    if (grown == nullptr) {
      clear();  // memory exhaustion leaves the text null
      return;
    }
    buffer_ = static_cast<char16_t*>(grown);
  }
  std::memcpy(buffer_, text.data(), text.size() * sizeof(char16_t));
  buffer_[text.size()] = 0;
  length_ = text.size();
}

void OwnedText::clear() {
  // The VM clears every text of the error state before each call: most are already empty.
  if (buffer_ == nullptr) return;
  std::free(buffer_);
  buffer_ = nullptr;
  length_ = 0;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  if (text.empty()) return out;
  int n = ce::MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()),
                                  out.data(), static_cast<int>(out.size()));
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

std::string Utf16ToCp1252(std::u16string_view text) {
  std::string out(text.size(), '\0');
  if (text.empty()) return out;
  int n = ce::WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()),
                                  out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) { return ce::Utf8ToUtf16(text); }
std::string Utf16ToUtf8(std::u16string_view text) { return ce::Utf16ToUtf8(text); }

}  // namespace tq
