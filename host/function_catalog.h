// The stand-in's knowledge of the functions: names and signatures from the function catalog
// (the same source the library's tables are generated from), looked up by id or by name.
#pragma once

#include <cstdint>
#include <string_view>

#include "function_names.h"

namespace tqhost {

// The function with this id, or with this name (compared without regard to case); two ids
// that share their entries accept either name. Null when unknown.
const HostFunction* FindFunction(std::string_view idOrName);
const HostFunction* FindFunctionById(uint32_t id);

// The overload list a function uses (its own or the shared one).
const HostFunction& OverloadOwner(const HostFunction& function);

}  // namespace tqhost
