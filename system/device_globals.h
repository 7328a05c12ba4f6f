// The two global device objects of the system functions: the core library and the shell
// library, loaded at the first use of a function that needs them and kept for the life of the
// run. The frame releases both when an execution ends and when the library is unloaded; the
// next use loads them again.
#pragma once

#include "platform/windows_types.h"

namespace tq {

// "coredll.dll" (hardware identifier) and "ceshell.dll" (special folders); null with the last
// error set when the device lacks the module.
ce::HMODULE CoreLibrary();
ce::HMODULE ShellLibrary();
void ReleaseDeviceGlobals();

}  // namespace tq
