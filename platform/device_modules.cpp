// Registration of the device's system modules with the module loader.
#include "platform/device_modules.h"

#include <mutex>

#include "platform/cellular.h"
#include "platform/device_description.h"
#include "platform/display.h"
#include "platform/modules.h"
#include "platform/power.h"
#include "platform/shell_folders.h"
#include "platform/storage_cards.h"

namespace ce {
namespace {

template <typename F>
FARPROC Procedure(F* f) {
  return reinterpret_cast<FARPROC>(f);
}

}  // namespace

void RegisterDeviceSystemModules() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Added to the core library, which other parts of the platform extend too (the network
    // connection service): registering it anew would drop their procedures.
    AddBuiltinDeviceExports(
        u"coredll.dll",
        {{"GwesPowerOffSystem", 0, Procedure(&GwesPowerOffSystem)},
         {"KernelIoControl", 0, Procedure(&KernelIoControl)},
         {"SetSystemPowerState", 0, Procedure(&SetSystemPowerState)},
         {"ChangeDisplaySettingsEx", 0, Procedure(&ChangeDisplaySettingsEx)}});
    // The core library is loaded in every process of the device, for as long as it runs.
    LoadLibraryW(u"coredll.dll");
    RegisterBuiltinDeviceModule(
        u"ceshell.dll", {{"", 10, Procedure(&SHGetSpecialFolderLocation)},
                         {"", 11, Procedure(&SHGetPathFromIDList)},
                         {"", 12, Procedure(&SHGetMalloc)}});
    const std::shared_ptr<const DeviceDescription> d = CurrentDeviceDescription();
    if (!d->cellular.empty()) {
      RegisterBuiltinDeviceModule(
          u"cellcore.dll",
          {{"lineInitializeEx", 0, Procedure(&lineInitializeEx)},
           {"lineShutdown", 0, Procedure(&lineShutdown)},
           {"lineNegotiateAPIVersion", 0, Procedure(&lineNegotiateAPIVersion)},
           {"lineGetDevCaps", 0, Procedure(&lineGetDevCaps)},
           {"lineOpen", 0, Procedure(&lineOpen)},
           {"lineNegotiateExtVersion", 0, Procedure(&lineNegotiateExtVersion)},
           {"lineGetGeneralInfo", 0, Procedure(&lineGetGeneralInfo)},
           {"lineClose", 0, Procedure(&lineClose)}});
    }
    if (d->storageCardModule) {
      RegisterBuiltinDeviceModule(
          u"note_prj.dll", {{"FindFirstFlashCard", 0, Procedure(&FindFirstFlashCard)},
                            {"FindNextFlashCard", 0, Procedure(&FindNextFlashCard)},
                            {"FindClose", 0, Procedure(&CloseFlashCardSearch)}});
    }
  });
}

}  // namespace ce
