// The device's cryptographic random generator (CeGenRandom) and the COM GUID service of
// "ole32.dll" (CoCreateGuid), over the host kernel's random source.
//
// Invariants: CeGenRandom fills the whole buffer or fails (FALSE, last error set); it never
// returns partly filled output. CoCreateGuid answers version-4 GUIDs (random, RFC 4122 variant)
// and is reached like the device's, by loading "ole32.dll" and looking the procedure up.
#pragma once

#include "platform/windows_types.h"

namespace ce {

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};

using HRESULT = LONG;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

BOOL CeGenRandom(DWORD length, BYTE* buffer);
HRESULT CoCreateGuid(GUID* guid);

// Declares the device module "ole32.dll" with its procedure CoCreateGuid (idempotent).
void RegisterOle32Module();

}  // namespace ce
