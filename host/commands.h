// The commands of tq240: call, script, functions, describe, info and demo. Each returns the exit status.
#pragma once

#include "host/library_session.h"
#include "host/options.h"

namespace tqhost {

int RunCall(LibrarySession& library, const Options& options);
int RunScript(LibrarySession& library, const Options& options);
int ListFunctions(LibrarySession& library, const Options& options);
int DescribeFunction(LibrarySession& library, const Options& options);
int ShowInformation(LibrarySession& library, const Options& options);
int RunDemo(LibrarySession& library, const Options& options);

}  // namespace tqhost
