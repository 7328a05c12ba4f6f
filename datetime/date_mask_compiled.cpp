// The per-thread cache of tokenized masks.
#include "datetime/date_mask_compiled.h"

#include <array>
#include <cstring>
#include <memory>

#include "frame/thread_object.h"

namespace tq {
namespace {

constexpr size_t kCacheSize = 16;

struct MaskCache {
  std::array<std::unique_ptr<CompiledMask>, kCacheSize> entries;
  // Circular, from the least recently used (replaced next) to the newest just before it.
  size_t next = 0;
};

// The part a fixed-width number field fills, and the scale of its value; null for any other
// token.
uint16_t DateParts::*FixedWidthPart(int code, uint8_t& scale) {
  scale = 1;
  switch (code) {
    case token::kDay2: return &DateParts::day;
    case token::kMonth2: return &DateParts::month;
    case token::kYear4: return &DateParts::year;
    case token::kHour2: return &DateParts::hour;
    case token::kMinute2: return &DateParts::minute;
    case token::kSecond2: return &DateParts::second;
    case token::kCentisecond2: scale = 10; return &DateParts::millisecond;
    case token::kMillisecond3: return &DateParts::millisecond;
    default: return nullptr;
  }
}

bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The fixed places of the fields, when the mask has them (the parser's reading: a literal
// token takes one input character, a number field its width class).
void PlanFixedLayout(CompiledMask& out) {
  out.fixedFields.clear();
  out.fixedLetters.clear();
  out.fixedLayout = !out.twelveHour;
  size_t offset = 0;
  for (const CompiledToken& t : out.tokens) {
    if (!out.fixedLayout || offset > UINT16_MAX - 8) break;
    if (t.code == token::kLiteral) {
      if (IsAsciiLetter(out.text[t.start]))
        out.fixedLetters.push_back({static_cast<uint16_t>(offset), out.text[t.start]});
      offset += 1;
    } else if (uint8_t scale; FixedWidthPart(t.code, scale) != nullptr && t.widthClass >= 2 &&
                                t.widthClass <= 4) {
      out.fixedFields.push_back({static_cast<uint16_t>(offset),
                                 static_cast<uint8_t>(t.widthClass), scale,
                                 FixedWidthPart(t.code, scale)});
      offset += static_cast<size_t>(t.widthClass);
    } else {
      out.fixedLayout = false;
    }
  }
  if (offset > UINT16_MAX - 8) out.fixedLayout = false;
  out.fixedLength = out.fixedLayout ? static_cast<uint16_t>(offset) : 0;
  if (!out.fixedLayout) {
    out.fixedFields.clear();
    out.fixedLetters.clear();
  }
}

// `source` may lie inside `out` (a rewrite kept there): it is copied before anything else.
void Compile(std::u16string_view source, TokenRange range, CompiledMask& out) {
  std::u16string text(source);
  out.text.swap(text);
  const std::u16string_view mask = out.text;
  out.range = range;
  out.tokens.clear();
  out.twelveHour = HasAmPmMarker(mask);
  out.storedMonthName = out.dayToken = out.styledDayName = out.styledMonthName = false;
  out.dayOfWeekToken = false;
  out.numericOnly = true;
  out.lenient.reset();
  out.parseRewrite.reset();
  out.tokens.reserve(mask.size());
  size_t position = 0;
  for (;;) {
    const size_t start = position;
    const MaskToken t = NextMaskToken(mask, position, range);
    if (t.code == token::kEnd) break;
    const int c = t.code;
    const bool numeric = c == 2 || c == 3 || c == 13 || c == 14 || (c >= 23 && c <= 30);
    const bool name = (c >= 5 && c <= 12) || (c >= 15 && c <= 22);
    out.tokens.push_back({c, t.widthClass, static_cast<uint32_t>(start),
                          static_cast<uint32_t>(position), numeric, name});
    out.storedMonthName |= c == 15 || c == 19;
    out.dayToken |= c == 2 || c == 3 || (c >= 5 && c <= 12);
    out.dayOfWeekToken |= c >= 4 && c <= 12;
    out.styledDayName |= (c >= 6 && c <= 8) || (c >= 10 && c <= 12);
    out.styledMonthName |= (c >= 16 && c <= 18) || (c >= 20 && c <= 22);
    out.numericOnly &= c == token::kLiteral || numeric;
  }
  PlanFixedLayout(out);
}

bool Holds(const CompiledMask& entry, std::u16string_view mask, TokenRange range) {
  return entry.range == range && entry.text.size() == mask.size() &&
         std::memcmp(entry.text.data(), mask.data(), mask.size() * sizeof(char16_t)) == 0;
}

}  // namespace

std::unique_ptr<const CompiledMask> CompileUncached(std::u16string_view mask, TokenRange range) {
  auto compiled = std::make_unique<CompiledMask>();
  Compile(mask, range, *compiled);
  return compiled;
}

const CompiledMask& CompileMask(std::u16string_view mask, TokenRange range) {
  MaskCache& cache = ThreadObject<MaskCache>();
  const size_t newest = (cache.next + kCacheSize - 1) % kCacheSize;
  // A loop of calls asks for the same mask again and again: the newest entry is tried first.
  if (cache.entries[newest] && Holds(*cache.entries[newest], mask, range))
    return *cache.entries[newest];
  for (size_t i = 0; i < kCacheSize; ++i) {
    const std::unique_ptr<CompiledMask>& entry = cache.entries[i];
    if (entry && Holds(*entry, mask, range)) {
      // Least recently used first: the entries after this one move up a place and this one
      // becomes the newest (only the pointers move, never the compiled masks).
      for (size_t j = i; j != newest; j = (j + 1) % kCacheSize)
        std::swap(cache.entries[j], cache.entries[(j + 1) % kCacheSize]);
      return *cache.entries[newest];
    }
  }
  std::unique_ptr<CompiledMask>& slot = cache.entries[cache.next];
  cache.next = (cache.next + 1) % kCacheSize;
  if (!slot) slot = std::make_unique<CompiledMask>();
  Compile(mask, range, *slot);
  return *slot;
}

}  // namespace tq
