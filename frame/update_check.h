// The runtime's update check: the update settings by kind (UpdateInfo, UpdateSetting), the
// comparison of the installed version with the server's (UpdateCheck), and the start of the
// update program "QM240APPLIMOBILE.EXE" from the runtime's folder (UpdateCheckAndLaunch).
//
// Kinds: 1 "UPDATE_HTTP", 2 the protocol "HTTP" (read only), 3 "UPDATE_URL", 10 the installed
// "VERSION", 11 the server's "VERSION" (read only).
//
// Invariants: an unknown kind raises 81631 (read) or 81632 (write) and changes nothing;
// UpdateCheck gives 0 (failure, error raised), 1 (the server has a newer version) or 3 (nothing
// to do: no web update configured, or the installed version is not older).
#pragma once

#include <cstdint>
#include <string>

#include "frame/component_proxy.h"

namespace tq {

inline constexpr std::u16string_view kUpdateProgram = u"QM240APPLIMOBILE.EXE";

// `executablePath` may be null: the running application.
std::u16string UpdateInfo(ComponentProxy* proxy, int32_t kind, const char16_t* executablePath);
bool UpdateSetting(ComponentProxy* proxy, int32_t kind, const char16_t* value,
                   const char16_t* executablePath);
int32_t UpdateCheck(ComponentProxy* proxy, const char16_t* executablePath);
bool UpdateCheckAndLaunch(ComponentProxy* proxy);

// The update program's command line for an application: " /UPDATE="<name>" /CMD="<exe>" <args>".
std::u16string UpdateCommandLine(std::u16string_view applicationName,
                                 std::u16string_view executable,
                                 std::u16string_view applicationArguments);

}  // namespace tq
