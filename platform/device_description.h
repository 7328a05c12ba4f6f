// The simulated device's description: the file `.device/device.json` of the device root,
// read once per process. Every member is optional; an absent member takes the default below.
// A member that is malformed is reported once on standard error, by name, and its default
// used; a file that is not JSON at all is reported once and every default used.
//
//   screen         {width, height} in pixels                       240 x 320
//   display        {orientations: [degrees...], orientation}       [0, 90, 180, 270], 0
//   os             {major, minor, build, platform (3 CE, 2 NT),   5, 2, 1235, 3,
//                   csd, suite_mask, platform_type}                 "", 0, "PocketPC"
//   device_id      {preset: HEX, platform: HEX}, or null: the       preset 0102..10 (16 bytes),
//                  HAL call fails                                   platform 0a0b0c0d
//   cellular       [{name, serial}]; empty: no cellular module      []
//   storage_cards  names of root folders that are cards             []
//   shares         {"\\server\share": {path: HOSTDIR, password}}    {}
//
// The device itself changes its display orientation: WriteDisplayOrientation updates the file
// (keeping every other member as written) and the description in force.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ce {

struct DeviceScreen {
  int32_t width = 240;
  int32_t height = 320;
};

struct DeviceDisplay {
  std::vector<int32_t> orientations{0, 90, 180, 270};
  int32_t orientation = 0;
};

struct DeviceOs {
  uint32_t major = 5;
  uint32_t minor = 2;
  uint32_t build = 1235;
  uint32_t platform = 3;  // 3 Windows CE, 2 Windows NT
  std::u16string csd;
  uint32_t suiteMask = 0;
  std::u16string platformType = u"PocketPC";
};

struct DeviceIdentifier {
  std::string preset;    // bytes
  std::string platform;  // bytes
};

struct CellularModule {
  std::u16string name;
  std::u16string serial;
};

struct NetworkShare {
  std::string hostPath;  // the host directory behind the share
  std::optional<std::u16string> password;  // absent: any password connects
};

// The default identifier: preset 01 02 .. 10, platform 0a 0b 0c 0d.
DeviceIdentifier DefaultDeviceIdentifier();

struct DeviceDescription {
  DeviceScreen screen;
  DeviceDisplay display;
  DeviceOs os;
  std::optional<DeviceIdentifier> deviceId = DefaultDeviceIdentifier();
  std::vector<CellularModule> cellular;
  std::vector<std::u16string> storageCards;
  // Keyed by the share's remote name as written ("\\server\share").
  std::map<std::u16string, NetworkShare> shares;
  // One sentence per malformed member (already reported).
  std::vector<std::string> problems;
};

// Parses a description's text; never fails: malformed members are described in `problems`
// and keep their defaults.
DeviceDescription ParseDeviceDescription(std::string_view json);

// The description of the device root in force, read at the first call (problems reported
// once on standard error).
std::shared_ptr<const DeviceDescription> CurrentDeviceDescription();

// The host path of the description file of the device root in force.
std::string DeviceDescriptionPath();

// Records a new display orientation in the file and in the description in force. False when
// the file cannot be written or holds text that is not a JSON object (it is left alone).
bool WriteDisplayOrientation(int32_t degrees);

// Tests: forget the description read, so that the next call reads the file again.
void ResetDeviceDescriptionForTesting();

}  // namespace ce
