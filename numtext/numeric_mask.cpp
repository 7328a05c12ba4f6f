// Building a NumericMask, applying regional settings to it, and formatting through it.
#include "numtext/numeric_mask.h"

#include <charconv>

#include "numtext/disk_size.h"
#include "numtext/number_settings.h"
#include "numtext/numeric_mask_format.h"
#include "numtext/numeric_mask_system.h"

namespace tq {
namespace {

// The marker of a no-break thousands separator; the text shows it as U+00A0.
constexpr char16_t kNoBreakMarker = 0xFFA0;

double ReadReal(std::u16string_view text) {
  char narrow[64];
  size_t n = 0;
  for (char16_t c : text) {
    if (n + 1 >= sizeof narrow) break;
    narrow[n++] = c < 0x80 ? static_cast<char>(c) : '?';
  }
  double value = 0;
  const char* begin = narrow;
  if (n > 0 && narrow[0] == '+') ++begin;
  std::from_chars(begin, narrow + n, value);
  return value;
}

}  // namespace

NumericMask::NumericMask(std::u16string_view maskOrKeyword) {
  const DeviceNumberValues& device = DeviceNumbers();
  thousands_ = device.thousands;
  decimal_ = device.decimal;
  symbol_ = device.symbol;
  if (maskOrKeyword == u"MoneySystemMask") {
    mode_ = maskmode::kSystemKeyword;
    money_ = true;
    mask_ = SystemMask(RegionalSettings(), true, false);
  } else if (maskOrKeyword == u"MoneySystemMask$") {
    mode_ = maskmode::kSystemKeyword | maskmode::kWithSymbol;
    money_ = true;
    mask_ = SystemMask(RegionalSettings(), true, true);
  } else if (maskOrKeyword == u"NumSystemMask") {
    mode_ = maskmode::kSystemKeyword;
    mask_ = SystemMask(RegionalSettings(), false, false);
  } else {
    mask_ = maskOrKeyword;
    diskSize_ = maskOrKeyword == kDiskSizeKeyword;
  }
}

void NumericMask::FixSeparators(char16_t thousands, char16_t decimal) {
  thousands_ = thousands;
  decimal_ = decimal;
  mode_ |= maskmode::kFixedSeparators;
}

void NumericMask::ApplyRegionalSettings(RegionalSettings settings, int flags) {
  settings_ = std::move(settings);
  const RegionalSettings& r = settings_;
  const bool fixed = (mode_ & maskmode::kFixedSeparators) != 0;
  const bool keepSymbol = (flags & maskflag::kKeepSymbol) != 0;
  bool currencyBranch = money_;
  if (const NumberFormatRecord* number = NumberFormat(r)) {
    const DeviceNumberValues& device = DeviceNumbers();
    currencyBranch = flags != 0 || mask_.find(u'$') != std::u16string::npos;
    if (!currencyBranch) {
      if (!NumberFollowsSystem(r)) {
        char16_t thousands = FirstChar(number->thousandsSeparator);
        if (thousands == u' ' && ThousandsIsNoBreakSpace(r)) thousands = kNoBreakMarker;
        const char16_t decimal = FirstChar(number->decimalSeparator);
        if (!fixed) {
          thousands_ = thousands;
          if (decimal != 0) decimal_ = decimal;
        }
      } else if (!fixed) {
        thousands_ = device.thousands;
        decimal_ = device.decimal;
      }
    } else {
      const CurrencyFormatRecord* currency = CurrencyFormat(r);
      if (currency != nullptr && !CurrencyFollowsSystem(r)) {
        if (!fixed) {
          thousands_ = FirstChar(currency->thousandsSeparator);
          const char16_t decimal = FirstChar(currency->decimalSeparator);
          if (decimal != 0) decimal_ = decimal;
        }
        if (!keepSymbol) symbol_ = RecordText(currency->symbol);
      } else {
        if (!fixed) {
          thousands_ = device.thousands;
          decimal_ = device.decimal;
        }
        if (!keepSymbol) symbol_ = device.symbol;
      }
    }
  }
  if (mode_ & maskmode::kSystemKeyword) {
    const bool withSymbol = (mode_ & maskmode::kWithSymbol) != 0 || keepSymbol;
    mask_ = SystemMask(r, currencyBranch, withSymbol);
  }
  if (thousands_ == 0) thousands_ = u' ';
}

std::u16string NumericMask::Format(std::u16string_view number) const {
  if (!number.empty() && number[0] == u'+') number.remove_prefix(1);
  if (diskSize_) {
    if (number == kOverflowMarker) return std::u16string(number);
    return FormatDiskSize(ReadReal(number), 0, decimal_, settings_);
  }
  MaskDisplay display;
  display.thousands = thousands_ == kNoBreakMarker ? char16_t{0x00A0} : thousands_;
  display.decimal = decimal_;
  display.symbol = symbol_;
  return ApplyNumericMask(mask_, number, display);
}

bool NumericMask::NeedsSign() const { return MaskNeedsSign(mask_); }

std::u16string NumericMask::InputMask() const {
  if (diskSize_) return u"99 999 999 999 999 999";
  return InputMaskOf(mask_);
}

}  // namespace tq
