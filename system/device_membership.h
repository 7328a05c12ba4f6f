// The running application's place on its device: while an execution runs, this process is a
// member of the device's process table (so other applications of the same device root can
// count, list and end it), and the first application of a device removes the named objects
// that processes which died before it left behind.
#pragma once

namespace tq {

// At execution start: records this process under the application's path; when no other
// member of the device is alive, removes the device's leftover named objects.
void EnterDevice();
// At execution end: removes this process's record.
void LeaveDevice();

}  // namespace tq
