// Display orientation through ChangeDisplaySettingsEx, taken from the core library by name.
#include "system/display_settings.h"

#include <string_view>

#include "frame/raise_error.h"
#include "platform/device_modules.h"
#include "platform/display.h"
#include "platform/modules.h"

namespace tq {
namespace {

constexpr uint32_t kDisplayFailed = 80147;
constexpr uint32_t kAngleNotRecognised = 80700;

using ChangeDisplay = ce::LONG (*)(const ce::WCHAR*, ce::DEVMODEW*, ce::HWND, ce::DWORD, void*);

struct Orientation {
  ce::DWORD mode;
  std::u16string_view angle;
};
constexpr Orientation kOrientations[] = {
    {ce::DMDO_0, u"0"}, {ce::DMDO_90, u"90"}, {ce::DMDO_180, u"180"}, {ce::DMDO_270, u"270"}};

ChangeDisplay FindChangeDisplay() {
  ce::RegisterDeviceSystemModules();
  ce::HMODULE core = ce::GetModuleHandleW(u"Coredll.dll");
  return core == nullptr ? nullptr
                         : reinterpret_cast<ChangeDisplay>(
                               ce::GetProcAddressW(core, u"ChangeDisplaySettingsEx"));
}

ce::DEVMODEW ModeFor(ce::DWORD orientation) {
  ce::DEVMODEW mode{};
  mode.dmSize = sizeof(ce::DEVMODEW);
  mode.dmFields = ce::DM_DISPLAYORIENTATION;
  mode.dmDisplayOrientation = orientation;
  return mode;
}

}  // namespace

std::u16string DisplayOrientations(ComponentProxy* proxy) {
  std::u16string list;
  if (ChangeDisplay change = FindChangeDisplay()) {
    for (const Orientation& o : kOrientations) {
      ce::DEVMODEW mode = ModeFor(o.mode);
      if (change(nullptr, &mode, nullptr, ce::CDS_TEST, nullptr) == ce::DISP_CHANGE_SUCCESSFUL) {
        list.append(o.angle).append(u"\r\n");
      }
    }
  }
  if (list.empty()) {
    RaiseError(proxy, kDisplayFailed);
    return list;
  }
  list.resize(list.size() - 2);
  return list;
}

std::u16string DisplayOrientation(ComponentProxy* proxy) {
  ChangeDisplay change = FindChangeDisplay();
  ce::DEVMODEW mode = ModeFor(ce::DMDO_0);
  if (change != nullptr &&
      change(nullptr, &mode, nullptr, ce::CDS_TEST, nullptr) == ce::DISP_CHANGE_SUCCESSFUL) {
    for (const Orientation& o : kOrientations) {
      if (o.mode == mode.dmDisplayOrientation) return std::u16string(o.angle);
    }
  }
  RaiseError(proxy, kDisplayFailed);
  return u"";
}

std::u16string SetDisplayOrientation(ComponentProxy* proxy, const char16_t* angle) {
  if (angle == nullptr) return DisplayOrientation(proxy);
  const std::u16string_view text(angle);
  const Orientation* chosen = nullptr;
  for (const Orientation& o : kOrientations) {
    if (text == o.angle) chosen = &o;  // digits only: case plays no part
  }
  if (chosen == nullptr) {
    RaiseError(proxy, kAngleNotRecognised);
  } else {
    ChangeDisplay change = FindChangeDisplay();
    ce::DEVMODEW mode = ModeFor(chosen->mode);
    if (change == nullptr ||
        change(nullptr, &mode, nullptr, 0, nullptr) != ce::DISP_CHANGE_SUCCESSFUL) {
      RaiseError(proxy, kDisplayFailed);
    }
  }
  // The result is the orientation in force, read again; a read failure replaces the error.
  return DisplayOrientation(proxy);
}

}  // namespace tq
