// The VM side of every interface the library calls: the objects the stand-in hands to the
// library (allocator, services, text services, services object, value factory, arrays), the
// state of the call in progress, and the VM's numbered services.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/dynamic_value.h"
#include "frame/vm_object.h"
#include "frame/vm_string.h"
#include "host/host_value.h"
#include "host/json.h"

namespace tqhost {

// What the VM was told at start (options).
struct VMConfig {
  int32_t language = 12;     // handed over at start (service 2)
  int32_t appLanguage = 1;   // CurrentLanguage per call
  std::optional<JsonValue> settings;  // --settings
};

void ConfigureVM(const VMConfig& config);
const VMConfig& CurrentVMConfig();

// The VM's numbered services (its "Execution" export with code 3053).
intptr_t VMService(intptr_t number);

// The VMAllocator (service 13): VMStrings with the 12-byte header, on the C heap.
tq::VMObject* Allocator();
// Live VMString buffers allocated by the VM and not yet freed (leak checks in tests).
int64_t LiveStringCount();

// The VMServices object given with every call.
tq::VMObject* Services();

// The call in progress: its arguments (1-based as GetArgument counts them) and what the entry
// handed to SetResult.
struct CallState {
  std::vector<HostValue> arguments;
  bool resultSet = false;
  int setResultCount = 0;
  HostValue result;
};
CallState& CurrentCall();

// VM arrays (type 140).
tq::VMObject* NewArray(std::vector<HostValue> elements);
const std::vector<HostValue>* ArrayElements(tq::VMObject* array);
void ReleaseArrays();

// Reading a VM payload of type `code` at `storage` into a HostValue (SetResult, references,
// array elements), and filling a DynamicValue from a HostValue (GetArgument). Dynamic values
// are built with the VM's own value code.
HostValue ReadPayload(const void* storage, uint32_t code);
// A buffer result (SetResult code 28): a VMString whose header length counts bytes.
HostValue ReadBufferPayload(const void* storage);
// Stores `bytes` in `s` as a buffer value (null for no bytes); 0 or the allocator's code.
int32_t AssignBuffer(tq::VMString& s, std::string_view bytes);
int32_t FillDynamic(const HostValue& value, tq::DynamicValue& out);

// The VM's conversion between types (nConversionDepassementExt): `value` converted to the
// kind of type `code`; nullopt when the conversion is not possible.
std::optional<HostValue> ConvertValue(const HostValue& value, uint32_t code);

}  // namespace tqhost
