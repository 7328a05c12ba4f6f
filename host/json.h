// The JSON reader and writer of tq240 are the platform's (platform/json.h); the stand-in uses
// them under its own namespace.
#pragma once

#include "platform/json.h"

namespace tqhost {

using ce::JsonError;
using ce::JsonMember;
using ce::JsonString;
using ce::JsonValue;
using ce::ParseJson;

}  // namespace tqhost
