// Random bytes from getrandom(2), retried when a signal interrupts it or the kernel returns
// fewer bytes than asked (possible for large requests).
#include "platform/gen_random.h"

#include <sys/random.h>

#include <cerrno>
#include <mutex>

#include "platform/last_error.h"
#include "platform/modules.h"

namespace ce {

BOOL CeGenRandom(DWORD length, BYTE* buffer) {
  if (buffer == nullptr && length != 0) {
    SetLastError(87);  // ERROR_INVALID_PARAMETER
    return FALSE;
  }
  DWORD filled = 0;
  while (filled < length) {
    const ssize_t n = getrandom(buffer + filled, length - filled, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetLastErrorFromErrno();
      return FALSE;
    }
    filled += static_cast<DWORD>(n);
  }
  return TRUE;
}

HRESULT CoCreateGuid(GUID* guid) {
  if (guid == nullptr) return static_cast<HRESULT>(0x80070057u);  // E_INVALIDARG
  BYTE bytes[16];
  if (!CeGenRandom(sizeof bytes, bytes)) return E_FAIL;
  bytes[6] = static_cast<BYTE>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<BYTE>((bytes[8] & 0x3F) | 0x80);
  // The first three fields are numbers (the device stores them little-endian); the random
  // bytes are read in the order RFC 4122 writes a UUID, so the version digit lands in Data3.
  guid->Data1 = (DWORD{bytes[0]} << 24) | (DWORD{bytes[1]} << 16) | (DWORD{bytes[2]} << 8) |
                bytes[3];
  guid->Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
  guid->Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) guid->Data4[i] = bytes[8 + i];
  return S_OK;
}

void RegisterOle32Module() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterBuiltinDeviceModule(
        u"ole32.dll", {{"CoCreateGuid", 0, reinterpret_cast<FARPROC>(&CoCreateGuid)}});
  });
}

}  // namespace ce
