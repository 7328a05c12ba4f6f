// Implementation entries of the numbers in words: NumberInWords and AmountInChineseNumerals.
#include <optional>
#include <string>

#include "frame/call_context.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "numtext/chinese_numerals.h"
#include "numtext/number_words.h"

namespace tq::entries {
namespace {

// The empty text of an amount that has no numerals.
constexpr uint32_t kEmptyAmountCode = 110;

std::u16string_view Text(void** args, int i) {
  const char16_t* text = TextArgument(args, i);
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

int32_t SetText(CallContext* context, std::u16string_view text, uint32_t code) {
  LocalString result;
  result.assign(text);
  SetResult(context, result.address(), code);
  return 0;
}

int32_t Words(CallContext* context, void** args, std::u16string_view unit,
              std::u16string_view hundredths) {
  const WordsLanguage language = WordsLanguageOf(CurrentLanguage(context));
  return SetText(context, NumberInWords(ReadCurrency(args[0]), unit, hundredths, language),
                 typecode::kText);
}

}  // namespace

TQ_ENTRY(NumberInWords_Names) { return Words(context, args, Text(args, 1), Text(args, 2)); }
TQ_ENTRY(NumberInWords_Unit) { return Words(context, args, Text(args, 1), u""); }
TQ_ENTRY(NumberInWords_Value) { return Words(context, args, u"", u""); }

TQ_ENTRY(AmountInChineseNumerals_Value) {
  const std::optional<std::u16string> text = AmountInChineseNumerals(ReadCurrency(args[0]));
  if (!text) {
    // No text at all, under the code of an empty amount.
    SetResult(context, nullptr, kEmptyAmountCode);
    return 0;
  }
  return SetText(context, *text, typecode::kText);
}

}  // namespace tq::entries
