// Implementation entries of the value utilities: Random, InitRandom, IsEven, IsOdd, ListMax,
// ListMin and NullResult.
#include <string>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/error_state.h"
#include "frame/raise_error.h"
#include "frame/text.h"
#include "frame/vm_array.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "numtext/value_utilities.h"

namespace tq::entries {
namespace {

int32_t SetDynamicResult(CallContext* c, DynamicValue& value) {
  value.typeWord &= static_cast<uint16_t>(~kValueFlagsKept);
  SetResult(c, &value, typecode::kDynamic);
  return 0;
}

// The text of a value fetched with GetArgument: texts as they are, anything else converted by
// the VM.
std::u16string TextOfArgument(DynamicValue& value) {
  const uint8_t t = value.type();
  if (t != 28 && t != 24 && t != 25) Convert(value, 28);
  return std::u16string(TextOf(value));
}

double RealOfArgument(DynamicValue& value) {
  const uint8_t t = value.type();
  if (t >= 2 && t <= 15 && t != 13 && t != 10) return RealOf(value);
  if (Convert(value, 12) >= 100) return 0;
  return RealOf(value);
}

bool IsNumericElement(uint8_t t) { return t >= 2 && t <= 15 && t != 10 && t != 13; }
bool IsTextElement(uint8_t t) { return t == 28 || t == 24 || t == 25 || t == 16; }

template <Extremum Which>
int32_t ListOfTexts(CallContext* c, ComponentProxy* p, void** args) {
  std::u16string current(TextArgument(args, 0) ? TextArgument(args, 0) : u"");
  const uint32_t count = ArgumentCount(*c);
  for (uint32_t i = 2; i <= count; ++i) {
    DynamicValue value;
    GetArgument(c, static_cast<int32_t>(i), &value, ErrorStateOf(p));
    std::u16string candidate = TextOfArgument(value);
    if (Replaces(Which, CompareListTexts(candidate, current))) current = std::move(candidate);
  }
  LocalString result;
  result.assign(current);
  SetResult(c, result.address(), typecode::kText);
  return 0;
}

template <Extremum Which>
int32_t ListOfNumbers(CallContext* c, ComponentProxy* p, void** args) {
  double current = RealArgument(args, 0);
  const uint32_t count = ArgumentCount(*c);
  for (uint32_t i = 2; i <= count; ++i) {
    DynamicValue value;
    GetArgument(c, static_cast<int32_t>(i), &value, ErrorStateOf(p));
    const double candidate = RealOfArgument(value);
    if (Replaces(Which, candidate < current ? -1 : candidate > current ? 1 : 0)) current = candidate;
  }
  SetResult(c, &current, typecode::kReal);
  return 0;
}

template <Extremum Which>
int32_t ListOfArray(CallContext* c, ComponentProxy* p, void** args) {
  VMObject* array = ArrayArgument(args, 0);
  DynamicValue best;
  bool haveBest = false;
  const int32_t n = array != nullptr ? ElementCount(array) : 0;
  for (int32_t i = 0; i < n; ++i) {
    DynamicValue element;
    GetElement(array, i, &element);
    const uint8_t t = element.type();
    if (!IsNumericElement(t) && !IsTextElement(t)) {
      RaiseError(p, 81861, {i + 1});
      DynamicValue empty;
      SetText(empty, u"");
      return SetDynamicResult(c, empty);
    }
    if (IsNumericElement(t)) {
      const double x = RealOf(element);
      SetReal(element, x);
    }
    if (!haveBest) {
      CallHandler(element, handler::kCopyTo, &best);
      haveBest = true;
      continue;
    }
    int comparison;
    if (best.type() == 12 && element.type() == 12) {
      const double a = RealOf(element), b = RealOf(best);
      comparison = a < b ? -1 : a > b ? 1 : 0;
    } else {
      comparison = CompareListTexts(TextOfArgument(element), TextOfArgument(best));
    }
    if (Replaces(Which, comparison)) CallHandler(element, handler::kCopyTo, &best);
  }
  if (!haveBest) SetText(best, u"");
  return SetDynamicResult(c, best);
}

}  // namespace

TQ_ENTRY(Random_Unit) {
  DynamicValue result;
  SetReal(result, RandomUnit());
  return SetDynamicResult(context, result);
}

TQ_ENTRY(Random_UpTo) {
  const int32_t result = RandomUpTo(proxy, IntegerArgument(args, 0));
  SetResult(context, &result, typecode::kInteger);
  return 0;
}

TQ_ENTRY(Random_Between) {
  const int32_t result =
      RandomBetweenBounds(proxy, IntegerArgument(args, 0), IntegerArgument(args, 1));
  SetResult(context, &result, typecode::kInteger);
  return 0;
}

TQ_ENTRY(InitRandom_Clock) {
  InitRandomFromClock();
  return 0;
}

TQ_ENTRY(InitRandom_Seed) {
  InitRandomWithSeed(IntegerArgument(args, 0));
  return 0;
}

TQ_ENTRY(IsEven_Integer) {
  return SetBooleanResult(context, IsEven(IntegerArgument(args, 0)));
}

TQ_ENTRY(IsOdd_Integer) {
  return SetBooleanResult(context, IsOdd(IntegerArgument(args, 0)));
}

TQ_ENTRY(ListMax_Texts) { return ListOfTexts<Extremum::kMax>(context, proxy, args); }
TQ_ENTRY(ListMax_Numbers) { return ListOfNumbers<Extremum::kMax>(context, proxy, args); }
TQ_ENTRY(ListMax_Array) { return ListOfArray<Extremum::kMax>(context, proxy, args); }
TQ_ENTRY(ListMin_Texts) { return ListOfTexts<Extremum::kMin>(context, proxy, args); }
TQ_ENTRY(ListMin_Numbers) { return ListOfNumbers<Extremum::kMin>(context, proxy, args); }
TQ_ENTRY(ListMin_Array) { return ListOfArray<Extremum::kMin>(context, proxy, args); }

TQ_ENTRY(NullResult_Any) {
  SetResult(context, nullptr, typecode::kString);
  return 0;
}

}  // namespace tq::entries
