// NumericMask: one formatting of numbers through a display mask or a mask keyword, with the
// display separators and currency symbol it writes. It lives for one call and holds the call's
// RegionalSettings reference, released with it.
//
// Invariants: the display separators and symbol start as the device's; applying regional
// settings replaces them unless the caller fixed the separators; a system keyword's mask is
// rebuilt whenever settings are applied.
#pragma once

#include <string>
#include <string_view>

#include "datetime/date_mask_settings.h"

namespace tq {

namespace maskmode {
inline constexpr int kSystemKeyword = 0x1;
inline constexpr int kWithSymbol = 0x2;
inline constexpr int kFixedSeparators = 0x4;
}  // namespace maskmode

namespace maskflag {
inline constexpr int kKeepSymbol = 0x1;      // the currency symbol is kept
inline constexpr int kCurrencyBranch = 0x2;  // separators come from the currency format
}  // namespace maskflag

inline constexpr std::u16string_view kDiskSizeKeyword = u"DiskSize";

class NumericMask {
 public:
  explicit NumericMask(std::u16string_view maskOrKeyword);

  bool IsEmpty() const { return mask_.empty(); }
  std::u16string_view text() const { return mask_; }
  int mode() const { return mode_; }
  char16_t thousandsSeparator() const { return thousands_; }
  char16_t decimalSeparator() const { return decimal_; }
  std::u16string_view currencySymbol() const { return symbol_; }
  const RegionalSettings& settings() const { return settings_; }

  // Takes the call's settings (flags: maskflag bits).
  void ApplyRegionalSettings(RegionalSettings settings, int flags);
  // Separators chosen by the caller; regional and device values never replace them.
  void FixSeparators(char16_t thousands, char16_t decimal);

  // Formats a plain decimal number text; one leading '+' is skipped.
  std::u16string Format(std::u16string_view number) const;
  bool NeedsSign() const;
  std::u16string InputMask() const;

 private:
  RegionalSettings settings_;
  std::u16string mask_;
  std::u16string symbol_;
  char16_t thousands_;
  char16_t decimal_;
  int mode_ = 0;
  bool money_ = false;
  bool diskSize_ = false;
};

}  // namespace tq
