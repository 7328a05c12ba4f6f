// Our printf: the C conversions NumberToString uses ('f', 'e', 'E' for reals; 'd' for
// signed and 'x', 'X', 'o' for unsigned integers) with the '-', '+' and '0' flags and a
// width, written as UTF-16. The digits of reals come from the shortest exact conversion of the
// standard library (std::to_chars with a precision), so they are the correctly rounded digits
// that the C library prints too.
#pragma once

#include <cstdint>
#include <string>

namespace tq {

struct CConversion {
  bool left = false;  // '-'
  bool sign = false;  // '+'
  bool zero = false;  // '0'
  int width = 0;
  int precision = 6;
  char letter = 'f';  // f e E d x X o
};

void AppendReal(std::u16string& out, double value, const CConversion& c);
void AppendSigned(std::u16string& out, int64_t value, const CConversion& c);
void AppendUnsigned(std::u16string& out, uint64_t value, const CConversion& c);

}  // namespace tq
