// The device's system modules that the device functions load at run time: "coredll.dll"
// (power, hardware and display calls by name), "ceshell.dll" (special folders by ordinal),
// and the optional "cellcore.dll" (telephony; only on a device with a cellular line) and
// "note_prj.dll" (storage cards; absent when device.json sets "storage_cards" to null).
//
// Invariants: registration happens once per process, from the device's description, before
// the first load; a module the device lacks stays unregistered, so loading it fails as on a
// device without it.
#pragma once

namespace ce {

void RegisterDeviceSystemModules();

}  // namespace ce
