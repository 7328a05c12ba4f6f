// SendInput: the input log, then the effect on the simulated windows.
#include "platform/input.h"

#include <cstdlib>
#include <string>

#include "platform/device_state_files.h"
#include "platform/display.h"
#include "platform/last_error.h"
#include "platform/window_manager.h"

namespace ce {
namespace {

std::string LogLine(const INPUT& in) {
  auto n = [](auto v) { return std::to_string(v); };
  if (in.type == INPUT_KEYBOARD) {
    const KEYBDINPUT& k = in.ki;
    return "{\"type\": 1, \"wVk\": " + n(k.wVk) + ", \"wScan\": " + n(k.wScan) +
           ", \"dwFlags\": " + n(k.dwFlags) + ", \"time\": " + n(k.time) +
           ", \"dwExtraInfo\": " + n(k.dwExtraInfo) + "}\n";
  }
  const MOUSEINPUT& m = in.mi;
  return "{\"type\": 0, \"dx\": " + n(m.dx) + ", \"dy\": " + n(m.dy) + ", \"mouseData\": " +
         n(m.mouseData) + ", \"dwFlags\": " + n(m.dwFlags) + ", \"time\": " + n(m.time) +
         ", \"dwExtraInfo\": " + n(m.dwExtraInfo) + "}\n";
}

// The screen pixel of an absolute coordinate (0..65535 over the screen).
LONG PixelOf(LONG absolute, int screenSize) {
  return screenSize <= 1 ? 0 : MulDiv(absolute, screenSize - 1, 65535);
}

HWND WindowAt(POINT point) {
  // The simulated windows do not overlap in a known order; the focused window wins when the
  // point is inside it, else the foreground window.
  for (HWND w : {GetFocus(), GetForegroundWindow()}) {
    RECT r;
    if (w != nullptr && GetWindowRect(w, &r) && point.x >= r.left && point.x < r.right &&
        point.y >= r.top && point.y < r.bottom) {
      return w;
    }
  }
  return GetForegroundWindow();
}

void PlayKey(const KEYBDINPUT& k) {
  HWND target = GetFocus();
  if (target == nullptr) target = GetForegroundWindow();
  if (target == nullptr) return;
  PostMessageW(target, (k.dwFlags & KEYEVENTF_KEYUP) != 0 ? WM_KEYUP : WM_KEYDOWN, k.wVk, 0);
}

void PlayMouse(const MOUSEINPUT& m) {
  if ((m.dwFlags & MOUSEEVENTF_MOVE) != 0 && (m.dwFlags & MOUSEEVENTF_ABSOLUTE) != 0) {
    SetCursorPos(PixelOf(m.dx, GetSystemMetrics(SM_CXSCREEN)),
                 PixelOf(m.dy, GetSystemMetrics(SM_CYSCREEN)));
  }
  POINT cursor;
  GetCursorPos(&cursor);
  HWND target = WindowAt(cursor);
  if (target == nullptr) return;
  POINT client = cursor;
  ScreenToClient(target, &client);
  const LPARAM position = static_cast<LPARAM>((static_cast<uint32_t>(client.y & 0xFFFF) << 16) |
                                              static_cast<uint32_t>(client.x & 0xFFFF));
  static constexpr struct {
    DWORD flag;
    UINT message;
  } kButtons[] = {{MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN},   {MOUSEEVENTF_LEFTUP, WM_LBUTTONUP},
                  {MOUSEEVENTF_RIGHTDOWN, WM_RBUTTONDOWN},  {MOUSEEVENTF_RIGHTUP, WM_RBUTTONUP},
                  {MOUSEEVENTF_MIDDLEDOWN, WM_MBUTTONDOWN}, {MOUSEEVENTF_MIDDLEUP, WM_MBUTTONUP}};
  if ((m.dwFlags & MOUSEEVENTF_MOVE) != 0) PostMessageW(target, WM_MOUSEMOVE, 0, position);
  for (const auto& b : kButtons) {
    if ((m.dwFlags & b.flag) != 0) PostMessageW(target, b.message, 0, position);
  }
}

}  // namespace

UINT SendInput(UINT count, const INPUT* inputs, int size) {
  if (inputs == nullptr || size != static_cast<int>(sizeof(INPUT))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (UINT i = 0; i < count; ++i) {
    const INPUT& in = inputs[i];
    if (in.type != INPUT_KEYBOARD && in.type != INPUT_MOUSE) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return i;
    }
    if (!AppendDeviceStateFile("input.log", LogLine(in))) return i;
    if (in.type == INPUT_KEYBOARD) {
      PlayKey(in.ki);
    } else {
      PlayMouse(in.mi);
    }
  }
  return count;
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const int64_t half = std::llabs(denominator) / 2;
  const int64_t rounded =
      ((product < 0) != (denominator < 0) ? product - (denominator < 0 ? -half : half)
                                          : product + (denominator < 0 ? -half : half)) /
      denominator;
  if (rounded > INT32_MAX || rounded < INT32_MIN) return -1;
  return static_cast<int>(rounded);
}

}  // namespace ce
