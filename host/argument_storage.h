// The storage one call's argument array points to: one slot per declared parameter, laid out
// as the parameter's type code says (see host_value.h for the VM layouts), kept alive until
// the call returns. Variables passed as &NAME are read back after the call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/vm_string.h"
#include "host/host_value.h"

namespace tqhost {

class ArgumentStorage {
 public:
  ArgumentStorage() = default;
  ArgumentStorage(const ArgumentStorage&) = delete;
  ArgumentStorage& operator=(const ArgumentStorage&) = delete;
  ~ArgumentStorage();  // releases the VM strings it created

  // Adds the storage of one declared parameter of type `code` holding `value`.
  void Add(uint32_t code, const HostValue& value);
  // Adds a parameter of type `code` filled by the variable `name` (&NAME): a value reference
  // for 80 and 0x8050, the base type's storage for a code with the by-reference bit.
  void AddVariable(uint32_t code, const std::string& name, const HostValue& value);

  void** pointers() { return pointers_.data(); }
  // The variables passed by reference, with their values after the call, in argument order.
  std::vector<std::pair<std::string, HostValue>> ReadVariables() const;

 private:
  struct Slot {
    alignas(16) unsigned char word[40] = {};
    std::u16string text;
    std::string bytes;
    std::unique_ptr<tq::DynamicValue> dynamic;
    tq::VMString string;
    tq::ValueReference reference{};
    std::string variable;
    uint32_t variableCode = 0;  // by-reference bit: the base type read back
  };
  std::vector<std::unique_ptr<Slot>> slots_;
  std::vector<void*> pointers_;
};

// The type code a variable's storage takes from its current value: texts travel as VM strings
// (16), buffers as 28, integers, reals and booleans as 8, 9, 12 and 1.
uint32_t VariableCode(const HostValue& value);

}  // namespace tqhost
