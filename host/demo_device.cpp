// tq240 demo, device section. It runs on the demo's device root: it writes the clipboard's
// text, types into the form's focused control when --form gives one, and shows the end of
// ".device/input.log".
#include "host/demo_device.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/host_value.h"
#include "platform/clipboard.h"
#include "platform/device_state_files.h"

namespace tqhost {
namespace {

struct DeviceStep {
  const char* note;
  std::vector<std::string> words;  // function, then arguments
};

const std::vector<DeviceStep> kSteps = {
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

std::string Shown(const std::vector<std::string>& words) {
  std::string out = "tq240 call";
  for (const std::string& w : words) {
    out += " " + (w.find(' ') != std::string::npos ? "'" + w + "'" : w);
  }
  return out;
}

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
  for (const DeviceStep& step : kSteps) {
    std::printf("\n# %s\n$ %s\n", step.note, Shown(step.words).c_str());
    std::string error;
    std::vector<std::string> args(step.words.begin() + 1, step.words.end());
    std::optional<CallRecord> record = runner.Run(step.words[0], args, &error);
    if (!record) {
      std::printf("(not available: %s)\n", error.c_str());
      continue;
    }
    if (record->result && record->result->kind != ValueKind::kNone) {
      std::printf("%s\n", RenderPlain(*record->result).c_str());
    }
    if (record->error.level != 1) {
      std::printf("error %u (level %u): %s\n", record->error.id, record->error.level,
                  ToUtf8(record->error.message).c_str());
    }
  }
  ShowInputLog();
}

}  // namespace tqhost
