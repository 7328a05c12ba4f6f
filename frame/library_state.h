// The frame's globals: one instance per loaded library, all zero at load. Written by the
// entry points during start-up (initialisation, conversion binding, execution start) and only
// read afterwards, except for the counts the VM serialises itself.
#pragma once

#include <cstdint>

#include "frame/vm_object.h"

namespace tq {

class ExecutionHost;

using StringLoader = int32_t (*)(uint32_t messageId, char16_t* buffer, int32_t capacity);

// The VM's services, by the number under which the VM's "Execution" export hands them out.
inline constexpr int kVMServiceCount = 19;

struct LibraryState {
  int32_t initCount = 0;
  intptr_t hostHandle[3] = {};  // the VM's value, kept in three slots other parts read
  int32_t initialised = 0;
  StringLoader stringLoader = nullptr;
  ExecutionHost* host = nullptr;
  uint32_t executionUseCount = 0;
  // Event 4878's argument pointer; also the cell that receives VM service 12 (text services).
  intptr_t eventParameter = 0;
  int32_t languageCode = 12;
  int32_t* languageCell = nullptr;  // designates the cell holding the language code
  void* taskBar = nullptr;          // created by the device functions on first use
  intptr_t vmService[kVMServiceCount] = {};  // services by number, as stored at host start
};

LibraryState& Library();

inline int32_t CurrentLanguageCode() {
  const LibraryState& s = Library();
  return s.languageCell != nullptr ? *s.languageCell : s.languageCode;
}

// Service accessors (null/0 when the VM supplied none).
inline VMObject* EventFilter() { return reinterpret_cast<VMObject*>(Library().vmService[9]); }
inline VMObject* ServicesObject() { return reinterpret_cast<VMObject*>(Library().vmService[7]); }
inline VMObject* TextServices() { return reinterpret_cast<VMObject*>(Library().eventParameter); }

// The language code of the build's version marker: its 14th character selects it.
int32_t LanguageFromVersionMarker(const char* marker);
inline constexpr const char* kVersionMarker = "VersionVI: 01F240077f";

}  // namespace tq
