// The persistent state of the device clock: the file "<device root>/.device/clock".
//
// Format (text, one record a line, unknown or malformed lines ignored):
//   offset-ms <signed milliseconds added to the host's UTC clock>
//   frozen <TQ_CLOCK in force when it was set> <YYYY-MM-DDTHH:MM:SS.mmm local time>
//
// Invariants: the file is replaced whole (written beside it, then renamed), so a reader sees
// the old state or the new one, never a mix. A missing or unreadable file is the state
// "no offset, no frozen change". Reads are cached and re-done only when the file changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/windows_types.h"

namespace ce {

struct StoredClock {
  int64_t offsetMs = 0;
  std::string frozenBase;                 // the TQ_CLOCK value the frozen change applies to
  std::optional<SYSTEMTIME> frozenValue;  // the local time set while frozen
};

std::string ClockFilePath(const std::string& deviceRoot);

StoredClock LoadStoredClock(const std::string& deviceRoot);

// False with the last error set when the file cannot be written.
bool SaveStoredClock(const std::string& deviceRoot, const StoredClock& state);

}  // namespace ce
