// The device's clipboard, shared by every process of the device: text in
// "<device root>/.device/clipboard.txt" (UTF-8; present means text is available) and a bitmap
// in "<device root>/.device/clipboard.bmp" (a BMP file; present means a bitmap is available).
//
// Invariants: one process at a time per thread of control may have the clipboard open; data
// handed out by GetClipboardData stays valid until CloseClipboard. A bitmap is offered both as
// CF_BITMAP (a bitmap object that GetObjectW describes) and as CF_DIB (the BMP file without its
// 14-byte file header); a file whose header cannot be read gives no CF_BITMAP object.
#pragma once

#include <string>

#include "platform/window_types.h"

namespace ce {

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  void* bmBits;
};

// Fails with ERROR_ACCESS_DENIED while this process has the clipboard open already.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL IsClipboardFormatAvailable(UINT format);
// CF_UNICODETEXT: zero-terminated UTF-16 text; CF_BITMAP: a bitmap object; CF_DIB: the
// bitmap's header and bits. Null (last error set) when the clipboard is not open or the format
// is not available.
HANDLE GetClipboardData(UINT format);
// Describes a bitmap object from GetClipboardData(CF_BITMAP); 0 for anything else.
int GetObjectW(HGDIOBJ object, int size, void* out);

// Writes or removes the clipboard's text (used by the demo and tests of the device).
bool SetClipboardTextForDevice(std::u16string_view text);

}  // namespace ce
