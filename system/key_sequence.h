// Key sequences: the text that describes keys and mouse actions to play ("ab{ENTER}",
// "+(ab)", "{TAB 3}", "{SOURIS,10,20}{BTNGAUCHE,10,20:50}"), parsed into the queue of input
// records that SendInput plays.
//
// Grammar: items left to right; an item is modifier characters ("+" Shift, "^" Ctrl, "%" Alt)
// then a plain character, a group "(" items ")", or a braced element "{" name [",x,y"]
// [":N"] [" count"] "}". Names are looked up as case-insensitive prefixes, mouse names first
// (option 2) then key names (option 1); when none matches, the character behind "{" is the
// key. Inside a group both tables are recognised and points are not converted.
//
// Invariants: the queue is built completely or not at all: any malformed item (a missing ")"
// or "}", ":" or a space not followed by a digit, modifiers at the very end) gives nullopt.
// Untrusted text cannot exhaust the stack or the memory: groups nest at most kMaxGroupDepth
// deep and a queue holds at most kMaxQueuedRecords records; beyond either the sequence fails.
// A record's time holds the element's N (milliseconds after the moment of sending), or 0.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/window_types.h"

namespace tq {

// SendOptions bits.
namespace sendoption {
inline constexpr uint32_t kKeyNames = 1;
inline constexpr uint32_t kMouseNames = 2;
inline constexpr uint32_t kNoForeground = 4;
inline constexpr uint32_t kPixels = 16;
}  // namespace sendoption

inline constexpr int kMaxGroupDepth = 64;
inline constexpr size_t kMaxQueuedRecords = 1u << 20;

struct KeySequenceContext {
  uint32_t options = sendoption::kKeyNames;
  // Converts a point of the sequence to screen pixels; empty: points are used as written.
  std::function<ce::POINT(ce::POINT)> toScreen;
  int screenWidth = 240;
  int screenHeight = 320;
};

std::optional<std::vector<ce::INPUT>> BuildInputQueue(std::u16string_view sequence,
                                                      const KeySequenceContext& context);

}  // namespace tq
