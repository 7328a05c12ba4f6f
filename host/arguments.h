// Command-line arguments of a call: the forms a word can take (plain, prefixed, by reference,
// kept value) and what each form holds. Which parameters accept an argument is in
// parameter_kinds.h, the storage the argument array points to in argument_storage.h.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

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

// Parses one argument word. `kept` serves $NAME and the current value of &NAME (a variable
// not kept yet starts as empty text). p:NAME and k:NAME name a procedure and a control. On
// failure returns nullopt with a message in `error`.
std::optional<Argument> ParseArgument(std::string_view word, const KeptValues& kept,
                                      std::string* error);

// Whole-word number readers shared by the argument rules ('+' allowed in front).
std::optional<int64_t> ReadInteger(std::string_view s);
std::optional<double> ReadReal(std::string_view s);
std::optional<bool> ReadBoolean(std::string_view s);

}  // namespace tqhost
