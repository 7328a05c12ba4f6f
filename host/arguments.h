// Command-line arguments of a call: their forms (plain, prefixed, by reference, kept value),
// which parameter types accept them, and the storage the argument array points to.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/vm_string.h"
#include "host/host_value.h"

namespace tqhost {

using KeptValues = std::map<std::string, HostValue>;

struct Argument {
  enum class Form { kPlain, kTyped, kReference };
  Form form = Form::kPlain;
  std::string plain;   // kPlain: the word as written (UTF-8)
  HostValue value;     // kTyped: the value; kReference: the variable's current value
  std::string name;    // kReference: the variable's name
};

// Parses one argument word. `kept` serves $NAME and the current value of &NAME. On failure
// returns nullopt with a message in `error`.
std::optional<Argument> ParseArgument(std::string_view word, const KeptValues& kept,
                                      std::string* error);

// Whether a parameter of type `code` accepts `argument`.
bool Accepts(uint32_t code, const Argument& argument);

// The value a parameter of type `code` receives from `argument` (plain words are read as the
// parameter's kind; a dynamic parameter reads an integer, else a real, else text).
HostValue ValueForParameter(uint32_t code, const Argument& argument);

// Storage for one call's argument array. Keeps every buffer alive until the call returns and
// releases the VM strings it created.
class ArgumentStorage {
 public:
  ArgumentStorage() = default;
  ArgumentStorage(const ArgumentStorage&) = delete;
  ArgumentStorage& operator=(const ArgumentStorage&) = delete;
  ~ArgumentStorage();

  // Adds the storage of one declared parameter of type `code` holding `value`.
  void Add(uint32_t code, const HostValue& value);
  // Adds a by-reference parameter for variable `name`.
  void AddReference(const std::string& name, const HostValue& value);

  void** pointers() { return pointers_.data(); }
  // The variables passed by reference, with their values after the call.
  std::vector<std::pair<std::string, HostValue>> ReadVariables() const;

 private:
  struct Slot {
    alignas(16) unsigned char word[32] = {};
    std::u16string text;
    std::unique_ptr<tq::DynamicValue> dynamic;
    tq::VMString string;
    tq::ValueReference reference{};
    std::string variable;
  };
  std::vector<std::unique_ptr<Slot>> slots_;
  std::vector<void*> pointers_;
};

}  // namespace tqhost
