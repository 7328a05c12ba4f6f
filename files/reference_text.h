// Texts the file functions receive: value references (code 0x8050) read as text, and 8-bit
// text in the device's ANSI code page.
//
// Invariants: a VM string is taken as it stands; 8-bit text and numbers are converted from the
// ANSI code page; a value without a text form gives nullopt.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tq {

// The text of a value reference; `wasVMString` tells whether it was a VM string (type 16/28).
std::optional<std::u16string> ReferenceText(const void* reference, bool* wasVMString);

std::string AnsiBytes(std::u16string_view text);
std::u16string AnsiText(std::string_view bytes);

}  // namespace tq
