// The device's display: screen metrics and the display-settings call that tests and changes
// the orientation, over the device description (device_description.h).
//
// Invariants: the screen size follows the orientation (width and height exchanged at 90 and
// 270 degrees). A changed orientation is written back for the next process.
#pragma once

#include "platform/window_types.h"

namespace ce {

inline constexpr DWORD DM_DISPLAYORIENTATION = 0x00800000;
inline constexpr DWORD DMDO_0 = 0;
inline constexpr DWORD DMDO_90 = 1;
inline constexpr DWORD DMDO_180 = 2;
inline constexpr DWORD DMDO_270 = 4;
inline constexpr DWORD CDS_TEST = 2;
inline constexpr LONG DISP_CHANGE_SUCCESSFUL = 0;
inline constexpr LONG DISP_CHANGE_FAILED = -1;
inline constexpr LONG DISP_CHANGE_BADMODE = -2;
inline constexpr LONG DISP_CHANGE_NOTUPDATED = -3;
inline constexpr LONG DISP_CHANGE_BADPARAM = -5;

// The display-mode record up to the orientation (192 bytes).
struct DEVMODEW {
  WCHAR dmDeviceName[32];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  short dmPrinterFields[8];
  short dmColor;
  short dmDuplex;
  short dmYResolution;
  short dmTTOption;
  short dmCollate;
  WCHAR dmFormName[32];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmDisplayFlags;
  DWORD dmDisplayFrequency;
  DWORD dmDisplayOrientation;
};
static_assert(sizeof(DEVMODEW) == 192);

int GetSystemMetrics(int index);

// With CDS_TEST: succeeds when the device accepts the requested orientation and writes the
// current one into the record. Without flags: applies the requested orientation. Records
// without DM_DISPLAYORIENTATION, or orientations the device refuses, give DISP_CHANGE_BADMODE.
LONG ChangeDisplaySettingsEx(const WCHAR* deviceName, DEVMODEW* mode, HWND window, DWORD flags,
                             void* parameter);

}  // namespace ce
