// Hexadecimal writer and reader. Both size their output once and fill it through a pointer
// with table lookups, since dumps of large buffers are common.
#include "numtext/hex_text.h"

#include <algorithm>
#include <cstring>

namespace tq {
namespace {

constexpr char16_t kUpperHex[] = u"0123456789ABCDEF";

// The two digits of each byte, as the two UTF-16 units laid out in memory.
struct DigitPairs {
  char16_t pair[256][2];
  constexpr DigitPairs() : pair() {
    for (int b = 0; b < 256; ++b) {
      pair[b][0] = kUpperHex[b >> 4];
      pair[b][1] = kUpperHex[b & 15];
    }
  }
};
constexpr DigitPairs kDigitPairs;

struct DigitValues {
  int8_t value[128];
  constexpr DigitValues() : value() {
    for (int c = 0; c < 128; ++c) value[c] = -1;
    for (int c = '0'; c <= '9'; ++c) value[c] = static_cast<int8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) value[c] = static_cast<int8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) value[c] = static_cast<int8_t>(c - 'a' + 10);
  }
};
constexpr DigitValues kDigitValues;

int HexDigitValue(char16_t c) { return c < 128 ? kDigitValues.value[c] : -1; }

char16_t ColumnCharacter(uint8_t b) { return b >= 0x20 && b <= 0x7F ? b : u'.'; }

// Upper bound of the text's length: every byte gives two digits and one column character,
// every group a separator, every line a space and CR LF.
size_t MaximumLength(size_t bytes, size_t groupBytes, size_t lineWidth) {
  const size_t lines = lineWidth > 0 ? bytes / lineWidth + 1 : bytes + 1;
  return bytes * 3 + bytes / groupBytes + 1 + lines * 3;
}

}  // namespace

HexStatus BufferToHex(std::span<const uint8_t> bytes, int32_t grouping, int32_t lineWidth,
                      std::u16string& out) {
  out.clear();
  const bool column = (grouping & kHexCharacterColumn) != 0;
  grouping &= ~kHexCharacterColumn;
  const bool memoryOrder = (lineWidth & kHexMemoryOrder) != 0;
  const bool lineBreaks = (lineWidth & kHexNoLineBreaks) == 0;
  lineWidth &= ~(kHexMemoryOrder | kHexNoLineBreaks);
  if (grouping != 0 && grouping != 1 && grouping != 2 && grouping != 4)
    return HexStatus::kBadGrouping;
  const bool separators = grouping != 0;
  const size_t groupBytes = grouping == 0 ? 1 : static_cast<size_t>(grouping);
  if (lineWidth == 0) lineWidth = 16;
  // A negative width ends a line after every group, as "holds width bytes or more" says.
  const size_t width = lineWidth < 0 ? 0 : static_cast<size_t>(lineWidth);
  if (bytes.empty()) return HexStatus::kOk;

  out.resize(MaximumLength(bytes.size(), groupBytes, width));
  char16_t* w = out.data();
  const size_t size = bytes.size();
  // A line ends after the group that brings it to `width` bytes or more; the buffer's last
  // line ends with the buffer, without a break.
  const size_t groupsPerLine = std::max<size_t>(1, (width + groupBytes - 1) / groupBytes);
  const size_t lineBytes = lineBreaks ? groupsPerLine * groupBytes : size;
  size_t lineStart = 0;
  auto writeColumn = [&](size_t end) {
    *w++ = u' ';
    for (size_t i = lineStart; i < end; ++i) *w++ = ColumnCharacter(bytes[i]);
  };
  while (true) {
    const bool lastLine = size - lineStart <= lineBytes;
    const size_t lineEnd = lastLine ? size : lineStart + lineBytes;
    size_t pos = lineStart;
    if (groupBytes == 1) {
      for (; pos < lineEnd; ++pos) {
        std::memcpy(w, kDigitPairs.pair[bytes[pos]], sizeof kDigitPairs.pair[0]);
        w[2] = u' ';
        w += separators ? 3 : 2;
      }
    } else {
      while (pos < lineEnd) {
        // Near the buffer's end a group that no longer fits falls back to single bytes. The
        // group's bytes are written from the most significant digit pair to the least.
        const size_t g = pos + groupBytes <= size ? groupBytes : 1;
        for (size_t k = 0; k < g; ++k) {
          const uint8_t b = bytes[memoryOrder ? pos + k : pos + g - 1 - k];
          std::memcpy(w, kDigitPairs.pair[b], sizeof kDigitPairs.pair[0]);
          w += 2;
        }
        pos += g;
        *w++ = u' ';
      }
    }
    if (separators) --w;  // no separator after a line's last group
    if (lastLine) break;
    if (column) writeColumn(lineEnd);
    *w++ = u'\r';
    *w++ = u'\n';
    lineStart = lineEnd;
  }
  if (column) writeColumn(size);
  out.resize(static_cast<size_t>(w - out.data()));
  return HexStatus::kOk;
}

HexStatus HexToBuffer(std::u16string_view text, int32_t grouping, int32_t options,
                      std::vector<uint8_t>& out, std::u16string* badGroup) {
  out.clear();
  bool memoryOrder = (options & kHexMemoryOrder) != 0;
  if (grouping == 0) {
    grouping = 1;
    memoryOrder = false;
  }
  if (grouping != 1 && grouping != 2 && grouping != 4) return HexStatus::kBadGrouping;
  const size_t groupChars = 2 * static_cast<size_t>(grouping);
  const size_t n = text.size();
  out.resize(n / 2 + 4);  // at most one byte per two characters, plus a short last group
  uint8_t* w = out.data();
  size_t pos = 0;
  while (pos < n) {
    if (groupChars == 2 && pos + 1 < n) {
      const int high = HexDigitValue(text[pos]);
      const int low = HexDigitValue(text[pos + 1]);
      if ((high | low) >= 0) {  // the common case: a whole byte
        *w++ = static_cast<uint8_t>((high << 4) | low);
        pos += 2;
        if (pos < n && text[pos] == u' ') ++pos;
        if (pos < n && text[pos] == u'\r') ++pos;
        if (pos < n && text[pos] == u'\n') ++pos;
        continue;
      }
    }
    const size_t groupEnd = std::min(n, pos + groupChars);
    if (HexDigitValue(text[pos]) < 0) {
      if (badGroup != nullptr) *badGroup = std::u16string(text.substr(pos, groupChars));
      out.clear();
      return HexStatus::kNotHexadecimal;
    }
    uint32_t number = 0;
    size_t digits = 0;
    for (int v; pos + digits < groupEnd && digits < 8 && (v = HexDigitValue(text[pos + digits])) >= 0;
         ++digits)
      number = (number << 4) | static_cast<uint32_t>(v);
    const size_t count = digits / 2;
    if (count == 1 || count == 2 || count == 4) {
      for (size_t k = 0; k < count; ++k)
        *w++ = static_cast<uint8_t>(number >> (8 * (memoryOrder ? count - 1 - k : k)));
    }
    pos += count > 0 ? 2 * count : 1;
    if (pos < n && text[pos] == u' ') ++pos;
    if (pos < n && text[pos] == u'\r') ++pos;
    if (pos < n && text[pos] == u'\n') ++pos;
  }
  out.resize(static_cast<size_t>(w - out.data()));
  return HexStatus::kOk;
}

}  // namespace tq
