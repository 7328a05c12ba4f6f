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
  int32_t stringMode = 0;    // VMServices 218 (--string-mode)
  std::optional<JsonValue> settings;  // --settings
};

void ConfigureVM(const VMConfig& config);
const VMConfig& CurrentVMConfig();

// The VM's numbered services (its "Execution" export with code 3053).
intptr_t VMService(intptr_t number);

// The VMAllocator (service 13): VMStrings with the 12-byte header, on the C heap.
tq::VMObject* Allocator();

// The VMServices object given with every call.
tq::VMObject* Services();

// The call in progress: its arguments (1-based as GetArgument counts them), the variables
// passed as extra arguments of an open-ended overload (their names, empty for other
// arguments; ArgumentReference writes their values in `arguments`), and what the entry
// handed to SetResult.
struct CallState {
  std::vector<HostValue> arguments;
  std::vector<std::string> variableNames;
  size_t declaredCount = 0;
  bool resultSet = false;
  int setResultCount = 0;
  HostValue result;
};
CallState& CurrentCall();

// Procedures (p:NAME): one VM procedure object per name for the whole run, and the calls the
// library made to them since the last TakeProcedureCalls, in order, from any thread.
struct ProcedureCall {
  std::string procedure;
  std::vector<HostValue> arguments;
};
tq::VMObject* ProcedureNamed(std::u16string_view name);
std::vector<ProcedureCall> TakeProcedureCalls();

// The application's controls (--form): the VM's control object of that name, or null.
tq::VMObject* ControlNamed(const char16_t* name);
// The handle of the form's window (0 without a form).
intptr_t FormWindowHandle();

// Texts of the VM's text type (110): a 4-byte handle to a text kept for the run.
uint32_t KeepVMText(std::u16string text);
std::u16string VMTextOf(uint32_t handle);

// VM arrays (type 140).
tq::VMObject* NewArray(std::vector<HostValue> elements);
const std::vector<HostValue>* ArrayElements(tq::VMObject* array);
void ReleaseArrays();

// Whether payloads of base type `code` are VMStrings (texts, and buffers of code 28).
inline bool IsTextCode(uint8_t code) {
  switch (code) {
    case 16: case 28: case 121: case 122: case 126: case 127: case 130: case 131:
      return true;
    default:
      return false;
  }
}

// Reading a VM payload of type `code` at `storage` into a HostValue (SetResult, references,
// array elements), and filling a DynamicValue from a HostValue (GetArgument). Dynamic values
// are built with the VM's own value code.
HostValue ReadPayload(const void* storage, uint32_t code);
// A buffer result (SetResult code 28): a VMString whose header length counts bytes.
HostValue ReadBufferPayload(const void* storage);
// What a DynamicValue holds: as ReadPayload, with type 28 read as a buffer.
HostValue ReadDynamicPayload(const tq::DynamicValue& value);
// Stores `bytes` in `s` as a buffer value (null for no bytes); 0 or the allocator's code.
int32_t AssignBuffer(tq::VMString& s, std::string_view bytes);
int32_t FillDynamic(const HostValue& value, tq::DynamicValue& out);

// The VM's conversion between types (nConversionDepassementExt): `value` converted to the
// kind of type `code`; nullopt when the conversion is not possible.
std::optional<HostValue> ConvertValue(const HostValue& value, uint32_t code);

}  // namespace tqhost
