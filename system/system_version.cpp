// Version texts from GetVersionExW and the platform type from SystemParametersInfoW.
#include "system/system_version.h"

#include <string>

#include "frame/raise_error.h"
#include "platform/last_error.h"
#include "platform/system_info.h"

namespace tq {
namespace {

constexpr uint32_t kKindOutOfRange = 80144;
constexpr uint32_t kKindArgument = 79872;
constexpr size_t kResultLimit = 64;

std::u16string Decimal(uint64_t n) {
  std::u16string text;
  for (char c : std::to_string(n)) text.push_back(static_cast<char16_t>(c));
  return text;
}

std::u16string PlatformType() {
  char16_t buffer[64] = {};
  if (ce::SystemParametersInfoW(ce::SPI_GETPLATFORMTYPE, sizeof buffer, buffer, 0)) {
    return buffer;
  }
  return ce::GetLastError() == ce::ERROR_ACCESS_DENIED ? u"Smartphone" : u"";
}

std::u16string ServicePack(const ce::OSVERSIONINFOEXW& v) {
  std::u16string text = v.szCSDVersion;
  if (v.dwPlatformId == ce::VER_PLATFORM_WIN32_NT && v.dwMajorVersion >= 5 &&
      v.dwMinorVersion != 0) {
    if (!text.empty()) text += u",";
    text += (v.wSuiteMask & ce::VER_SUITE_PERSONAL) != 0 ? u"Home Edition" : u"Pro";
  }
  return text;
}

}  // namespace

std::u16string PlatformName(uint32_t major, uint32_t minor, uint32_t build) {
  if (major >= 5 && minor == 2 && build >= 21043) return u"CE 6.5";
  if (major >= 6 || (major >= 5 && minor >= 2)) return u"CE 6";
  if (major >= 5) return u"CE 5";
  if (major >= 4) return u"CE 4";
  return u"CE 3";
}

std::u16string SystemVersion(ComponentProxy* proxy, int32_t kind) {
  if (kind < 0 || kind > 5) {
    RaiseError(proxy, kKindOutOfRange, {kKindArgument});
    return u"";
  }
  if (kind == 5) return u"32";
  ce::OSVERSIONINFOEXW v{};
  v.dwOSVersionInfoSize = sizeof v;
  if (!ce::GetVersionExW(reinterpret_cast<ce::OSVERSIONINFOW*>(&v))) return u"";
  std::u16string text;
  switch (kind) {
    case 0:
      if (v.dwPlatformId == ce::VER_PLATFORM_WIN32_CE) {
        text = PlatformName(v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber);
      }
      break;
    case 1: text = Decimal(v.dwMajorVersion) + u"." + Decimal(v.dwMinorVersion); break;
    case 2:
      text = Decimal(v.dwPlatformId == ce::VER_PLATFORM_WIN32_NT ? v.dwBuildNumber
                                                                 : (v.dwBuildNumber & 0xFFFF));
      break;
    case 3: text = PlatformType(); break;
    default: text = ServicePack(v); break;
  }
  if (text.size() > kResultLimit) text.resize(kResultLimit);
  return text;
}

}  // namespace tq
