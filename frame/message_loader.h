// Loading message texts by id: from the VM's StringLoader when it registered one, else from
// the library's packed block of the current language, unpacked and converted to UTF-16.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tq {

// The text of message `id`; nullopt when neither the StringLoader nor the block has it, or
// when its packed form is damaged.
std::optional<std::u16string> LoadMessageText(uint32_t id);

// Loads message `id` into a caller's buffer of `capacity` characters (always terminated).
// Returns a StringLoader's positive result unchanged; otherwise the text's length when it fits,
// capacity - 1 when it was cut, 0 when the id is absent or unpacking failed.
int32_t LoadMessageInto(uint32_t id, char16_t* buffer, int32_t capacity);

}  // namespace tq
