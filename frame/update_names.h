// Names the runtime's update check works with: the application's name taken from an executable
// path, the registry keys of the runtime and of an application, the version comparison, and the
// split of an update address into host, port and path.
//
// Invariants: pure functions of their arguments; no registry or network access here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

inline constexpr std::u16string_view kRuntimeKey = u"Software\\ORVANTE\\TARVEX Mobile\\24.0";

// The base name of an executable path, without drive ("C:") or network prefix
// ("\\server\share"), directory and extension: "\Program Files\Shop\Shop.exe" gives "Shop".
std::u16string ApplicationName(std::u16string_view executablePath);

// "Software\ORVANTE\TARVEX Mobile\24.0\APPLI\<name>".
std::u16string ApplicationKeyPath(std::u16string_view applicationName);

// The running application's executable: the device path the VM gives (by default
// "\Program Files\App\App.exe"), at most 260 characters.
std::u16string RunningExecutablePath();

// Natural order of two version texts: runs of digits compare by their numeric value (leading
// zeros ignored; of two equal values the one written with more zeros first), other characters
// one by one without regard to case. Negative, zero or positive like a comparison function.
int CompareVersions(std::u16string_view a, std::u16string_view b);

struct UpdateAddress {
  std::string host;  // 8-bit text
  uint16_t port = 80;
  std::u16string path;  // begins with "/" (the request path)
};

// Splits "UPDATE_URL" + "VERSION.TZ": an "http://" prefix is dropped, the text up to the first
// "/" is the host (with ":port", default 80), the rest the path.
UpdateAddress SplitUpdateAddress(std::u16string_view address);

}  // namespace tq
