// The core and shell library handles the device functions keep between calls.
#include "system/device_globals.h"

#include <mutex>

#include "platform/device_modules.h"
#include "platform/modules.h"

namespace tq {
namespace {

std::mutex gMutex;
ce::HMODULE gCore = nullptr;   // guarded by gMutex
ce::HMODULE gShell = nullptr;  // guarded by gMutex

ce::HMODULE Load(ce::HMODULE& slot, const char16_t* name) {
  ce::RegisterDeviceSystemModules();
  std::lock_guard<std::mutex> lock(gMutex);
  if (slot == nullptr) slot = ce::LoadLibraryW(name);
  return slot;
}

}  // namespace

ce::HMODULE CoreLibrary() { return Load(gCore, u"coredll.dll"); }
ce::HMODULE ShellLibrary() { return Load(gShell, u"ceshell.dll"); }

void ReleaseDeviceGlobals() {
  std::lock_guard<std::mutex> lock(gMutex);
  for (ce::HMODULE* slot : {&gCore, &gShell}) {
    if (*slot != nullptr) ce::FreeLibrary(*slot);
    *slot = nullptr;
  }
}

}  // namespace tq
