// The numeric mask walker. One pass over the chosen section writes the result; the number is
// consumed from the left, and the "excess" (mask places minus the number's integer digits)
// decides which leading placeholders stay silent ('9') or write padding zeros ('0').
#include "numtext/numeric_mask_format.h"

#include "numtext/numeric_mask_sections.h"

namespace tq {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsPlaceholder(char16_t c) { return c == u'0' || c == u'9'; }

// Digit places of the section before its first decimal placeholder.
int IntegerPlaces(std::u16string_view section) {
  int places = 0;
  for (size_t i = 0; i < section.size(); ++i) {
    const char16_t c = section[i];
    if (c == u'\\') {
      ++i;
    } else if (c == kDecimalPlaceholder) {
      break;
    } else if (IsPlaceholder(c)) {
      ++places;
    }
  }
  return places;
}

bool OnlySignTrail(std::u16string_view rest) {
  for (char16_t c : rest)
    if (c != u' ' && c != u')' && c != u'-' && c != u'+') return false;
  return true;
}

bool HasPlaceholder(std::u16string_view rest) {
  return rest.find_first_of(u"09") != std::u16string_view::npos;
}

std::u16string ZeroSection(std::u16string_view section, const MaskDisplay& display) {
  const size_t dollar = section.find(u'$');
  const bool symbol =
      dollar != std::u16string_view::npos && (dollar + 1 >= section.size() || section[dollar + 1] != u'$');
  std::u16string out;
  for (char16_t c : section) {
    if (c == u'$' && symbol)
      out += display.symbol;
    else if (c == kDecimalPlaceholder)
      out += display.decimal;
    else
      out += c;
  }
  return out;
}

class Walker {
 public:
  Walker(std::u16string_view section, std::u16string_view number, bool negative,
         bool sectioned, bool parenthesised, const MaskDisplay& display)
      : mask_(section), n_(number), negative_(negative), sectioned_(sectioned),
        parenthesised_(parenthesised), display_(display) {
    const size_t point = number.find(u'.');
    int digits = 0;
    for (size_t i = 0; i < number.size() && i < point; ++i) digits += IsDigit(number[i]);
    excess_ = IntegerPlaces(section) - digits;
    hasFraction_ = false;
    if (point != std::u16string_view::npos)
      for (size_t i = point + 1; i < number.size(); ++i) hasFraction_ |= IsDigit(number[i]);
  }

  bool Overflows() const { return excess_ < 0; }

  std::u16string Run() {
    out_.reserve(mask_.size() + 8);
    for (i_ = 0; i_ < mask_.size(); ++i_) Step(mask_[i_]);
    if (negative_ && !signWritten_) out_.insert(out_.begin(), u'-');
    return std::move(out_);
  }

 private:
  bool Next(char16_t c) const { return i_ + 1 < mask_.size() && mask_[i_ + 1] == c; }
  std::u16string_view Rest() const { return mask_.substr(i_ + 1); }
  bool NumberLeft() const { return pos_ < n_.size(); }

  void Step(char16_t c) {
    switch (c) {
      case u'\\':
        if (i_ + 1 < mask_.size()) out_ += mask_[++i_];
        return;
      case u'9':
        digitSeen_ = true;
        if (NumberLeft()) {
          if (excess_ > 0) {
            --excess_;
          } else {
            Write(n_[pos_++]);
          }
        } else if (!fractionSuppressed_) {
          Write(u'0');
        }
        return;
      case u'0':
        digitSeen_ = true;
        if (excess_ > 0) {
          --excess_;
          Write(u'0');
        } else if (NumberLeft()) {
          Write(n_[pos_++]);
        }
        return;
      case kDecimalPlaceholder:
        if (Next(u'0') && !hasFraction_) {
          fractionSuppressed_ = true;
        } else if (display_.decimal != 0) {
          out_ += display_.decimal;
        }
        if (NumberLeft() && n_[pos_] == u'.') ++pos_;
        return;
      case kGroupPlaceholder:
      case u'.':
        if (digitSeen_) {
          Group(c);
        } else {
          out_ += c;
        }
        return;
      case u'+':
        Sign(c);
        return;
      case u'-':
        if (Next(u'-')) {
          ++i_;
          out_ += u'-';
        } else {
          Sign(c);
        }
        return;
      case u'$':
        if (Next(u'$')) {
          ++i_;
          out_ += u'$';
        } else {
          out_ += display_.symbol;
        }
        return;
      case u'%':
        if (Next(u'%')) ++i_;
        out_ += u'%';
        return;
      case u'(':
      case u')':
        if (!parenthesised_) {
          out_ += c;
        } else if (negative_) {
          out_ += c;
          signWritten_ = true;
        }
        return;
      default:
        out_ += c;
    }
  }

  void Write(char16_t c) {
    out_ += c;
    digitWritten_ = true;
  }

  void Group(char16_t c) {
    const std::u16string_view rest = Rest();
    if (OnlySignTrail(rest)) {
      if (negative_) out_ += c;
    } else if (c == u'.' && !HasPlaceholder(rest)) {
      out_ += c;
    } else if (digitWritten_) {
      out_ += rest.find(u'9') != std::u16string_view::npos ? display_.thousands : u' ';
    }
  }

  void Sign(char16_t c) {
    if (sectioned_ && c == u'+') {
      out_ += u'+';
    } else if (negative_) {
      out_ += u'-';
      signWritten_ = true;
    }
  }

  std::u16string_view mask_, n_;
  bool negative_, sectioned_, parenthesised_;
  const MaskDisplay& display_;
  std::u16string out_;
  size_t i_ = 0, pos_ = 0;
  int excess_ = 0;
  bool hasFraction_ = false, fractionSuppressed_ = false;
  bool digitSeen_ = false, digitWritten_ = false, signWritten_ = false;
};

bool IsZeroText(std::u16string_view n) { return n.empty() || n == u"0" || n == u"0."; }

}  // namespace

std::u16string TimesHundred(std::u16string_view number) {
  std::u16string sign, digits;
  size_t i = 0;
  if (i < number.size() && number[i] == u'-') sign = number.substr(i++, 1);
  std::u16string_view body = number.substr(i);
  const size_t point = body.find(u'.');
  std::u16string whole(body.substr(0, point));
  std::u16string fraction(point == std::u16string_view::npos ? u"" : body.substr(point + 1));
  while (fraction.size() < 2) fraction += u'0';
  whole += fraction.substr(0, 2);
  fraction.erase(0, 2);
  size_t zeros = 0;
  while (zeros + 1 < whole.size() && whole[zeros] == u'0') ++zeros;
  whole.erase(0, zeros);
  return sign + whole + (fraction.empty() ? u"" : u"." + fraction);
}

std::u16string ApplyNumericMask(std::u16string_view mask, std::u16string_view number,
                                const MaskDisplay& display) {
  if (number == kOverflowMarker) return std::u16string(number);
  const MaskSections sections = SplitSections(mask);
  if (IsZeroText(number) && sections.hasSemicolon && sections.count >= 3)
    return ZeroSection(sections.section[2], display);
  std::u16string scaled;
  if (HasPercent(mask)) {
    scaled = TimesHundred(number);
    number = scaled;
  }
  const std::u16string_view negativeSection = sections.Choose(1);
  const bool parenthesised = EnclosesDigitsInParentheses(negativeSection);
  bool negative = false;
  std::u16string_view n = number.empty() ? std::u16string_view(u"0") : number;
  if (!n.empty() && n[0] == u'-') {
    negative = true;
    n.remove_prefix(1);
  } else if (parenthesised && n.size() >= 2 && n.front() == u'(' && n.back() == u')') {
    negative = true;
    n = n.substr(1, n.size() - 2);
  }
  const std::u16string_view section =
      IsZeroText(number) ? sections.Choose(2) : negative ? negativeSection : sections.section[0];
  if (section.empty()) return std::u16string(number);
  Walker walker(section, n, negative, sections.hasSemicolon, parenthesised, display);
  if (walker.Overflows()) return std::u16string(kOverflowMarker);
  return walker.Run();
}

bool MaskNeedsSign(std::u16string_view mask) {
  const MaskSections sections = SplitSections(mask);
  return HasPercent(mask) || sections.hasSemicolon ||
         EnclosesDigitsInParentheses(sections.Choose(1)) ||
         mask.find(u'-') != std::u16string_view::npos;
}

std::u16string InputMaskOf(std::u16string_view mask) {
  const MaskSections sections = SplitSections(mask);
  const std::u16string_view negative = sections.Choose(1);
  std::u16string out;
  for (size_t i = 0; i < negative.size(); ++i) {
    const char16_t c = negative[i];
    if (c == u'\\' && i + 1 < negative.size()) {
      out += c;
      out += negative[++i];
    } else if (c == u'%') {
      if (i + 1 < negative.size() && negative[i + 1] == u'%') out += negative.substr(i++, 2);
    } else {
      out += c;
    }
  }
  const bool signed_ = EnclosesDigitsInParentheses(negative) ||
                       negative.find_first_of(u"-+") != std::u16string_view::npos;
  if (signed_) {
    std::u16string kept = u"+";
    for (char16_t c : out)
      if (c != u'(' && c != u')' && c != u'-' && c != u'+') kept += c;
    out = std::move(kept);
  }
  const size_t b = out.find_first_not_of(u" \t\r\n");
  if (b == std::u16string::npos) return std::u16string();
  const size_t e = out.find_last_not_of(u" \t\r\n");
  return out.substr(b, e - b + 1);
}

}  // namespace tq
