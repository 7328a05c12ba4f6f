// EmulateKeys and EmulateMouse: a control is checked (found, of a type that accepts the
// emulation, visible, enabled), the keys or the mouse action become one key sequence, and the
// key engine plays it into the control's window.
//
// Invariants: a check that fails raises its error (81500 to 81503, the control's name as
// argument) and sends nothing; so does a "{" without "}" in keys with modifier flags (81849).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "frame/component_proxy.h"
#include "system/control_access.h"

namespace tq {

// Modifier flags of both functions.
inline constexpr int32_t kModifierShift = 1;
inline constexpr int32_t kModifierAlt = 2;
inline constexpr int32_t kModifierControl = 4;

void EmulateKeys(ComponentProxy* proxy, const ControlAccess& control, std::u16string_view keys,
                 int32_t modifiers);
void EmulateMouse(ComponentProxy* proxy, const ControlAccess& control, int32_t action, int32_t x,
                  int32_t y);

// The pieces, for tests: the literal form of typed text, the modifier prefix, the text with the
// prefix before each element (nullopt for a "{" without "}"), and the click text of an action.
std::u16string LiteralKeys(std::u16string_view keys);
std::u16string ModifierPrefix(int32_t modifiers);
std::optional<std::u16string> PrefixEachElement(std::u16string_view text,
                                                std::u16string_view prefix);
std::u16string ClickText(int32_t action, int32_t x, int32_t y);

// Whether a control type accepts key (or mouse) emulation.
bool AcceptsKeys(int32_t type);
bool AcceptsMouse(int32_t type);

}  // namespace tq
