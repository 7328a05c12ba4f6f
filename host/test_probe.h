// A test probe: a shared object that tests name in TQ_TEST_PROBE and whose entries replace
// chosen overloads of the library, so that tq240's argument forms, output rules and VM
// services can be tested through the process before (and independently of) the family
// functions that will use them. Never set outside tests.
//
// The probe exports:
//   void TqProbeStart(VMObject* allocator)          -- called once after loading;
//   ImplementationEntry TqProbeEntry(uint32_t function, int32_t overload)
//                                                   -- the replacing entry, or null;
//   void TqProbeStop()                              -- optional: ends its background threads.
#pragma once

#include <cstdint>

#include "frame/function_table.h"

namespace tqhost {

// The probe's entry for the overload, or null (no probe, or the probe does not replace it).
tq::ImplementationEntry ProbeEntry(uint32_t function, int overload);

// Lets the probe finish its background work (called before the closing record).
void StopProbe();

}  // namespace tqhost
