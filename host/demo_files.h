// The files section of tq240 demo.
#pragma once

#include "host/library_session.h"

namespace tqhost {

// Shows streams, handles, listings, copies and compression in the folder \Temp\demo of the
// device root (created, then removed at the end).
void ShowFilesDemo(LibrarySession& library);

}  // namespace tqhost
