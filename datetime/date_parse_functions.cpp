// StringToDate and StringToTime.
#include "datetime/date_parse_functions.h"

#include "datetime/date_mask.h"
#include "datetime/date_mask_compiled.h"
#include "datetime/date_parse.h"
#include "datetime/rfc3339.h"
#include "datetime/system_masks.h"

namespace tq {
namespace {

// The layout StringToDate writes a date-time in.
constexpr std::u16string_view kParsedDateTimeFormat = u"AAAAMMJJHHmmSSCCC";

}  // namespace

std::u16string RewriteParseMask(std::u16string_view mask, bool holdsTime) {
  RewrittenText m(mask);
  if (!m.Contains(u"Jjj")) m.Replace(u"jj", u"JJ");
  m.Replace(u"dd", u"DD");
  if (!m.Contains(u"Mm")) {
    m.Replace(u"mmmm", u"MMMM");
    m.Replace(u"mmm", u"MMM");
    if (!holdsTime) m.Replace(u"mm", u"MM");
  }
  m.Replace(u"aa", u"AA");
  m.Replace(u"aaaa", u"AAAA");
  m.Replace(u"yyyy", u"YYYY");
  m.Replace(u"yy", u"YY");
  return std::u16string(m.view());
}

std::u16string StringToDate(std::u16string_view text, std::optional<std::u16string_view> mask,
                            RegionalSettings settings) {
  std::u16string out;
  StringToDate(text, mask, std::move(settings), out);
  return out;
}

void StringToDate(std::u16string_view text, const std::optional<std::u16string_view>& mask,
                  RegionalSettings settings, std::u16string& out) {
  // Every way out writes `out` whole (a text reused from the last call keeps its storage).
  if (text.empty()) {
    out.clear();
    return;
  }
  const std::u16string_view given = mask.value_or(kDefaultDateParseMask);
  if (given == kUseDateRfc3339Utc || given == kUseDateRfc3339) {
    out = Rfc3339ToDateText(text, given == kUseDateRfc3339Utc).value_or(std::u16string());
    return;
  }
  // The rewrite is kept, compiled, with the compiled form of the given mask, which outlives
  // the object (parsing compiles no other mask).
  const CompiledMask& compiled = CompileMask(given, TokenRange::kDate);
  if (!compiled.parseRewrite) {
    const bool holdsTime = given.find(u'H') != std::u16string_view::npos;
    compiled.parseRewrite = CompileUncached(RewriteParseMask(given, holdsTime),
                                            holdsTime ? TokenRange::kDateTime : TokenRange::kDate);
  }
  const CompiledMask& rewrite = *compiled.parseRewrite;
  const bool holdsTime = rewrite.range == TokenRange::kDateTime;
  constexpr uint32_t kFlags = kParseStrict | kParsePivotYears;
  // A mask of fixed fields is read without a mask object (a special mask name has no fields:
  // it stands for a mask that the object resolves).
  if (!IsSpecialMaskName(rewrite.text) &&
      ParseFixedLayoutToText(text, rewrite, holdsTime, kFlags, out))
    return;
  DateMask object(
      rewrite.text, true,
      holdsTime ? std::optional<std::u16string_view>(kParsedDateTimeFormat) : std::nullopt);
  object.AttachSettings(std::move(settings));
  // A special mask name stands for another mask, which the object has resolved.
  if (IsSpecialMaskName(rewrite.text)) {
    out = ParseToText(object, text, kFlags);
    return;
  }
  ParseToText(object, text, rewrite, kFlags, out);
}

std::u16string StringToTime(std::u16string_view text, std::optional<std::u16string_view> mask,
                            RegionalSettings settings) {
  if (text.empty()) return std::u16string();
  DateMask object(mask.value_or(kDefaultTimeParseMask), false, u"HHMMSSCC");
  object.AttachSettings(std::move(settings));
  return ParseToText(object, text, 0);
}

}  // namespace tq
