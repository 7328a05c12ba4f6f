// AmountInChineseNumerals: a yuan amount in the Chinese financial numerals, as written on a
// cheque (人民币 ... 元 ... 角 ... 分, closed by 整 when there are no fen).
#pragma once

#include <optional>
#include <string>

#include "numtext/currency_value.h"

namespace tq {

// The amount in numerals; nullopt for a negative amount and for one whose integer part has
// more digits than the position units cover (16).
std::optional<std::u16string> AmountInChineseNumerals(CurrencyUnits value);

}  // namespace tq
