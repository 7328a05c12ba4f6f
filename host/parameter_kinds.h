// Which parameters accept which arguments, and the value a parameter receives.
//
// A parameter's kind follows from its type code: the base type in the low byte, the
// by-reference bit 0x4000 (a value the function writes back), and the variable-reference codes
// 80 and 0x8050 that take any argument. Prefixed arguments are accepted only by parameters of
// their kind; plain words by any parameter they read as (see the contract of tq240). Extra
// arguments of an open-ended overload take any form.
#pragma once

#include <cstdint>

#include "host/arguments.h"

namespace tqhost {

enum class ParamClass {
  kText, kAnsiText, kInteger, kInteger64, kReal, kBoolean, kCurrency, kDynamic, kReference,
  kArray, kDate, kTime, kDateTime, kDuration, kProcedure, kControl, kWord
};

ParamClass ClassOf(uint32_t code);

// Whether `code` carries the by-reference bit: &NAME fills it with a variable of its base type.
inline bool IsWrittenBack(uint32_t code) { return (code & 0x4000) != 0 && (code & 0xffff) != 0x8050; }

// Whether a declared parameter of type `code` accepts `argument`.
bool Accepts(uint32_t code, const Argument& argument);

// The value a declared parameter of type `code` receives from `argument`: plain words are read
// as the parameter's kind (a dynamic parameter reads an integer, else a real, else text; a
// variable reference takes them as text), texts on 8-bit text parameters become code page 1252.
HostValue ValueForParameter(uint32_t code, const Argument& argument);

// The value an extra argument of an open-ended overload carries (GetArgument's value).
HostValue ValueOfExtraArgument(const Argument& argument);

}  // namespace tqhost
