// The device's windows as the library sees them: a small window model of one process (the
// application's windows and controls) with the window, focus, message and device-context calls
// that the device functions make.
//
// The model: every window has a handle, a title, a parent (a control inside a window) and an
// owner (a top-level window owned by another), a window rectangle in screen pixels whose client
// area is the whole window (the simulated windows have no frame), visibility, an enabled state,
// and the value it answers to the owner query message (the VM's window procedure answers with
// its control; other windows answer 0). One window has the focus and one top-level window is in
// the foreground. Messages posted to a window wait in the process's queue until pumped.
//
// The application's form (form_description.h, TQ_FORM) is on screen from the start: its
// window first (the foreground window; it answers the owner query with its handle), then its
// controls in file order (children of the window, each answering with its handle), with the
// focus on the form's focused element. Creation order gives the handles the form file
// promises, so the VM's control objects and these windows agree.
//
// Invariants: handles are never reused within a process and are given in creation order
// (kFirstWindowHandle, then every kWindowHandleStep). A destroyed window is no longer a window;
// the focus or foreground on it is cleared. Every call is thread-safe.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window_types.h"

namespace ce {

inline constexpr uintptr_t kFirstWindowHandle = 0x10000;
inline constexpr uintptr_t kWindowHandleStep = 0x10;
// The message with which the application's windows are asked for their control.
inline constexpr UINT kOwnerQueryMessage = 1929;

struct WindowDescription {
  std::u16string title;
  HWND parent = nullptr;
  HWND owner = nullptr;
  RECT rect{};  // screen pixels
  bool visible = true;
  bool enabled = true;
  LRESULT ownerAnswer = 0;  // the answer to kOwnerQueryMessage
};

HWND CreateSimulatedWindow(const WindowDescription& description);
BOOL DestroyWindow(HWND window);
// Tests: forget every window (the form's too), the focus, the foreground, the queue and the
// cursor.
void ResetWindowsForTesting();

BOOL IsWindow(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL IsWindowEnabled(HWND window);
BOOL ShowWindow(HWND window, int show);  // 0 hides, anything else shows
BOOL EnableWindow(HWND window, BOOL enable);
int GetWindowTextW(HWND window, char16_t* buffer, int capacity);
int GetWindowTextLengthW(HWND window);
BOOL SetWindowTextW(HWND window, const char16_t* text);
HWND GetParent(HWND window);
HWND GetWindow(HWND window, UINT relation);  // GW_OWNER only
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);

HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);
HWND GetActiveWindow();
HWND GetFocus();
HWND SetFocus(HWND window);

// The cursor (the stylus position), in screen pixels.
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);

// Messages. SendMessageW answers kOwnerQueryMessage with the window's answer and anything else
// with 0; HWND_BROADCAST reaches every top-level window and answers 1.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT remove);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageW(const MSG* message);
// Waits (without handles) until the queue holds a message the wake mask selects (1 keys,
// 2 mouse moves, 4 mouse buttons, 8 posted, 0x40 sent messages) or the time runs out; a
// finite wait on a queue without such a message times out at once (nothing else would come).
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds,
                                  DWORD wakeMask, DWORD flags);

// Device contexts: a window's context is the window itself; a rectangle (client coordinates)
// is visible when the window and its parents are visible and it overlaps the screen.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC context);
BOOL RectVisible(HDC context, const RECT* rect);

}  // namespace ce
