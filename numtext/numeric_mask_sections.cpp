// Splitting numeric masks into sections, colour tags, and the mask properties the formatter
// needs.
#include "numtext/numeric_mask_sections.h"

#include <cctype>

namespace tq {
namespace {

bool IsDigitPlaceholder(char16_t c) { return c == u'0' || c == u'9'; }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

bool SameWithoutCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

struct NamedColour {
  std::u16string_view french, english;
  uint32_t value;
};

constexpr NamedColour kColours[] = {
    {u"Rouge", u"Red", 0x0000FF},         {u"RougePastel", u"PastelRed", 0x9999FF},
    {u"Vert", u"Green", 0x00FF00},        {u"VertPastel", u"PastelGreen", 0x99FF99},
    {u"Bleu", u"Blue", 0xFF0000},         {u"BleuPastel", u"PastelBlue", 0xFF9999},
    {u"Noir", u"Black", 0},               {u"Blanc", u"White", 0xFFFFFF},
    {u"Jaune", u"Yellow", 0x00FFFF},      {u"JaunePastel", u"PastelYellow", 0x99FFFF},
    {u"Orange", u"Orange", 0x40C0FF},     {u"OrangePastel", u"PastelOrange", 0x47B3FF},
};

}  // namespace

std::u16string_view MaskSections::Choose(int index) const {
  if (index > 0 && index < count && !section[static_cast<size_t>(index)].empty())
    return section[static_cast<size_t>(index)];
  return section[0];
}

MaskSections SplitSections(std::u16string_view mask) {
  MaskSections out;
  out.storage.reserve(mask.size());
  std::array<size_t, 4> bounds{};
  int count = 1;
  for (size_t i = 0; i < mask.size(); ++i) {
    const char16_t c = mask[i];
    if (c == u'\\' && i + 1 < mask.size()) {
      out.storage += c;
      out.storage += mask[++i];
    } else if (c == u'[') {
      const size_t close = mask.find(u']', i + 1);
      if (close == std::u16string_view::npos) {
        out.storage += c;  // no tag: the bracket is a literal
      } else {
        i = close;
      }
    } else if (c == u';' && count < 3) {
      out.hasSemicolon = true;
      bounds[static_cast<size_t>(count++)] = out.storage.size();
    } else {
      out.storage += c;
    }
  }
  bounds[static_cast<size_t>(count)] = out.storage.size();
  const std::u16string_view all(out.storage);
  for (int s = 0; s < count; ++s) {
    const size_t begin = bounds[static_cast<size_t>(s)];
    const size_t end = bounds[static_cast<size_t>(s) + 1];
    out.section[static_cast<size_t>(s)] = all.substr(begin, end - begin);
  }
  out.count = count;
  return out;
}

bool EnclosesDigitsInParentheses(std::u16string_view section) {
  bool open = false, digits = false;
  for (size_t i = 0; i < section.size(); ++i) {
    const char16_t c = section[i];
    if (c == u'\\') {
      ++i;
    } else if (c == u'(') {
      open = true;
    } else if (open && IsDigitPlaceholder(c)) {
      digits = true;
    } else if (digits && c == u')') {
      return true;
    }
  }
  return false;
}

bool HasPercent(std::u16string_view mask) {
  for (size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == u'\\') {
      ++i;
    } else if (mask[i] == u'%') {
      if (i + 1 < mask.size() && mask[i + 1] == u'%')
        ++i;
      else
        return true;
    }
  }
  return false;
}

uint32_t ReadHexadecimal(std::u16string_view text) {
  uint32_t value = 0;
  for (size_t i = 0; i < text.size() && i < 8; ++i) {
    const char16_t c = Lower(text[i]);
    uint32_t digit;
    if (c >= u'0' && c <= u'9')
      digit = c - u'0';
    else if (c >= u'a' && c <= u'f')
      digit = c - u'a' + 10;
    else
      break;
    value = value * 16 + digit;
  }
  return value;
}

uint32_t ColourOfTag(std::u16string_view name) {
  if (name == u"transparent") return 0xFFFFFFFFu;
  if (!name.empty() && name[0] == u'#') {
    const uint32_t rgb = ReadHexadecimal(name.substr(1));
    // Written red first; stored with red in the low byte.
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  }
  for (const NamedColour& c : kColours)
    if (SameWithoutCase(name, c.french) || SameWithoutCase(name, c.english)) return c.value;
  return 0xFBADC0DEu;
}

}  // namespace tq
