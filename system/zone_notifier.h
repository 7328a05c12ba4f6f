// The notification thread of the shared zones: it waits on this process's notification
// semaphore of every zone opened with a procedure, calls that zone's procedure with the
// zone's name when one is signalled, and then acknowledges through the zone's acknowledgement
// semaphore, so the writer that is waiting may write again. The thread keeps each zone's
// notification semaphore open and sleeps in the kernel on it (several zones: polled waits).
//
// Invariants: the list of zones is read and changed under one lock, never held while waiting
// or calling a procedure. The thread starts with the first zone and stops (and is joined)
// when the last one goes, and at the latest when the library unloads, so no procedure is
// called after its zone was closed. One zone name is listened to once, whatever the number
// of zones opened under it.
#pragma once

#include <memory>
#include <string>

#include "frame/vm_procedure.h"
#include "platform/windows_types.h"

namespace tq {

struct ZoneListener {
  ZoneListener(std::u16string zoneName, std::u16string objectName, VMObject* procedure);
  ~ZoneListener();
  ZoneListener(const ZoneListener&) = delete;
  ZoneListener& operator=(const ZoneListener&) = delete;
  std::u16string zoneName;    // passed to the procedure
  std::u16string objectName;  // names the semaphores
  KeptProcedure procedure;
  ce::HANDLE notify = nullptr;  // this process's notification semaphore of the zone
};

// Adds the listener (or returns the one already listening to that zone), opening its
// notification semaphore (the zone has created it), and starts the thread when needed.
std::shared_ptr<ZoneListener> AddZoneListener(std::shared_ptr<ZoneListener> listener);
// Drops one use of the listener; the last zone of a name removes it.
void RemoveZoneListener(const std::shared_ptr<ZoneListener>& listener);
// Stops the thread and forgets every listener (the finaliser of the named-object list).
void StopZoneNotifications();

}  // namespace tq
