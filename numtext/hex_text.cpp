// Hexadecimal writer and reader. The writer sizes its output once and fills it through a
// pointer, since dumps of large buffers are common; the reader appends to a vector reserved for
// the densest text.
#include "numtext/hex_text.h"

#include <algorithm>

namespace tq {
namespace {

constexpr char16_t kUpperHex[] = u"0123456789ABCDEF";

int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

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
  size_t lineStart = 0;
  size_t pos = 0;
  auto writeColumn = [&](size_t end) {
    *w++ = u' ';
    for (size_t i = lineStart; i < end; ++i) *w++ = ColumnCharacter(bytes[i]);
  };
  while (pos < size) {
    const size_t g = pos + groupBytes <= size ? groupBytes : 1;
    // The group's bytes from the most significant digit pair to the least.
    for (size_t k = 0; k < g; ++k) {
      const uint8_t b = bytes[memoryOrder ? pos + k : pos + g - 1 - k];
      *w++ = kUpperHex[b >> 4];
      *w++ = kUpperHex[b & 15];
    }
    pos += g;
    if (pos == size) break;
    if (lineBreaks && pos - lineStart >= width) {
      if (column) writeColumn(pos);
      *w++ = u'\r';
      *w++ = u'\n';
      lineStart = pos;
    } else if (separators) {
      *w++ = u' ';
    }
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
  out.reserve(text.size() / 2);
  size_t pos = 0;
  while (pos < text.size()) {
    const std::u16string_view group = text.substr(pos, groupChars);
    if (HexDigitValue(group[0]) < 0) {
      if (badGroup != nullptr) *badGroup = std::u16string(group);
      out.clear();
      return HexStatus::kNotHexadecimal;
    }
    uint32_t number = 0;
    size_t digits = 0;
    for (; digits < group.size() && digits < 8; ++digits) {
      const int v = HexDigitValue(group[digits]);
      if (v < 0) break;
      number = (number << 4) | static_cast<uint32_t>(v);
    }
    const size_t count = digits / 2;
    if (count == 1 || count == 2 || count == 4) {
      for (size_t k = 0; k < count; ++k) {
        const size_t shift = 8 * (memoryOrder ? count - 1 - k : k);
        out.push_back(static_cast<uint8_t>(number >> shift));
      }
    }
    pos += std::max<size_t>(2 * count, 1);
    for (char16_t skipped : {u' ', u'\r', u'\n'})
      if (pos < text.size() && text[pos] == skipped) ++pos;
  }
  return HexStatus::kOk;
}

}  // namespace tq
