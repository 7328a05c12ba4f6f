// The registry, INI-file, file-association and persistent-parameter section of `tq240 demo`.
#pragma once

namespace tqhost {

class CallRunner;

// Prints the section's steps and what each call returned, with the runner of the tour (one
// execution context, so the parameter store's mode carries from step to step). The demo
// works under HKEY_CURRENT_USER\Software\Tq240Demo and in the file \Tq240Demo.ini of the
// device, and removes the keys again at its end.
void ShowRegistryDemo(CallRunner& runner);

}  // namespace tqhost
