// The names that key sequences use in braces: key names (French and English side by side)
// with their virtual-key codes, mouse names with the one or two mouse events they stand for,
// and the click codes that EmulateMouse turns into mouse names.
//
// Invariants: each table is searched in its order and the first entry whose name is a prefix
// of the text, without regard to case, wins; the order therefore puts longer names before
// their prefixes ("F10" before "F1", "BTNDROIT+" before "BTNDROIT").
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tq {

struct KeyName {
  std::u16string_view name;
  uint16_t virtualKey;
};

struct MouseName {
  std::u16string_view name;
  uint32_t firstEvent;   // a mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN, ...)
  uint32_t secondEvent;  // 0: none
};

struct ClickCode {
  std::u16string_view code;
  std::u16string_view mouseName;
};

// The entry whose name is a case-insensitive prefix of `text`, first in table order.
const KeyName* FindKeyName(std::u16string_view text);
const MouseName* FindMouseName(std::u16string_view text);
const ClickCode* FindClickCode(std::u16string_view text);

}  // namespace tq
