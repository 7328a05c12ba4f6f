// The draw order of rand() is part of the behaviour (a given seed gives a given password), so
// each step draws exactly where the algorithm says and no more.
#include "numtext/password.h"

#include <atomic>
#include <new>

#include "frame/vm_string.h"
#include "platform/crt_random.h"
#include "platform/tick_count.h"

namespace tq {
namespace {

constexpr size_t kVowelCount = 10;
constexpr size_t kConsonantCount = 39;
constexpr const char16_t* kSyllables[] = {u"sl%", u"cl%", u"fl%", u"qu%", u"f%r", u"m%t",
                                          u"ph%", u"w%n", u"d%v", u"sp%", u"st%", u"dr%"};
constexpr size_t kSyllableCount = 12;

std::atomic<bool> gSeeded{false};

size_t Draw(size_t modulo) { return static_cast<size_t>(ce::rand()) % modulo; }

void SeedOnce() {
  if (!gSeeded.exchange(true)) ce::srand(ce::GetTickCount());
}

void AppendPronounceable(std::u16string& out, size_t length) {
  if (length == 1) {
    if (ce::rand() % 2 != 0)
      out += kPasswordVowels[Draw(kVowelCount)];
    else
      out += kPasswordConsonants[Draw(kConsonantCount)];
    return;
  }
  const size_t p = Draw(length);
  const size_t k = Draw(length / 2);
  const size_t runEnd = p + k % 5;  // digits at positions p < i < runEnd
  size_t i = 0;
  while (i < length) {
    if (i > p && i < runEnd) {
      out += static_cast<char16_t>(u'2' + Draw(8));
      ++i;
      continue;
    }
    const size_t remaining = length - i;
    if ((remaining == 3 || remaining > 4) && ce::rand() % 2 == 0) {
      const char16_t* pattern = kSyllables[Draw(kSyllableCount)];
      const char16_t vowel = kPasswordVowels[Draw(kVowelCount)];
      for (int c = 0; c < 3; ++c) out += pattern[c] == u'%' ? vowel : pattern[c];
      i += 3;
    } else {
      out += kPasswordConsonants[Draw(kConsonantCount)];
      out += kPasswordVowels[Draw(kVowelCount)];
      i += 2;
    }
  }
  out.resize(length);
}

}  // namespace

Password GeneratePassword(int32_t length, std::u16string_view characterSet) {
  Password result;
  if (length < 0) {
    result.status = PasswordStatus::kNegativeLength;
    return result;
  }
  if (length == 0) return result;
  SeedOnce();
  if (characterSet.size() == 1) return result;
  if (length > kVMStringMaxCharacters) {
    result.status = PasswordStatus::kOutOfMemory;
    return result;
  }
  try {
    const size_t n = static_cast<size_t>(length);
    result.text.reserve(n + 2);
    if (!characterSet.empty()) {
      for (size_t i = 0; i < n; ++i) result.text += characterSet[Draw(characterSet.size())];
    } else {
      AppendPronounceable(result.text, n);
    }
  } catch (const std::bad_alloc&) {
    result.text.clear();
    result.status = PasswordStatus::kOutOfMemory;
  }
  return result;
}

}  // namespace tq
