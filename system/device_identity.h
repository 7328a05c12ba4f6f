// The device's identity: the serial number (IMEI) of a cellular line, the hardware identifier
// and the storage cards. The telephony and storage-card modules are optional: a device without
// them gives an empty IMEI (no error) and a system failure for the storage cards.
#pragma once

#include <string>

#include "frame/component_proxy.h"

namespace tq {

// The serial number of the line named `lineName` (exact match), or of the first line whose
// capabilities can be read when `lineName` is null or empty; "" on any failure.
std::u16string DeviceImei(const char16_t* lineName);
// "PRESETBYTES-PLATFORMBYTES" in upper-case hexadecimal; 80702 with the system code and "" when
// the hardware call is missing or fails.
std::u16string DeviceIdentifier(ComponentProxy* proxy);
// "\CARD" for each storage card, joined by CR LF.
std::u16string StorageCards(ComponentProxy* proxy);

}  // namespace tq
