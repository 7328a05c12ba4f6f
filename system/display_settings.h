// The display's orientations: which angles the device accepts, the current angle, and
// changing it. Angles are the texts "0", "90", "180", "270".
#pragma once

#include <string>

#include "frame/component_proxy.h"

namespace tq {

// The accepted angles joined by CR LF; 80147 and "" when none is accepted or the display call
// is missing.
std::u16string DisplayOrientations(ComponentProxy* proxy);
// The current angle; 80147 and "" when it cannot be read.
std::u16string DisplayOrientation(ComponentProxy* proxy);
// Applies `angle` (80700 for a text that is not an angle, 80147 when the display refuses),
// then gives the current angle. A null angle only reads.
std::u16string SetDisplayOrientation(ComponentProxy* proxy, const char16_t* angle);

}  // namespace tq
