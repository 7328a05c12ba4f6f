// Parameter kinds: acceptance of argument forms and the values parameters receive.
#include "host/parameter_kinds.h"

#include "host/vm_objects.h"

namespace tqhost {
namespace {

bool AllDigits(std::string_view s, size_t length) {
  if (s.size() != length) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

HostValue PlainAsDynamic(std::string_view word) {
  if (std::optional<int64_t> n = ReadInteger(word); n && *n >= INT32_MIN && *n <= INT32_MAX)
    return HostValue::Integer(static_cast<int32_t>(*n));
  if (std::optional<double> x = ReadReal(word)) return HostValue::Real(*x);
  return HostValue::Text(FromUtf8(word));
}

bool IsText(ValueKind k) { return k == ValueKind::kText || k == ValueKind::kNullText; }

bool PlainFits(ParamClass param, const std::string& w) {
  switch (param) {
    case ParamClass::kText:
    case ParamClass::kAnsiText:
    case ParamClass::kDynamic:
    case ParamClass::kReference:
      return true;
    case ParamClass::kInteger:
    case ParamClass::kWord: {
      std::optional<int64_t> n = ReadInteger(w);
      return n && *n >= INT32_MIN && *n <= INT32_MAX;
    }
    case ParamClass::kInteger64:
    case ParamClass::kDuration:
      return ReadInteger(w).has_value();
    case ParamClass::kReal:
      return ReadReal(w).has_value();
    case ParamClass::kBoolean:
      return ReadBoolean(w).has_value();
    case ParamClass::kCurrency:
      return ParseCurrency(w).has_value();
    case ParamClass::kDate:
      return AllDigits(w, 8);
    case ParamClass::kTime:
      return AllDigits(w, 9) || AllDigits(w, 6);
    case ParamClass::kDateTime:
      return AllDigits(w, 17) || AllDigits(w, 14);
    default:  // arrays, procedures and controls take only their own forms
      return false;
  }
}

bool TypedFits(ParamClass param, uint32_t code, ValueKind k) {
  switch (param) {
    case ParamClass::kReference:
      return true;
    case ParamClass::kDynamic:
      return k != ValueKind::kArray && k != ValueKind::kProcedure && k != ValueKind::kControl;
    case ParamClass::kText:
      // Buffer parameters (28) are VMStrings too; they take `x:` bytes as well as texts.
      return IsText(k) || (k == ValueKind::kBuffer && (code & 0xff) == 28);
    case ParamClass::kAnsiText:
      return IsText(k) || k == ValueKind::kAnsiText;
    case ParamClass::kInteger:
    case ParamClass::kWord:
      return k == ValueKind::kInteger;
    case ParamClass::kInteger64:
      return k == ValueKind::kInteger64;
    case ParamClass::kReal:
      return k == ValueKind::kReal;
    case ParamClass::kBoolean:
      return k == ValueKind::kBoolean;
    case ParamClass::kCurrency:
      return k == ValueKind::kCurrency;
    case ParamClass::kArray:
      return k == ValueKind::kArray;
    case ParamClass::kDate:
      return k == ValueKind::kDate;
    case ParamClass::kTime:
      return k == ValueKind::kTime;
    case ParamClass::kDateTime:
      return k == ValueKind::kDateTime;
    case ParamClass::kDuration:
      return k == ValueKind::kDuration || k == ValueKind::kInteger64 || k == ValueKind::kInteger;
    case ParamClass::kProcedure:
      return k == ValueKind::kProcedure;
    case ParamClass::kControl:
      return k == ValueKind::kControl;
  }
  return false;
}

}  // namespace

ParamClass ClassOf(uint32_t code) {
  if ((code & 0xffff) == 0x8050) return ParamClass::kReference;
  switch (code & 0xff) {
    case 122: case 127: case 131: case 16: case 28: case 121: case 126: case 130:
      return ParamClass::kText;
    case 19: return ParamClass::kAnsiText;
    case 1: return ParamClass::kBoolean;
    case 2: case 3: case 4: case 6: case 7: case 8: case 11: case 14: case 15:
      return ParamClass::kInteger;
    case 5: case 9: case 29: return ParamClass::kInteger64;
    case 12: return ParamClass::kReal;
    case 10: return ParamClass::kCurrency;
    case 31: return ParamClass::kDynamic;
    case 80: return ParamClass::kReference;
    case 140: return ParamClass::kArray;
    case 24: return ParamClass::kDate;
    case 25: return ParamClass::kTime;
    case 26: return ParamClass::kDateTime;
    case 27: case 132: return ParamClass::kDuration;
    case 57: return ParamClass::kControl;
    case 67: return ParamClass::kProcedure;
    default: return ParamClass::kWord;
  }
}

bool Accepts(uint32_t code, const Argument& a) {
  const ParamClass param = ClassOf(code);
  if (a.form == Argument::Form::kReference)
    return param == ParamClass::kReference || IsWrittenBack(code);
  if (a.form == Argument::Form::kPlain) return PlainFits(param, a.plain);
  return TypedFits(param, code, a.value.kind);
}

HostValue ValueForParameter(uint32_t code, const Argument& a) {
  const ParamClass param = ClassOf(code);
  if (a.form == Argument::Form::kReference && IsWrittenBack(code)) {
    // The variable takes the parameter's base type, from its kept value where it converts.
    const uint32_t base = code & 0xff;
    std::optional<HostValue> v = ConvertValue(a.value, base);
    if (v) return *v;
    std::optional<HostValue> zero = ConvertValue(HostValue::Integer(0), base);
    return zero ? *zero : a.value;
  }
  if (param == ParamClass::kAnsiText && IsText(a.value.kind) && a.form != Argument::Form::kPlain) {
    HostValue v;
    v.kind = ValueKind::kAnsiText;
    v.typeCode = 19;
    v.bytes = EncodeAnsi(a.value.text);
    return v;
  }
  if (param == ParamClass::kDuration && a.form == Argument::Form::kTyped &&
      a.value.kind != ValueKind::kDuration) {
    HostValue v = HostValue::Integer64(a.value.integer, 27);
    v.kind = ValueKind::kDuration;
    return v;
  }
  if (a.form != Argument::Form::kPlain) return a.value;
  const std::string& w = a.plain;
  switch (param) {
    case ParamClass::kText:
    case ParamClass::kReference:
      return HostValue::Text(FromUtf8(w), param == ParamClass::kReference ? 16 : 122);
    case ParamClass::kAnsiText: {
      HostValue v;
      v.kind = ValueKind::kAnsiText;
      v.typeCode = 19;
      v.bytes = EncodeAnsi(FromUtf8(w));
      return v;
    }
    case ParamClass::kInteger:
    case ParamClass::kWord:
      return HostValue::Integer(static_cast<int32_t>(*ReadInteger(w)));
    case ParamClass::kInteger64:
      return HostValue::Integer64(*ReadInteger(w));
    case ParamClass::kDuration: {
      HostValue v = HostValue::Integer64(*ReadInteger(w), 27);
      v.kind = ValueKind::kDuration;
      return v;
    }
    case ParamClass::kReal:
      return HostValue::Real(*ReadReal(w));
    case ParamClass::kBoolean:
      return HostValue::Boolean(*ReadBoolean(w));
    case ParamClass::kCurrency: {
      HostValue v;
      v.kind = ValueKind::kCurrency;
      v.typeCode = 10;
      v.integer = *ParseCurrency(w);
      return v;
    }
    case ParamClass::kDate:
    case ParamClass::kTime:
    case ParamClass::kDateTime: {
      HostValue v = HostValue::Text(FromUtf8(w));
      v.kind = param == ParamClass::kDate   ? ValueKind::kDate
               : param == ParamClass::kTime ? ValueKind::kTime
                                            : ValueKind::kDateTime;
      if (v.kind == ValueKind::kTime && v.text.size() == 6) v.text += u"000";
      if (v.kind == ValueKind::kDateTime && v.text.size() == 14) v.text += u"000";
      return v;
    }
    default:
      return PlainAsDynamic(w);
  }
}

HostValue ValueOfExtraArgument(const Argument& a) {
  return a.form == Argument::Form::kPlain ? PlainAsDynamic(a.plain) : a.value;
}

}  // namespace tqhost
