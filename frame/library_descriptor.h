// The LibraryDescriptor: the static description of this library that the ComponentProxy, the
// error reporter and the message loader receive. Pointer fields are pointer-sized; the
// constant words keep their values.
#pragma once

#include <cstdint>

namespace tq {

struct ErrorDefinition;
struct MessageRequest;

struct LibraryDescriptor {
  const ErrorDefinition* errorDefinitions;
  uint32_t errorDefinitionCount;  // 296
  uint32_t constant8;             // 8, interpreted by the VM
  const char16_t* moduleName;     // "tq240std.dll"
  const char16_t* version;        // "24.0.156.0"
  int32_t (*messageLookup)(MessageRequest* request);
  int32_t (*init)(intptr_t host);
  void (*term)();
  uint32_t constant1;  // 1, interpreted by the VM
  void* (*proxyQuery)(int32_t id);
  uint32_t reserved0;
  intptr_t (*information)(int32_t query, int32_t index);
  int32_t (*execution)(int32_t event, intptr_t* arguments, int32_t count);
  uint32_t reserved1[3];
};

const LibraryDescriptor& ThisLibrary();

}  // namespace tq
