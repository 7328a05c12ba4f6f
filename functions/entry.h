// How implementation entries are written. TQ_ENTRY(Name) defines tq::entries::Name with the
// entry signature (context, proxy, args); the function catalog (functions/catalog.txt) names
// it on the overloads it implements. Entry names are Function_Form: the function's name and
// the overload form they serve.
#pragma once

#include <cstdint>

#include "frame/call_context.h"
#include "frame/component_proxy.h"

#define TQ_ENTRY(Name) \
  int32_t Name([[maybe_unused]] ::tq::CallContext* context,                  \
               [[maybe_unused]] ::tq::ComponentProxy* proxy, [[maybe_unused]] void** args)
