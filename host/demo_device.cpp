// tq240 demo, device section. It runs on the demo's device root: it writes the clipboard's
// text, types into the form's focused control when --form gives one, and shows the end of
// ".device/input.log".
#include "host/demo_device.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/demo_step.h"
#include "host/host_value.h"
#include "platform/clipboard.h"
#include "platform/device_state_files.h"

namespace tqhost {
namespace {

const std::vector<DemoStep> kSteps = {
    {"the operating system, as device.json describes it", {"SystemVersion"}},
    {"its version numbers", {"SystemVersion", "1"}},
    {"and its platform type", {"SystemVersion", "3"}},
    {"kinds run from 0 to 5", {"SystemVersion", "6"}},
    {"the screen in pixels: width", {"ScreenSize"}},
    {"and height", {"41"}},
    {"the display orientations the device accepts", {"DisplayOrientations"}},
    {"the current one", {"DisplayOrientation"}},
    {"an angle the display cannot take", {"DisplayOrientation", "45"}},
    {"the hardware identifier: preset part, then platform part", {"DeviceIdentifier"}},
    {"the IMEI: empty on a device without a cellular line", {"DeviceIMEI", "n:"}},
    {"the storage cards", {"StorageCards"}},
    {"special folders: the Windows folder", {"SpecialFolder"}},
    {"the Programs menu", {"SpecialFolder", "4"}},
    {"a folder number outside the table", {"SpecialFolder", "30"}},
    {"the clipboard's text (the demo has just put it there)", {"ClipboardText"}},
    {"no bitmap on the clipboard", {"ClipboardBitmapSize"}},
    {"the foreground window's title (there is one with --form)", {"WindowTitle"}},
    {"power actions other than 2 to 5 are refused", {"PowerAction", "9"}},
    {"typing into the form's window: its name comes from --form",
     {"EmulateKeys", "k:Form", "Hello{ENTER}"}},
};

void ShowInputLog() {
  const std::string log = ce::ReadDeviceStateFile("input.log").value_or("");
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::printf("\n# the last records of .device/input.log (%zu in all)\n", lines.size());
  for (size_t i = lines.size() > 4 ? lines.size() - 4 : 0; i < lines.size(); ++i) {
    std::printf("%s\n", lines[i].c_str());
  }
}

}  // namespace

void RunDeviceDemo(CallRunner& runner) {
  std::printf("\n== The device: system information, display, clipboard, keyboard emulation\n");
  ce::SetClipboardTextForDevice(u"copied on the device");
  RunDemoSteps(runner, kSteps);
  ShowInputLog();
}

}  // namespace tqhost
