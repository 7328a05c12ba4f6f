// The simulated device's hardware and system as "<device root>/.device/device.json" describes
// them: screen, display orientations, operating-system version, hardware identifier, cellular
// lines and storage cards.
//
// Invariants: the file is read once per process, at the first use; a member that is absent
// takes its default (below), a member of the wrong kind is reported once on standard error,
// naming it, and takes its default too. The display orientation is the one member the device
// changes: SetDisplayOrientation updates this process's copy and writes it back into the file,
// so that the next process starts with it. Every call is thread-safe.
//
// Defaults (a device without device.json): screen 240 x 320; orientations 0, 90, 180, 270,
// current 0; OS 5.2 build 21234 on platform 3 (CE), service-pack text "", suite mask 0,
// platform type "PocketPC"; a hardware identifier (preset 0102030405060708, platform
// 1122334455667788); no cellular line; the storage-card module present, with no cards.
// "device_id": null makes the hardware-identifier call fail; "storage_cards": null removes the
// storage-card module.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/windows_types.h"

namespace ce {

struct CellularLine {
  std::u16string name;
  std::u16string serial;
};

struct DeviceHardware {
  int screenWidth = 240;
  int screenHeight = 320;
  std::vector<int> orientations{0, 90, 180, 270};  // angles the display accepts
  int orientation = 0;                              // current angle
  DWORD osMajor = 5;
  DWORD osMinor = 2;
  DWORD osBuild = 21234;
  DWORD osPlatform = 3;
  std::u16string osCsd;
  DWORD osSuiteMask = 0;
  std::u16string platformType = u"PocketPC";
  // Raw bytes of the identifier's two parts; nullopt: the hardware call fails.
  std::optional<std::pair<std::string, std::string>> deviceId =
      std::make_pair(std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8),
                     std::string("\x11\x22\x33\x44\x55\x66\x77\x88", 8));
  std::vector<CellularLine> cellular;                        // empty: no cellular module
  std::optional<std::vector<std::u16string>> storageCards =  // nullopt: no card module
      std::vector<std::u16string>{};
};

// The description in force for this process.
DeviceHardware CurrentDeviceHardware();
// Changes the current orientation and writes it back; false (last error set) when the file
// cannot be written.
bool SetDisplayOrientation(int angle);
// Parses a device.json text; `problems` receives one sentence per member that was ignored.
DeviceHardware ParseDeviceHardware(std::string_view json, std::vector<std::string>* problems);
// Tests: read the file again at the next use.
void ResetDeviceHardwareForTesting();

}  // namespace ce
