// Where the runtime is installed on the device: the "CHEMIN" value of the runtime's registry
// key when it names an existing folder, else "<Windows folder>\ORVANTE\TX24.0", else the
// storage card's "\storage card\ORVANTE\TX24.0".
//
// Invariants: the result always ends with "\"; reading it changes nothing on the device.
#pragma once

#include <string>

namespace tq {

std::u16string RuntimeDirectory();

}  // namespace tq
