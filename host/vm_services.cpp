// The VMServices object handed to the library with every call, and the VM's arrays.
// Operations the stand-in does not provide answer 0 and are reported once on standard error,
// so a family that starts using a new service is noticed at once.
#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <utility>

#include "frame/call_context.h"
#include "frame/error_state.h"
#include "frame/vm_array.h"
#include "frame/vm_controls.h"
#include "frame/vm_string.h"
#include "host/argument_storage.h"
#include "host/regional_settings.h"
#include "host/vm_objects.h"

namespace tqhost {
namespace {

using tq::VMObject;

CallState gCall;

// ---- arrays -----------------------------------------------------------------------------

struct HostArray {
  VMObject object;
  int32_t references = 1;
  std::vector<HostValue> elements;
};
std::map<VMObject*, std::unique_ptr<HostArray>> gArrays;

HostArray* AsArray(VMObject* object) {
  auto it = gArrays.find(object);
  return it == gArrays.end() ? nullptr : it->second.get();
}

int32_t ArrayAddRef(VMObject* self) {
  HostArray* a = AsArray(self);
  return a ? ++a->references : 0;
}
int32_t ArrayRelease(VMObject* self) {
  HostArray* a = AsArray(self);
  if (a == nullptr) return 0;
  // Arrays stay alive until the end of the run: results read them after the entry released.
  return a->references > 0 ? --a->references : 0;
}
int32_t ArrayCount(VMObject* self) {
  HostArray* a = AsArray(self);
  return a ? static_cast<int32_t>(a->elements.size()) : 0;
}
int32_t ArrayDimensions(VMObject* self) { return AsArray(self) ? 1 : 0; }
int32_t ArrayGet(VMObject* self, int32_t index, tq::DynamicValue* out) {
  HostArray* a = AsArray(self);
  if (a == nullptr || out == nullptr || index < 0 ||
      index >= static_cast<int32_t>(a->elements.size()))
    return tq::kValueNotSupported;
  return FillDynamic(a->elements[static_cast<size_t>(index)], *out);
}

void* const kArrayTable[] = {
    reinterpret_cast<void*>(&ArrayAddRef),     reinterpret_cast<void*>(&ArrayRelease),
    reinterpret_cast<void*>(&ArrayCount),      reinterpret_cast<void*>(&ArrayDimensions),
    reinterpret_cast<void*>(&ArrayGet),
};

// ---- services ---------------------------------------------------------------------------

template <size_t N>
intptr_t Unsupported(VMObject*) {
  static bool reported = false;
  if (!reported) {
    reported = true;
    std::fprintf(stderr, "tq240: the library asked for VM service %zu, which the stand-in "
                 "does not provide\n", N);
  }
  return 0;
}

int32_t GetEnvironmentValue(VMObject*, int32_t, void*) { return 1; }  // declined
int32_t CurrentLanguage(VMObject*) { return CurrentVMConfig().appLanguage; }
VMObject* RegionalSettingsFor(VMObject*, void*, int32_t) { return AcquireRegionalSettings(); }
VMObject* RegionalSettingsOfCall(VMObject*) { return AcquireRegionalSettings(); }
intptr_t MainWindow(VMObject*) { return FormWindowHandle(); }
int32_t StringModeService(VMObject*) { return CurrentVMConfig().stringMode; }
VMObject* ControlNamedService(VMObject*, const char16_t* name) { return ControlNamed(name); }

// ---- references to the caller's variables (extra arguments passed as &NAME) -------------

struct VariableReference {
  VMObject object;
  size_t index;  // 0-based argument index
};
std::deque<VariableReference> gReferences;  // live for the run; a few per call at most

int32_t AssignVariable(VMObject* self, const void* storage, uint32_t code) {
  const size_t index = reinterpret_cast<VariableReference*>(self)->index;
  if (index >= gCall.arguments.size()) return tq::kValueNotSupported;
  const HostValue value =
      (code & 0xff) == 28 ? ReadBufferPayload(storage) : ReadPayload(storage, code);
  HostValue& variable = gCall.arguments[index];
  if (value.kind == variable.kind) {
    variable = value;
    return 0;
  }
  // The VM converts the value to the variable's type; a new variable holds text.
  std::optional<HostValue> converted = ConvertValue(value, VariableCode(variable));
  if (!converted) return 101;
  variable = *converted;
  return 0;
}
int32_t ReleaseReference(VMObject*) { return 0; }
void* const kReferenceTable[] = {reinterpret_cast<void*>(&AssignVariable),
                                 reinterpret_cast<void*>(&ReleaseReference)};

VMObject* ArgumentReference(VMObject*, int32_t index, uint32_t) {
  if (index < 1 || static_cast<size_t>(index) > gCall.variableNames.size() ||
      gCall.variableNames[static_cast<size_t>(index) - 1].empty())
    return nullptr;
  gReferences.push_back(VariableReference{VMObject{kReferenceTable}, static_cast<size_t>(index) - 1});
  return &gReferences.back().object;
}

int32_t GetArgument(VMObject*, int32_t index, uint32_t, tq::DynamicValue* out, tq::CXError*) {
  if (out == nullptr || index < 1 || static_cast<size_t>(index) > gCall.arguments.size())
    return tq::kValueNotSupported;
  return FillDynamic(gCall.arguments[static_cast<size_t>(index) - 1], *out);
}

int32_t SetResult(VMObject*, uint32_t, const void* storage, uint32_t code) {
  ++gCall.setResultCount;
  gCall.resultSet = true;
  HostValue& result = gCall.result;
  const auto* text = static_cast<const tq::VMString*>(storage);
  const uint8_t base = static_cast<uint8_t>(code & 0xff);
  if (base != 28 && IsTextCode(base) && text != nullptr && text->chars != nullptr) {
    // The common result, read into the previous result's text so that a loop of calls does
    // not allocate on the VM's side.
    result.kind = ValueKind::kText;
    result.valueType = 0;
    result.integer = 0;
    result.real = 0;
    result.bytes.clear();
    result.elements.clear();
    result.text.assign(tq::View(*text));
  } else {
    result = base == 28 ? ReadBufferPayload(storage) : ReadPayload(storage, code);
  }
  result.typeCode = code;
  return 0;
}

VMObject* CreateArrayService(VMObject*, int32_t count) {
  return NewArray(std::vector<HostValue>(count > 0 ? static_cast<size_t>(count) : 0));
}

int32_t SetArrayElement(VMObject*, VMObject* array, int32_t index, const void* value,
                        uint32_t code) {
  HostArray* a = AsArray(array);
  if (a == nullptr || index < 0 || index >= static_cast<int32_t>(a->elements.size()))
    return tq::kValueNotSupported;
  a->elements[static_cast<size_t>(index)] = ReadPayload(value, code);
  return 0;
}

template <size_t... I>
std::array<void*, sizeof...(I)> StubTable(std::index_sequence<I...>) {
  return {reinterpret_cast<void*>(&Unsupported<I>)...};
}

std::array<void*, tq::vmservice::kSlotCount> MakeServicesTable() {
  auto table = StubTable(std::make_index_sequence<tq::vmservice::kSlotCount>());
  using namespace tq::vmservice;
  table[kGetEnvironmentValue] = reinterpret_cast<void*>(&GetEnvironmentValue);
  table[kCurrentLanguage] = reinterpret_cast<void*>(&CurrentLanguage);
  table[kRegionalSettingsFor] = reinterpret_cast<void*>(&RegionalSettingsFor);
  table[kMainWindow] = reinterpret_cast<void*>(&MainWindow);
  table[kGetArgument] = reinterpret_cast<void*>(&GetArgument);
  table[kArgumentReference] = reinterpret_cast<void*>(&ArgumentReference);
  table[kStringMode] = reinterpret_cast<void*>(&StringModeService);
  table[kControlNamed] = reinterpret_cast<void*>(&ControlNamedService);
  table[kSetResult] = reinterpret_cast<void*>(&SetResult);
  table[kCreateArray] = reinterpret_cast<void*>(&CreateArrayService);
  table[kSetArrayElement] = reinterpret_cast<void*>(&SetArrayElement);
  table[kRegionalSettings] = reinterpret_cast<void*>(&RegionalSettingsOfCall);
  return table;
}

const std::array<void*, tq::vmservice::kSlotCount> kServicesTable = MakeServicesTable();
VMObject gServices{kServicesTable.data()};

}  // namespace

tq::VMObject* Services() { return &gServices; }
CallState& CurrentCall() { return gCall; }

tq::VMObject* NewArray(std::vector<HostValue> elements) {
  auto array = std::make_unique<HostArray>();
  array->object.slots = kArrayTable;
  array->elements = std::move(elements);
  VMObject* key = &array->object;
  gArrays.emplace(key, std::move(array));
  return key;
}

const std::vector<HostValue>* ArrayElements(tq::VMObject* array) {
  HostArray* a = AsArray(array);
  return a ? &a->elements : nullptr;
}

void ReleaseArrays() { gArrays.clear(); }

}  // namespace tqhost
