// DateMask: the mask object of one formatting or parsing call. It holds the mask as the caller
// gave it, the display mask after the special masks ("UseSystemMask", the date-picker masks)
// are resolved, whether it describes a date or a time, the layout of the value it formats or
// produces (the input format), and the call's RegionalSettings once attached.
//
// Invariants: the display mask is resolved when the object is built and again when settings
// are attached to an object whose given mask is "UseSystemMask" (project masks then apply).
// The object lives for one call: the mask and input format texts given to it must outlive it
// (it keeps views of them; only a resolved or replaced display mask is copied).
// The object owns its settings reference and releases it when destroyed. The relative-duration
// mask derives from it and replaces the format operation, AttachSettings and the mask kind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "datetime/date_mask_settings.h"
#include "datetime/date_mask_tokens.h"

namespace tq {

inline constexpr std::u16string_view kDefaultDateInputFormat = u"AAAAMMJJ";
inline constexpr std::u16string_view kDefaultTimeInputFormat = u"HHMMSS";
inline constexpr int kRelativeDurationMaskKind = 74;

// Formatting flags.
inline constexpr uint32_t kFormatLenientLetters =
    8;  // rewrite lenient letters; "." after abbreviations

class DateMask {
 public:
  // `inputFormat` null: "AAAAMMJJ" in date mode, "HHMMSS" in time mode.
  DateMask(std::u16string_view mask, bool dateMode,
           std::optional<std::u16string_view> inputFormat = std::nullopt);
  DateMask(const DateMask&) = delete;
  DateMask& operator=(const DateMask&) = delete;
  virtual ~DateMask() = default;

  // Formats a value text with flags 0 (the relative-duration mask formats relatively). False
  // when the value cannot be read with the input format.
  virtual bool Format(std::u16string_view value, std::u16string& out);
  // Sets the year range from two texts, each a date text (its year counts) or a number.
  void SetYearRange(std::u16string_view first, std::u16string_view last);
  // 0 for a display mask, 74 for the relative-duration mask.
  virtual int Kind() const { return 0; }
  virtual void AttachSettings(RegionalSettings settings);
  std::u16string_view DisplayMask() const { return displayMask_; }

  const RegionalSettings& settings() const { return settings_; }
  bool dateMode() const { return dateMode_; }
  std::u16string_view inputFormat() const { return inputFormat_; }
  std::u16string_view givenMask() const { return givenMask_; }
  int minimumYear() const { return minimumYear_; }
  int maximumYear() const { return maximumYear_; }
  // The token range: every token for a date-time input format, else by mode.
  TokenRange tokenRange() const { return range_; }

  // The AM and PM texts: the project's when non-empty, else "AM" and "PM".
  std::u16string_view AmText() const;
  std::u16string_view PmText() const;

 protected:
  void SetDisplayMask(std::u16string_view mask) {
    displayStorage_.assign(mask);
    displayMask_ = displayStorage_;
  }
  // `format` must outlive the object (a literal in practice).
  void SetInputFormat(std::u16string_view format) {
    inputFormat_ = format;
    range_ = RangeFor(dateMode_, format);
  }
  void ResolveDisplayMask();

 private:
  RegionalSettings settings_;
  std::u16string displayStorage_;
  std::u16string_view displayMask_;
  bool dateMode_;
  int minimumYear_ = 1900;
  int maximumYear_ = 2999;
  std::u16string_view inputFormat_;
  std::u16string_view givenMask_;
  TokenRange range_;

  static TokenRange RangeFor(bool dateMode, std::u16string_view inputFormat);
};

}  // namespace tq
