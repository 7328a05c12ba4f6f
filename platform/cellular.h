// The cellular module's telephony calls ("cellcore.dll"), over the lines of the device's
// description: each line is one line device whose line name and serial number (IMEI) come from
// device.json. The module exists only on a device with at least one line (device_modules.h).
//
// Invariants: a line application handle is valid from lineInitializeEx to lineShutdown, a line
// handle from lineOpen to lineClose. Variable-size records follow the telephony convention:
// dwTotalSize is the caller's size, dwNeededSize what the whole record needs; the call
// succeeds and fills only the fixed part when the variable part does not fit, and fails with
// LINEERR_STRUCTURETOOSMALL when not even the fixed part fits.
#pragma once

#include "platform/window_types.h"

namespace ce {

using HLINEAPP = DWORD;
using HLINE = DWORD;
using LINECALLBACK = void (*)(DWORD, DWORD, DWORD_PTR, DWORD_PTR, DWORD_PTR, DWORD_PTR);

inline constexpr LONG LINEERR_BADDEVICEID = static_cast<LONG>(0x80000002);
inline constexpr LONG LINEERR_INCOMPATIBLEAPIVERSION = static_cast<LONG>(0x8000000C);
inline constexpr LONG LINEERR_INVALAPPHANDLE = static_cast<LONG>(0x80000015);
inline constexpr LONG LINEERR_INVALLINEHANDLE = static_cast<LONG>(0x8000002B);
inline constexpr LONG LINEERR_INVALPOINTER = static_cast<LONG>(0x80000035);
inline constexpr LONG LINEERR_STRUCTURETOOSMALL = static_cast<LONG>(0x8000004D);
inline constexpr DWORD LINEINITIALIZEEXOPTION_USEEVENT = 2;

struct LINEINITIALIZEEXPARAMS {
  DWORD dwTotalSize;
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  DWORD dwOptions;
  HANDLE hEvent;
  DWORD dwCompletionKey;
};

struct LINEEXTENSIONID {
  DWORD dwExtensionID0, dwExtensionID1, dwExtensionID2, dwExtensionID3;
};

// The fixed part of the line-device capabilities, up to the line name.
struct LINEDEVCAPS {
  DWORD dwTotalSize;
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  DWORD dwProviderInfoSize;
  DWORD dwProviderInfoOffset;
  DWORD dwSwitchInfoSize;
  DWORD dwSwitchInfoOffset;
  DWORD dwPermanentLineID;
  DWORD dwLineNameSize;  // bytes, terminator included
  DWORD dwLineNameOffset;
  DWORD dwStringFormat;
};

struct LINEGENERALINFO {  // 52 bytes
  DWORD dwTotalSize;
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  DWORD dwManufacturerSize;
  DWORD dwManufacturerOffset;
  DWORD dwModelSize;
  DWORD dwModelOffset;
  DWORD dwRevisionSize;
  DWORD dwRevisionOffset;
  DWORD dwSerialNumberSize;  // bytes, terminator included
  DWORD dwSerialNumberOffset;
  DWORD dwSubscriberNumberSize;
  DWORD dwSubscriberNumberOffset;
};

LONG lineInitializeEx(HLINEAPP* app, HINSTANCE instance, LINECALLBACK callback,
                      const WCHAR* appName, DWORD* deviceCount, DWORD* apiVersion,
                      LINEINITIALIZEEXPARAMS* params);
LONG lineShutdown(HLINEAPP app);
LONG lineNegotiateAPIVersion(HLINEAPP app, DWORD device, DWORD low, DWORD high, DWORD* version,
                             LINEEXTENSIONID* extension);
LONG lineGetDevCaps(HLINEAPP app, DWORD device, DWORD apiVersion, DWORD extVersion,
                    LINEDEVCAPS* caps);
LONG lineOpen(HLINEAPP app, DWORD device, HLINE* line, DWORD apiVersion, DWORD extVersion,
              DWORD_PTR callbackInstance, DWORD privileges, DWORD mediaModes, void* callParams);
LONG lineNegotiateExtVersion(HLINEAPP app, DWORD device, DWORD apiVersion, DWORD low,
                             DWORD high, DWORD* version);
LONG lineGetGeneralInfo(HLINE line, LINEGENERALINFO* info);
LONG lineClose(HLINE line);

}  // namespace ce
