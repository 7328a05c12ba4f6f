// The numbers-and-text part of tq240 demo: encodings, identifiers, passwords, pattern matching
// and URI parsing.
#pragma once

#include "host/call_runner.h"

namespace tqhost {

// Prints the section's steps with the calls' results, as the rest of the tour does.
void RunTextDemo(CallRunner& runner);

}  // namespace tqhost
