// GeneratePassword: a random password, pronounceable (syllables from fixed tables with a short
// run of digits) or drawn from the caller's character set, from the runtime library's
// pseudo-random generator.
//
// Invariants: the generator is seeded from the tick count at the first call of the library
// instance and never again; every result has exactly the asked length (or is empty).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

inline constexpr char16_t kPasswordVowels[] = u"aeiouyAEUY";
inline constexpr char16_t kPasswordConsonants[] = u"bBcCdDfFgGhHjJkKLmMnNpPqQrRsStTvVwWxXzZ";

enum class PasswordStatus { kOk, kNegativeLength, kOutOfMemory };

struct Password {
  PasswordStatus status = PasswordStatus::kOk;
  std::u16string text;
};

// An empty set asks for a pronounceable password.
Password GeneratePassword(int32_t length, std::u16string_view characterSet);

}  // namespace tq
