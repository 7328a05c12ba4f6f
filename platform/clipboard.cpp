// The clipboard over the two files of the device's state folder.
#include "platform/clipboard.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <set>

#include "platform/device_state_files.h"
#include "platform/last_error.h"
#include "platform/utf8.h"

namespace ce {
namespace {

constexpr char kTextFile[] = "clipboard.txt";
constexpr char kBitmapFile[] = "clipboard.bmp";
constexpr size_t kFileHeaderSize = 14;

// What GetClipboardData handed out since the clipboard was opened.
struct OpenState {
  bool open = false;
  std::u16string text;
  std::string dib;
  BITMAP bitmap{};
};

std::mutex gMutex;
OpenState gState;  // guarded by gMutex

uint32_t Read32(const std::string& b, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

uint16_t Read16(const std::string& b, size_t at) {
  uint16_t v = 0;
  std::memcpy(&v, b.data() + at, 2);
  return v;
}

// The bitmap object of a BMP file's header (BITMAPINFOHEADER or the older core header).
std::optional<BITMAP> DescribeBitmap(const std::string& file) {
  if (file.size() < kFileHeaderSize + 12 || file.compare(0, 2, "BM") != 0) return std::nullopt;
  const uint32_t headerSize = Read32(file, kFileHeaderSize);
  BITMAP b{};
  if (headerSize == 12) {
    b.bmWidth = Read16(file, kFileHeaderSize + 4);
    b.bmHeight = Read16(file, kFileHeaderSize + 6);
    b.bmPlanes = Read16(file, kFileHeaderSize + 8);
    b.bmBitsPixel = Read16(file, kFileHeaderSize + 10);
  } else if (headerSize >= 40 && file.size() >= kFileHeaderSize + 40) {
    b.bmWidth = static_cast<LONG>(Read32(file, kFileHeaderSize + 4));
    const LONG height = static_cast<LONG>(Read32(file, kFileHeaderSize + 8));
    b.bmHeight = height < 0 ? -height : height;
    b.bmPlanes = Read16(file, kFileHeaderSize + 12);
    b.bmBitsPixel = Read16(file, kFileHeaderSize + 14);
  } else {
    return std::nullopt;
  }
  if (b.bmWidth <= 0 || b.bmHeight <= 0) return std::nullopt;
  b.bmWidthBytes = static_cast<LONG>(((int64_t{b.bmWidth} * b.bmBitsPixel + 15) / 16) * 2);
  return b;
}

HANDLE NotAvailable() {
  SetLastError(ERROR_NOT_FOUND);
  return nullptr;
}

}  // namespace

BOOL OpenClipboard(HWND) {
  std::lock_guard<std::mutex> lock(gMutex);
  if (gState.open) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  gState = OpenState{};
  gState.open = true;
  return TRUE;
}

BOOL CloseClipboard() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (!gState.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  gState = OpenState{};
  return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  switch (format) {
    case CF_UNICODETEXT: return DeviceStateFileExists(kTextFile) ? TRUE : FALSE;
    case CF_BITMAP:
    case CF_DIB: return DeviceStateFileExists(kBitmapFile) ? TRUE : FALSE;
    default: return FALSE;
  }
}

HANDLE GetClipboardData(UINT format) {
  std::lock_guard<std::mutex> lock(gMutex);
  if (!gState.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (format == CF_UNICODETEXT) {
    std::optional<std::string> text = ReadDeviceStateFile(kTextFile);
    if (!text) return NotAvailable();
    gState.text = Utf8ToUtf16(*text);
    return gState.text.data();  // zero-terminated by the string
  }
  if (format != CF_BITMAP && format != CF_DIB) return NotAvailable();
  std::optional<std::string> file = ReadDeviceStateFile(kBitmapFile);
  if (!file) return NotAvailable();
  if (format == CF_DIB) {
    if (file->size() <= kFileHeaderSize) return NotAvailable();
    gState.dib = file->substr(kFileHeaderSize);
    // Readers may take a whole bitmap record from the data: never hand out fewer bytes.
    if (gState.dib.size() < sizeof(BITMAP)) gState.dib.resize(sizeof(BITMAP), '\0');
    return gState.dib.data();
  }
  std::optional<BITMAP> bitmap = DescribeBitmap(*file);
  if (!bitmap) return NotAvailable();
  gState.bitmap = *bitmap;
  return &gState.bitmap;
}

int GetObjectW(HGDIOBJ object, int size, void* out) {
  std::lock_guard<std::mutex> lock(gMutex);
  if (object == nullptr || object != &gState.bitmap || !gState.open) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (out == nullptr) return sizeof(BITMAP);
  if (size < static_cast<int>(sizeof(BITMAP))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::memcpy(out, &gState.bitmap, sizeof(BITMAP));
  return sizeof(BITMAP);
}

bool SetClipboardTextForDevice(std::u16string_view text) {
  return WriteDeviceStateFile(kTextFile, Utf16ToUtf8(text));
}

}  // namespace ce
