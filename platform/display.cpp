// Screen metrics and display orientation over the device's description.
#include "platform/display.h"

#include <algorithm>

#include "platform/device_hardware.h"
#include "platform/last_error.h"

namespace ce {
namespace {

int AngleOf(DWORD orientation) {
  switch (orientation) {
    case DMDO_0: return 0;
    case DMDO_90: return 90;
    case DMDO_180: return 180;
    case DMDO_270: return 270;
    default: return -1;
  }
}

DWORD OrientationOf(int angle) {
  return angle == 90 ? DMDO_90 : angle == 180 ? DMDO_180 : angle == 270 ? DMDO_270 : DMDO_0;
}

}  // namespace

int GetSystemMetrics(int index) {
  const DeviceHardware h = CurrentDeviceHardware();
  const bool rotated = h.orientation == 90 || h.orientation == 270;
  switch (index) {
    case SM_CXSCREEN: return rotated ? h.screenHeight : h.screenWidth;
    case SM_CYSCREEN: return rotated ? h.screenWidth : h.screenHeight;
    default: return 0;
  }
}

LONG ChangeDisplaySettingsEx(const WCHAR*, DEVMODEW* mode, HWND, DWORD flags, void*) {
  if (mode == nullptr || (flags & ~CDS_TEST) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return DISP_CHANGE_BADPARAM;
  }
  const DeviceHardware h = CurrentDeviceHardware();
  const int angle = AngleOf(mode->dmDisplayOrientation);
  if ((mode->dmFields & DM_DISPLAYORIENTATION) == 0 || angle < 0 ||
      std::find(h.orientations.begin(), h.orientations.end(), angle) == h.orientations.end()) {
    return DISP_CHANGE_BADMODE;
  }
  if ((flags & CDS_TEST) != 0) {
    mode->dmDisplayOrientation = OrientationOf(h.orientation);
    return DISP_CHANGE_SUCCESSFUL;
  }
  return SetDisplayOrientation(angle) ? DISP_CHANGE_SUCCESSFUL : DISP_CHANGE_NOTUPDATED;
}

}  // namespace ce
