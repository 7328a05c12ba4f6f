// Byte counts written with a unit: bytes, KB, MB, GB, TB or PB, in steps of 1024, with two
// decimals above bytes. Unit names come from the library's messages, or from the
// application's regional settings when they do not follow the system.
#pragma once

#include <cstdint>
#include <string>

#include "datetime/date_mask_settings.h"

namespace tq {

struct ComponentProxy;

inline constexpr int kLargestSizeUnit = 5;  // 0 chooses; 1 bytes ... 5 TB

// The size `value` in unit `unit` (0 to 5; above 5 nothing is written), the decimal point
// written as `decimal`.
std::u16string FormatDiskSize(double value, int unit, char16_t decimal,
                              const RegionalSettings& settings);

// FormatDiskSize as the standard function runs it: a "DiskSize" mask with the VM's settings
// applied. A unit outside 0..5 raises 81507 and gives the empty text.
std::u16string DiskSizeText(int64_t size, int64_t unit, RegionalSettings settings,
                            ComponentProxy* proxy);

}  // namespace tq
