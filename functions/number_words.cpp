// Implementation entries of the numbers in words: NumberInWords and AmountInChineseNumerals.
#include <optional>
#include <string>

#include "frame/call_context.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "numtext/chinese_numerals.h"
#include "numtext/number_words.h"

namespace tq::entries {
namespace {

// The empty text of an amount that has no numerals.
constexpr uint32_t kEmptyAmountCode = 110;

int32_t Words(CallContext* context, void** args, std::u16string_view unit,
              std::u16string_view hundredths) {
  const WordsLanguage language = WordsLanguageOf(CurrentLanguage(context));
  return SetTextResult(context, NumberInWords(ReadCurrency(args[0]), unit, hundredths, language),
                 typecode::kText);
}

}  // namespace

TQ_ENTRY(NumberInWords_Names) { return Words(context, args, TextView(args, 1), TextView(args, 2)); }
TQ_ENTRY(NumberInWords_Unit) { return Words(context, args, TextView(args, 1), u""); }
TQ_ENTRY(NumberInWords_Value) { return Words(context, args, u"", u""); }

TQ_ENTRY(AmountInChineseNumerals_Value) {
  const std::optional<std::u16string> text = AmountInChineseNumerals(ReadCurrency(args[0]));
  if (!text) {
    // No text at all, under the code of an empty amount.
    SetResult(context, nullptr, kEmptyAmountCode);
    return 0;
  }
  return SetTextResult(context, *text, typecode::kText);
}

}  // namespace tq::entries
