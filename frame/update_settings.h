// The update settings of an application in the machine registry (values "UPDATE_HTTP",
// "UPDATE_URL" and "VERSION" under "Software\ORVANTE\TARVEX Mobile\24.0\APPLI\<name>"), read
// and written with the errors the update functions raise.
//
// Invariants: a failed read raises 81633 and a failed write 81634 (with the key path), then
// records the registry's error code on the proxy; nothing else is changed on failure.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "frame/component_proxy.h"

namespace tq {

inline constexpr size_t kSettingCharacters = 260;
inline constexpr size_t kVersionCharacters = 40;

// The executable, the application's name and key, for one update operation.
struct UpdateTarget {
  std::u16string executable;
  std::u16string application;
  std::u16string keyPath;
};

// The target for a given executable path, or the running application's when null or empty.
UpdateTarget UpdateTargetFor(const char16_t* executablePath);

// The text of a REG_SZ value read into a buffer of `characters` (terminator included).
std::optional<std::u16string> ReadUpdateSetting(ComponentProxy* proxy, const UpdateTarget& target,
                                                std::u16string_view name, size_t characters);
bool WriteUpdateSetting(ComponentProxy* proxy, const UpdateTarget& target,
                        std::u16string_view name, std::u16string_view value);

// The first 4 bytes of "UPDATE_HTTP" as a word; nullopt when the value is missing or longer
// than 4 bytes. Raises nothing.
std::optional<uint32_t> ReadUpdateSwitch(const UpdateTarget& target);

}  // namespace tq
