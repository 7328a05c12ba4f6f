// The commands of tq240: call, script, functions, describe, info and demo. Each returns the exit status.
#pragma once

#include <string>

#include "host/library_session.h"
#include "host/options.h"

namespace tqhost {

int RunCall(LibrarySession& library, const Options& options);
int RunScript(LibrarySession& library, const Options& options);
int ListFunctions(LibrarySession& library, const Options& options);
int DescribeFunction(LibrarySession& library, const Options& options);
int ShowInformation(LibrarySession& library, const Options& options);
int RunDemo(LibrarySession& library, const Options& options);
int RunCompact(LibrarySession& library, const Options& options);
// Calls the library's exported nfCompacte; -1 when the library does not export it.
int CallCompacte(LibrarySession& library, const std::u16string& source,
                 const std::u16string& destination);

}  // namespace tqhost
