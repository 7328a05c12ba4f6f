// Playing an input queue: foreground, SendInput record by record, then the digest pump.
#include "system/key_engine.h"

#include <atomic>
#include <mutex>

#include "frame/raise_error.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/tick_count.h"
#include "platform/window_manager.h"
#include "system/key_sequence.h"

namespace tq {
namespace {

constexpr uint32_t kEmulationOffError = 81504;
constexpr uint32_t kEmulationOffArgument = 80896;
constexpr char kTraceName[] = "ZazoZezuzuv";

std::atomic<bool> gEnabled{true};
std::mutex gHookMutex;
InputTraceHook gHook;  // guarded by gHookMutex

void PumpAll() {
  ce::MSG m;
  while (ce::PeekMessageW(&m, nullptr, 0, 0, ce::PM_REMOVE)) {
    ce::TranslateMessage(&m);
    ce::DispatchMessageW(&m);
  }
}

// Pumps what the target made of the input: repeated mouse moves are skipped and the pump
// stops at a paint message, which the application's own loop handles.
void PumpDigest() {
  ce::MSG m, previous{};
  while (ce::PeekMessageW(&m, nullptr, 0, 0, ce::PM_REMOVE)) {
    if (m.message == ce::WM_PAINT) break;
    const bool repeatedMove = m.message == ce::WM_MOUSEMOVE && previous.message == m.message &&
                              previous.hwnd == m.hwnd && previous.wParam == m.wParam &&
                              previous.lParam == m.lParam;
    previous = m;
    if (repeatedMove) continue;
    ce::TranslateMessage(&m);
    ce::DispatchMessageW(&m);
  }
}

void Digest() {
  ce::DWORD wait = ce::MsgWaitForMultipleObjectsEx(0, nullptr, 100, 7, 0);
  for (int round = 0; round < 10 && wait != ce::WAIT_TIMEOUT; ++round) {
    PumpDigest();
    wait = ce::MsgWaitForMultipleObjectsEx(0, nullptr, 1000, 79, 0);
  }
}

}  // namespace

void SetEmulationEnabled(bool enabled) { gEnabled = enabled; }
bool EmulationEnabled() { return gEnabled; }

void SetInputTraceHook(InputTraceHook hook) {
  std::lock_guard<std::mutex> lock(gHookMutex);
  gHook = std::move(hook);
}

bool SendKeySequence(ComponentProxy* proxy, std::u16string_view sequence,
                     const SendTarget* target, uint32_t options) {
  if (!EmulationEnabled()) {
    RaiseError(proxy, kEmulationOffError, {kEmulationOffArgument});
    return false;
  }
  const ce::HWND window = target != nullptr ? target->Window() : nullptr;
  KeySequenceContext context;
  context.options = options;
  if (target != nullptr) {
    context.toScreen = [target](ce::POINT p) { return target->ToScreen(p); };
  }
  context.screenWidth = ce::GetSystemMetrics(ce::SM_CXSCREEN);
  context.screenHeight = ce::GetSystemMetrics(ce::SM_CYSCREEN);
  std::optional<std::vector<ce::INPUT>> queue = BuildInputQueue(sequence, context);
  if (!queue) return false;

  if (window != nullptr && (options & sendoption::kNoForeground) == 0) {
    PumpAll();
    ce::SetForegroundWindow(window);
    ce::SetFocus(window);
  }
  InputTraceHook hook;
  {
    std::lock_guard<std::mutex> lock(gHookMutex);
    hook = gHook;
  }
  for (ce::INPUT record : *queue) {
    ce::DWORD& time = record.type == ce::INPUT_KEYBOARD ? record.ki.time : record.mi.time;
    if (time != 0) time += ce::GetTickCount();
    if (hook) hook(kTraceName, record);
    ce::SendInput(1, &record, sizeof record);
  }
  Digest();
  return true;
}

}  // namespace tq
