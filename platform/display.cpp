// Screen metrics and display orientation over the device's description.
#include "platform/display.h"

#include <algorithm>

#include "platform/device_description.h"
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
  const std::shared_ptr<const DeviceDescription> d = CurrentDeviceDescription();
  const bool rotated = d->display.orientation == 90 || d->display.orientation == 270;
  switch (index) {
    case SM_CXSCREEN: return rotated ? d->screen.height : d->screen.width;
    case SM_CYSCREEN: return rotated ? d->screen.width : d->screen.height;
    default: return 0;
  }
}

LONG ChangeDisplaySettingsEx(const WCHAR*, DEVMODEW* mode, HWND, DWORD flags, void*) {
  if (mode == nullptr || (flags & ~CDS_TEST) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return DISP_CHANGE_BADPARAM;
  }
  const std::shared_ptr<const DeviceDescription> d = CurrentDeviceDescription();
  const std::vector<int32_t>& accepted = d->display.orientations;
  const int angle = AngleOf(mode->dmDisplayOrientation);
  if ((mode->dmFields & DM_DISPLAYORIENTATION) == 0 || angle < 0 ||
      std::find(accepted.begin(), accepted.end(), angle) == accepted.end()) {
    return DISP_CHANGE_BADMODE;
  }
  if ((flags & CDS_TEST) != 0) {
    mode->dmDisplayOrientation = OrientationOf(d->display.orientation);
    return DISP_CHANGE_SUCCESSFUL;
  }
  return WriteDisplayOrientation(angle) ? DISP_CHANGE_SUCCESSFUL : DISP_CHANGE_NOTUPDATED;
}

}  // namespace ce
