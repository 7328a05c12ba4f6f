// The value utilities executed by the library: random numbers from the runtime library's
// generator, parity, and the extremum of a list of texts or numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tq {

struct ComponentProxy;

// Random: a real from 0 to 1; an integer from 1 to n (error 80260 when n < 1, result 0); an
// integer between low and high (error 80210 when low > high, result 0).
double RandomUnit();
int32_t RandomUpTo(ComponentProxy* proxy, int32_t n);
int32_t RandomBetweenBounds(ComponentProxy* proxy, int32_t low, int32_t high);

// InitRandom: seeded from the tick count (after it changes), or from `seed` with one draw
// discarded.
void InitRandomFromClock();
void InitRandomWithSeed(int32_t seed);

inline bool IsEven(int32_t n) { return n % 2 == 0; }
inline bool IsOdd(int32_t n) { return !IsEven(n); }

// The extremum rule: a candidate replaces the current value only when strictly greater
// (maximum) or strictly smaller (minimum), so the earlier of equal values stays.
enum class Extremum { kMax, kMin };
inline bool Replaces(Extremum which, int comparison) {
  return which == Extremum::kMax ? comparison > 0 : comparison < 0;
}

// Text comparison as the list functions use it: the device's user-default locale, no flags;
// -1, 0 or 1.
int CompareListTexts(std::u16string_view a, std::u16string_view b);

}  // namespace tq
