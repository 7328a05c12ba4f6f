// Conversion to code page 1252 goes through a stack buffer for texts under 1024 bytes, which
// covers the lines and fields that loops match, and through the heap above.
#include "numtext/regex_matcher.h"

#include <array>

#include "platform/code_page_1252.h"

namespace tq {
namespace {

constexpr size_t kStackText = 1024;

char NarrowUnit(char16_t unit) {
  if (unit < 0x80) return static_cast<char>(unit);
  return static_cast<char>(ce::EncodeCp1252(unit).value_or('?'));
}

// Calls `use` with the 1252 form of `text`.
template <typename Use>
auto WithNarrowText(std::u16string_view text, Use use) {
  if (text.size() < kStackText) {
    std::array<char, kStackText> local;
    for (size_t i = 0; i < text.size(); ++i) local[i] = NarrowUnit(text[i]);
    return use(std::string_view(local.data(), text.size()));
  }
  return use(std::string_view(NarrowTo1252(text)));
}

}  // namespace

std::string NarrowTo1252(std::u16string_view text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = NarrowUnit(text[i]);
  return out;
}

int RegexMatcher::Compile(std::u16string_view pattern, bool backslashEscapesInLists) {
  const unsigned long syntax = backslashEscapesInLists ? kRegexSyntaxEscapesInLists : kRegexSyntax;
  pattern_ = WithNarrowText(pattern, [syntax](std::string_view bytes) {
    return AcquirePattern(bytes, syntax);
  });
  engineError_ = pattern_->error();
  registers_ = MatchRegisters{};
  return pattern_->ok() ? 0 : -1;
}

bool RegexMatcher::MatchWhole(std::u16string_view text) {
  registers_ = MatchRegisters{};
  if (!compiled()) return false;
  registers_ = WithNarrowText(text, [this](std::string_view bytes) {
    return MatchAtStart(*pattern_, bytes);
  });
  return registers_.length >= 0 && static_cast<size_t>(registers_.length) == text.size();
}

std::optional<std::pair<size_t, size_t>> RegexMatcher::group(size_t i) const {
  if (i >= registers_.starts.size() || registers_.starts[i] < 0 || registers_.ends[i] < 0)
    return std::nullopt;
  return std::make_pair(static_cast<size_t>(registers_.starts[i]),
                        static_cast<size_t>(registers_.ends[i]));
}

}  // namespace tq
