// The window model of one process: a table of windows under one mutex, the focus, the
// foreground, the cursor and the message queue.
#include "platform/window_manager.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "platform/display.h"
#include "platform/form_description.h"
#include "platform/last_error.h"
#include "platform/tick_count.h"

namespace ce {
namespace {

struct Window {
  WindowDescription description;
};

struct WindowSystem {
  std::mutex mutex;
  std::condition_variable posted;
  std::map<HWND, Window> windows;
  uintptr_t nextHandle = kFirstWindowHandle;
  HWND foreground = nullptr;
  HWND focus = nullptr;
  POINT cursor{0, 0};
  std::deque<MSG> queue;
};

HWND Create(WindowSystem& s, const WindowDescription& description) {
  HWND handle = reinterpret_cast<HWND>(s.nextHandle);
  s.nextHandle += kWindowHandleStep;
  s.windows[handle] = Window{description};
  return handle;
}

WindowDescription DescribeElement(const FormElement& e, HWND parent) {
  WindowDescription d;
  d.title = e.title;
  d.parent = parent;
  d.rect = RECT{e.x, e.y, e.x + e.width, e.y + e.height};
  d.visible = e.visible;
  d.enabled = e.enabled;
  d.ownerAnswer = e.handle;
  return d;
}

// Puts the application's form on the screen of a new window system.
void ShowForm(WindowSystem& s) {
  std::shared_ptr<const FormDescription> form = CurrentForm();
  if (form == nullptr) return;
  const HWND window = Create(s, DescribeElement(form->window, nullptr));
  for (const FormElement& control : form->controls) Create(s, DescribeElement(control, window));
  s.foreground = window;
  s.focus = reinterpret_cast<HWND>(form->Focused().handle);
}

WindowSystem& System() {
  // Released with the module, so that nothing outlives an unloaded library.
  static struct Screen {
    Screen() { ShowForm(system); }
    WindowSystem system;
  } screen;
  return screen.system;
}

// The window record of `window`, or null with ERROR_INVALID_HANDLE; the caller holds the mutex.
Window* Find(WindowSystem& s, HWND window) {
  auto found = s.windows.find(window);
  if (found == s.windows.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return &found->second;
}

HWND TopLevel(WindowSystem& s, HWND window) {
  for (Window* w = Find(s, window); w != nullptr && w->description.parent != nullptr;
       w = Find(s, window)) {
    window = w->description.parent;
  }
  return window;
}

// The wake-mask bit that selects a message.
DWORD QueueStatusOf(UINT message) {
  if (message >= WM_KEYDOWN && message <= 0x0108) return 1;
  if (message == WM_MOUSEMOVE) return 2;
  if (message > WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) return 4;
  return 8;
}

bool Selected(const MSG& m, HWND window, UINT first, UINT last) {
  if (window != nullptr && m.hwnd != window) return false;
  return (first == 0 && last == 0) || (m.message >= first && m.message <= last);
}

}  // namespace

HWND CreateSimulatedWindow(const WindowDescription& description) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  return Create(s, description);
}

BOOL DestroyWindow(HWND window) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.windows.erase(window) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (s.focus == window) s.focus = nullptr;
  if (s.foreground == window) s.foreground = nullptr;
  std::erase_if(s.queue, [window](const MSG& m) { return m.hwnd == window; });
  return TRUE;
}

void ResetWindowsForTesting() {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.windows.clear();
  s.nextHandle = kFirstWindowHandle;
  s.foreground = s.focus = nullptr;
  s.cursor = POINT{0, 0};
  s.queue.clear();
}

BOOL IsWindow(HWND window) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.windows.count(window) != 0 ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  for (Window* w = Find(s, window); w != nullptr; w = Find(s, w->description.parent)) {
    if (!w->description.visible) return FALSE;
    if (w->description.parent == nullptr) return TRUE;
  }
  return FALSE;
}

BOOL IsWindowEnabled(HWND window) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  return w != nullptr && w->description.enabled ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int show) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  if (w == nullptr) return FALSE;
  const BOOL wasVisible = w->description.visible ? TRUE : FALSE;
  w->description.visible = show != 0;
  return wasVisible;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  if (w == nullptr) return FALSE;
  const BOOL wasDisabled = w->description.enabled ? FALSE : TRUE;
  w->description.enabled = enable != FALSE;
  return wasDisabled;
}

int GetWindowTextW(HWND window, char16_t* buffer, int capacity) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  if (w == nullptr || buffer == nullptr || capacity <= 0) return 0;
  const std::u16string& title = w->description.title;
  const int length = std::min(static_cast<int>(title.size()), capacity - 1);
  std::copy_n(title.data(), length, buffer);
  buffer[length] = u'\0';
  return length;
}

int GetWindowTextLengthW(HWND window) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  return w == nullptr ? 0 : static_cast<int>(w->description.title.size());
}

BOOL SetWindowTextW(HWND window, const char16_t* text) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  if (w == nullptr) return FALSE;
  w->description.title = text != nullptr ? text : u"";
  return TRUE;
}

HWND GetParent(HWND window) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  return w == nullptr ? nullptr : w->description.parent;
}

HWND GetWindow(HWND window, UINT relation) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  if (w == nullptr) return nullptr;
  if (relation != GW_OWNER) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return w->description.owner;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = w->description.rect;
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  Window* w = Find(s, window);
  if (w == nullptr || rect == nullptr) return FALSE;
  const RECT& r = w->description.rect;
  *rect = RECT{0, 0, r.right - r.left, r.bottom - r.top};
  return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
  RECT r;
  if (point == nullptr || !GetWindowRect(window, &r)) return FALSE;
  point->x += r.left;
  point->y += r.top;
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
  RECT r;
  if (point == nullptr || !GetWindowRect(window, &r)) return FALSE;
  point->x -= r.left;
  point->y -= r.top;
  return TRUE;
}

HWND GetForegroundWindow() {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.foreground;
}

BOOL SetForegroundWindow(HWND window) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (Find(s, window) == nullptr) return FALSE;
  s.foreground = TopLevel(s, window);
  return TRUE;
}

HWND GetActiveWindow() { return GetForegroundWindow(); }

HWND GetFocus() {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.focus;
}

HWND SetFocus(HWND window) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (window != nullptr && Find(s, window) == nullptr) return nullptr;
  const HWND previous = s.focus;
  s.focus = window;
  if (window != nullptr) s.foreground = TopLevel(s, window);
  return previous;
}

BOOL GetCursorPos(POINT* point) {
  if (point == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  *point = s.cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.cursor = POINT{x, y};
  return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM, LPARAM) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (window == HWND_BROADCAST) return 1;
  Window* w = Find(s, window);
  if (w == nullptr) return 0;
  return message == kOwnerQueryMessage ? w->description.ownerAnswer : 0;
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowSystem& s = System();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (window != nullptr && window != HWND_BROADCAST && Find(s, window) == nullptr) return FALSE;
    s.queue.push_back(MSG{window, message, wParam, lParam, GetTickCount(), s.cursor});
  }
  s.posted.notify_all();
  return TRUE;
}

BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT remove) {
  WindowSystem& s = System();
  std::lock_guard<std::mutex> lock(s.mutex);
  auto found = std::find_if(s.queue.begin(), s.queue.end(), [&](const MSG& m) {
    return Selected(m, window, first, last);
  });
  if (found == s.queue.end()) return FALSE;
  if (message != nullptr) *message = *found;
  if ((remove & PM_REMOVE) != 0) s.queue.erase(found);
  return TRUE;
}

BOOL TranslateMessage(const MSG* message) {
  return message != nullptr && message->message == WM_KEYDOWN ? TRUE : FALSE;
}

LRESULT DispatchMessageW(const MSG* message) {
  if (message == nullptr || message->hwnd == nullptr) return 0;
  return SendMessageW(message->hwnd, message->message, message->wParam, message->lParam);
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE*, DWORD milliseconds,
                                  DWORD wakeMask, DWORD) {
  WindowSystem& s = System();
  std::unique_lock<std::mutex> lock(s.mutex);
  auto ready = [&] {
    return std::any_of(s.queue.begin(), s.queue.end(),
                       [&](const MSG& m) { return (QueueStatusOf(m.message) & wakeMask) != 0; });
  };
  if (milliseconds == INFINITE) {
    s.posted.wait(lock, ready);
  } else if (!ready()) {
    // The simulated device has no input of its own and its windows no procedures that would
    // answer later: a finite wait on a queue without input can only time out, so it does so
    // at once instead of letting the time pass.
    return WAIT_TIMEOUT;
  }
  return count;  // WAIT_OBJECT_0 + count: input is waiting
}

HDC GetDC(HWND window) { return IsWindow(window) ? window : nullptr; }

int ReleaseDC(HWND, HDC context) { return context != nullptr ? 1 : 0; }

BOOL RectVisible(HDC context, const RECT* rect) {
  RECT window;
  if (rect == nullptr || !IsWindowVisible(context) || !GetWindowRect(context, &window)) {
    return FALSE;
  }
  const LONG left = std::max<LONG>(window.left + rect->left, 0);
  const LONG top = std::max<LONG>(window.top + rect->top, 0);
  const LONG right = std::min<LONG>(window.left + rect->right, GetSystemMetrics(SM_CXSCREEN));
  const LONG bottom = std::min<LONG>(window.top + rect->bottom, GetSystemMetrics(SM_CYSCREEN));
  return left < right && top < bottom ? TRUE : FALSE;
}

}  // namespace ce
