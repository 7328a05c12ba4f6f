// Formatting of message texts and diagnostics, all producing UTF-16.
//
// FormatInserts follows the platform's message formatter: "%1".."%99" insert argument n
// (an optional "!format!" gives its printf-style form: d, i, u, x, X, c, s, I64d, I64u, I64x,
// with width and precision), "%%" is a percent sign, "%n" a line break (CR LF), "%t" a tab,
// "%." a full stop, "%!" an exclamation mark, "%0" ends the text. An insertion point without an
// argument stays as written.
//
// Printf16 is printf for the library's diagnostics ("##(CXError)-...<%u>##"): a narrow format
// with narrow arguments (%s takes UTF-8), widened to UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "frame/message_args.h"

namespace tq {

std::u16string FormatInserts(std::u16string_view format, MessageArgs args);

[[gnu::format(printf, 1, 2)]] std::u16string Printf16(const char* format, ...);

}  // namespace tq
