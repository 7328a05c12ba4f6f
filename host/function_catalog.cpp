// Function lookup over the generated host catalog.
#include "host/function_catalog.h"

#include <charconv>
#include <strings.h>

#include <string>

namespace tqhost {

const HostFunction* FindFunctionById(uint32_t id) {
  for (size_t i = 0; i < kHostFunctionCount; ++i)
    if (kHostFunctions[i].id == id) return &kHostFunctions[i];
  return nullptr;
}

const HostFunction& OverloadOwner(const HostFunction& function) {
  if (function.uses == 0 || function.uses == function.id) return function;
  const HostFunction* owner = FindFunctionById(function.uses);
  return owner != nullptr ? *owner : function;
}

const HostFunction* FindFunction(std::string_view idOrName) {
  uint32_t id = 0;
  auto [end, ec] = std::from_chars(idOrName.data(), idOrName.data() + idOrName.size(), id);
  if (ec == std::errc() && end == idOrName.data() + idOrName.size()) return FindFunctionById(id);
  const std::string wanted(idOrName);
  for (size_t i = 0; i < kHostFunctionCount; ++i) {
    const HostFunction& f = kHostFunctions[i];
    if (f.name != nullptr && strcasecmp(f.name, wanted.c_str()) == 0) return &f;
  }
  // A record without a name of its own answers to the name of the function whose entries it
  // shares.
  for (size_t i = 0; i < kHostFunctionCount; ++i) {
    const HostFunction& f = kHostFunctions[i];
    const HostFunction& owner = OverloadOwner(f);
    if (&owner != &f && owner.name != nullptr && strcasecmp(owner.name, wanted.c_str()) == 0)
      return &owner;
  }
  return nullptr;
}

}  // namespace tqhost
