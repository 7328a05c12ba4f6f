// The operating system's version as text: platform name ("CE 6.5", "CE 6", ... from the
// version numbers), "major.minor", build number, platform type, service-pack text, bit width.
#pragma once

#include <cstdint>
#include <string>

#include "frame/component_proxy.h"

namespace tq {

// Kinds 0 to 5; any other kind raises 80144 (argument 79872) and gives "".
std::u16string SystemVersion(ComponentProxy* proxy, int32_t kind);

// The platform name of version major.minor, build `build`.
std::u16string PlatformName(uint32_t major, uint32_t minor, uint32_t build);

}  // namespace tq
