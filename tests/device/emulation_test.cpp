// EmulateKeys and EmulateMouse over the window model of this process, with controls that the
// tests describe: the checks and their errors, the focus rule, and what reaches the input log.
#include <gtest/gtest.h>

#include <filesystem>

#include "frame/component_proxy.h"
#include "frame/error_state.h"
#include "frame/library_descriptor.h"
#include "platform/device_description.h"
#include "platform/device_state_files.h"
#include "platform/window_manager.h"
#include "system/emulation.h"
#include "system/key_engine.h"
#include "tests/platform/device_fixture.h"

namespace {

struct FakeControl final : tq::ControlAccess {
  bool found = true;
  bool window = false;
  int32_t type = 1;
  int32_t inner = 0;
  ce::HWND handle = nullptr;
  bool enabled = true;
  int32_t state = 0;
  int32_t width = 100, height = 20;
  int32_t scale = 1;  // display units per pixel
  bool Found() const override { return found; }
  std::u16string Name() const override { return u"EDT_Name"; }
  bool IsWindow() const override { return window; }
  int32_t Type() const override { return type; }
  int32_t InnerType() const override { return inner; }
  ce::HWND Window() const override { return handle; }
  bool Enabled() const override { return enabled; }
  int32_t State() const override { return state; }
  int32_t Width() const override { return width; }
  int32_t Height() const override { return height; }
  ce::POINT ToPixels(ce::POINT p) const override { return {p.x / scale, p.y / scale}; }
};

class Emulation : public ce::testing::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    std::filesystem::create_directories(root_);
    ce::ResetDeviceDescriptionForTesting();  // 240 x 320
    ce::ResetWindowsForTesting();
    proxy_ = tq::CreateComponentProxy(tq::ThisLibrary());
    form_ = ce::CreateSimulatedWindow({u"Form", nullptr, nullptr, {0, 0, 240, 320}});
    ce::WindowDescription edit{u"", form_, nullptr, {10, 50, 110, 70}};
    edit.ownerAnswer = 1;
    field_ = ce::CreateSimulatedWindow(edit);
    other_ = ce::CreateSimulatedWindow(edit);
    control_.handle = field_;
    ce::SetFocus(field_);
  }
  void TearDown() override {
    proxy_->table->destroy(proxy_);
    ce::ResetWindowsForTesting();
    ce::ResetDeviceDescriptionForTesting();
    DeviceTest::TearDown();
  }
  uint32_t TakeError() {
    tq::CXError* state = tq::ErrorStateOf(proxy_);
    const uint32_t id = state->level == tq::kLevelNone ? 0 : state->errorId;
    tq::Reset(state);
    return id;
  }
  // The key codes of the log, "+" before a press and "-" before a release, and forget it.
  std::string TakeKeys() {
    std::string keys;
    const std::string log = ce::ReadDeviceStateFile("input.log").value_or("");
    for (size_t at = log.find("\"wVk\": "); at != std::string::npos;
         at = log.find("\"wVk\": ", at + 1)) {
      const size_t flags = log.find("\"dwFlags\": ", at) + 11;
      keys += (std::stoi(log.substr(flags)) & 2) ? '-' : '+';
      keys += std::to_string(std::stoi(log.substr(at + 7))) + ' ';
    }
    ce::RemoveDeviceStateFile("input.log");
    return keys;
  }

  tq::ComponentProxy* proxy_ = nullptr;
  ce::HWND form_ = nullptr, field_ = nullptr, other_ = nullptr;
  FakeControl control_;
};

TEST_F(Emulation, KeysAreSentLiterallyWithModifiersAroundEachElement) {
  tq::EmulateKeys(proxy_, control_, u"1+1", 0);
  EXPECT_EQ(TakeError(), 0u);
  EXPECT_EQ(TakeKeys(), "+49 -49 +43 -43 +49 -49 ");
  tq::EmulateKeys(proxy_, control_, u"ab", tq::kModifierControl);
  EXPECT_EQ(TakeKeys(), "+17 +97 -97 -17 +17 +98 -98 -17 ");
  tq::EmulateKeys(proxy_, control_, u"{ENTER}", tq::kModifierShift | tq::kModifierAlt);
  EXPECT_EQ(TakeKeys(), "+16 +18 +13 -13 -16 -18 ");
  tq::EmulateKeys(proxy_, control_, u"a{ENTER", 1);
  EXPECT_EQ(TakeError(), 81849u);
  EXPECT_EQ(TakeKeys(), "");
  tq::EmulateKeys(proxy_, control_, u"a{ENTER", 0);  // fails to parse: nothing, no error
  EXPECT_EQ(TakeError(), 0u);
  EXPECT_EQ(TakeKeys(), "");
}

TEST_F(Emulation, ControlChecksRaiseTheirErrorsAndSendNothing) {
  struct Case {
    void (*change)(FakeControl&, ce::HWND form);
    uint32_t error;
  };
  const Case cases[] = {
      {[](FakeControl& c, ce::HWND) { c.found = false; }, 81500},
      {[](FakeControl& c, ce::HWND) { c.type = 10; }, 81500},
      {[](FakeControl& c, ce::HWND) { c.type = 134; }, 81500},
      {[](FakeControl& c, ce::HWND) { c.type = 56, c.inner = 3; }, 81500},
      {[](FakeControl& c, ce::HWND) { c.type = 68, c.inner = 110; }, 0},
      {[](FakeControl& c, ce::HWND) { ce::ShowWindow(c.handle, 0); }, 81501},
      {[](FakeControl&, ce::HWND form) { ce::ShowWindow(form, 0); }, 81501},
      {[](FakeControl& c, ce::HWND) { c.handle = nullptr, c.window = true; }, 0},
      {[](FakeControl& c, ce::HWND) { c.enabled = false; }, 81502},
      {[](FakeControl& c, ce::HWND) { c.state = 4; }, 81502},
  };
  for (const Case& c : cases) {
    FakeControl control = control_;
    ce::ShowWindow(field_, 1);
    ce::ShowWindow(form_, 1);
    c.change(control, form_);
    tq::EmulateKeys(proxy_, control, u"x", 0);
    EXPECT_EQ(TakeError(), c.error) << &c - cases;
    EXPECT_EQ(TakeKeys(), c.error == 0 ? "+120 -120 " : "") << &c - cases;
  }
  control_.type = 31;  // accepts the mouse but not keys
  tq::EmulateKeys(proxy_, control_, u"x", 0);
  EXPECT_EQ(TakeError(), 81500u);
  tq::EmulateMouse(proxy_, control_, 0, 1, 1);
  EXPECT_EQ(TakeError(), 0u);
}

TEST_F(Emulation, FocusElsewhereRedirectsListsOrRefuses) {
  ce::SetFocus(other_);
  tq::EmulateKeys(proxy_, control_, u"x", 0);
  EXPECT_EQ(TakeError(), 81503u);
  EXPECT_EQ(TakeKeys(), "");
  control_.type = 14;  // sent to the focused window instead
  tq::EmulateKeys(proxy_, control_, u"x", 0);
  EXPECT_EQ(TakeError(), 0u);
  EXPECT_EQ(TakeKeys(), "+120 -120 ");
  EXPECT_EQ(ce::GetFocus(), other_);
  // A window inside the control (answering nothing) leads to the control through its parent.
  control_.type = 1;
  const ce::HWND inner = ce::CreateSimulatedWindow({u"", field_, nullptr, {12, 52, 20, 60}});
  ce::SetFocus(inner);
  tq::EmulateKeys(proxy_, control_, u"y", 0);
  EXPECT_EQ(TakeError(), 0u);
  EXPECT_EQ(ce::GetFocus(), field_);
  tq::SetEmulationEnabled(false);
  tq::EmulateKeys(proxy_, control_, u"y", 0);
  EXPECT_EQ(TakeError(), 81504u);
  tq::SetEmulationEnabled(true);
  EXPECT_EQ(TakeKeys(), "+121 -121 ");
}

TEST_F(Emulation, MouseClickMovesInTenStepsThenClicks) {
  EXPECT_EQ(tq::ClickText(0x10000, 10, 20), u"{SOURIS,10,20}{BTNGAUCHE,10,20}");
  EXPECT_EQ(tq::ClickText(0x200000 | 1, 1, 2), u"{SOURIS,1,2}{BTNDROIT2,1,2}");
  EXPECT_EQ(tq::ClickText(0x4000000, 1, 2), u"{SOURIS,1,2}{BTNMILIEU-,1,2}");
  EXPECT_EQ(tq::ClickText(0x50000, -1, 2), u"{SOURIS,-1,2}");

  ce::SetCursorPos(10, 50);  // the control's origin: the path starts at (0, 0), left out
  tq::EmulateMouse(proxy_, control_, 0x10000, 10, 20);
  EXPECT_EQ(TakeError(), 0u);
  const std::string log = ce::ReadDeviceStateFile("input.log").value_or("");
  size_t moves = 0, downs = 0, ups = 0;
  for (size_t at = log.find("\"dwFlags\": "); at != std::string::npos;
       at = log.find("\"dwFlags\": ", at + 1)) {
    const int flags = std::stoi(log.substr(at + 11));
    moves += flags == 0x8001;
    downs += flags == 2;
    ups += flags == 4;
  }
  EXPECT_EQ(moves, 9u + 1 + 2);  // the path without (0, 0), the click point, one per button
  EXPECT_EQ(downs, 1u);
  EXPECT_EQ(ups, 1u);
  ce::POINT cursor;
  ce::GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 20);  // 10 + 10, within one pixel of the absolute scale
  EXPECT_EQ(cursor.y, 70);
}

}  // namespace
