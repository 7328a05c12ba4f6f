// The simulated device's calls directly: the window model, SendInput and its log, the
// clipboard files, and the reading of device.json.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/clipboard.h"
#include "platform/device_description.h"
#include "platform/device_state_files.h"
#include "platform/input.h"
#include "platform/window_manager.h"
#include "tests/platform/device_fixture.h"

namespace {

class DevicePlatform : public ce::testing::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    std::filesystem::create_directories(root_);
    ce::ResetDeviceDescriptionForTesting();
    ce::ResetWindowsForTesting();
  }
  void TearDown() override {
    ce::ResetWindowsForTesting();
    ce::ResetDeviceDescriptionForTesting();
    DeviceTest::TearDown();
  }
};

TEST_F(DevicePlatform, WindowsKeepTitleRectanglesFocusAndOwnerAnswers) {
  const ce::HWND form = ce::CreateSimulatedWindow({u"Form", nullptr, nullptr, {10, 20, 210, 220}});
  ce::WindowDescription edit{u"", form, nullptr, {20, 30, 120, 50}};
  edit.ownerAnswer = 7;
  const ce::HWND field = ce::CreateSimulatedWindow(edit);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(form), ce::kFirstWindowHandle);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(field), ce::kFirstWindowHandle + ce::kWindowHandleStep);

  char16_t title[4];
  EXPECT_EQ(ce::GetWindowTextW(form, title, 4), 3);
  EXPECT_EQ(std::u16string(title), u"For");
  EXPECT_EQ(ce::SendMessageW(field, ce::kOwnerQueryMessage, 0, 0), 7);
  EXPECT_EQ(ce::SendMessageW(form, ce::kOwnerQueryMessage, 0, 0), 0);

  ce::POINT p{5, 6};
  ASSERT_TRUE(ce::ClientToScreen(field, &p));
  EXPECT_EQ(p.x, 25);
  EXPECT_EQ(p.y, 36);
  ce::SetFocus(field);
  EXPECT_EQ(ce::GetFocus(), field);
  EXPECT_EQ(ce::GetForegroundWindow(), form);

  const ce::RECT client{0, 0, 100, 20};
  EXPECT_TRUE(ce::RectVisible(ce::GetDC(field), &client));
  ce::ShowWindow(form, 0);  // hiding the parent hides the child
  EXPECT_FALSE(ce::RectVisible(ce::GetDC(field), &client));
  const ce::RECT offScreen{500, 500, 600, 600};
  ce::ShowWindow(form, 1);
  EXPECT_FALSE(ce::RectVisible(ce::GetDC(field), &offScreen));

  ce::DestroyWindow(field);
  EXPECT_FALSE(ce::IsWindow(field));
  EXPECT_EQ(ce::GetFocus(), nullptr);
}

TEST_F(DevicePlatform, SendInputLogsEachRecordAndPostsKeysToTheFocus) {
  const ce::HWND form = ce::CreateSimulatedWindow({u"Form", nullptr, nullptr, {0, 0, 240, 320}});
  ce::SetFocus(form);
  ce::INPUT records[2] = {};
  records[0].type = ce::INPUT_KEYBOARD;
  records[0].ki.wVk = 65;
  records[1].type = ce::INPUT_MOUSE;
  records[1].mi.dx = 65535;
  records[1].mi.dy = 0;
  records[1].mi.dwFlags = 0x8001;
  EXPECT_EQ(ce::SendInput(2, records, sizeof(ce::INPUT)), 2u);
  EXPECT_EQ(*ce::ReadDeviceStateFile("input.log"),
            "{\"type\": 1, \"wVk\": 65, \"wScan\": 0, \"dwFlags\": 0, \"time\": 0, "
            "\"dwExtraInfo\": 0}\n"
            "{\"type\": 0, \"dx\": 65535, \"dy\": 0, \"mouseData\": 0, \"dwFlags\": 32769, "
            "\"time\": 0, \"dwExtraInfo\": 0}\n");
  ce::POINT cursor;
  ce::GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 239);
  ce::MSG m;
  ASSERT_TRUE(ce::PeekMessageW(&m, nullptr, 0, 0, ce::PM_REMOVE));
  EXPECT_EQ(m.message, ce::WM_KEYDOWN);
  EXPECT_EQ(m.wParam, 65u);
  EXPECT_EQ(ce::MsgWaitForMultipleObjectsEx(0, nullptr, 0, 1, 0), ce::WAIT_TIMEOUT);
}

TEST_F(DevicePlatform, MulDivRoundsAndRefusesZeroAndOverflow) {
  EXPECT_EQ(ce::MulDiv(120, 65535, 240), 32768);
  EXPECT_EQ(ce::MulDiv(-120, 65535, 240), -32768);
  EXPECT_EQ(ce::MulDiv(5, 65535, 0), -1);
  EXPECT_EQ(ce::MulDiv(0x7FFFFFFF, 4, 1), -1);
}

TEST_F(DevicePlatform, ClipboardReadsTheDeviceFiles) {
  EXPECT_FALSE(ce::IsClipboardFormatAvailable(ce::CF_UNICODETEXT));
  ASSERT_TRUE(ce::SetClipboardTextForDevice(u"été"));
  EXPECT_TRUE(ce::IsClipboardFormatAvailable(ce::CF_UNICODETEXT));
  EXPECT_EQ(ce::GetClipboardData(ce::CF_UNICODETEXT), nullptr);  // not open
  ASSERT_TRUE(ce::OpenClipboard(nullptr));
  EXPECT_FALSE(ce::OpenClipboard(nullptr));
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(ce::GetClipboardData(13))), u"été");
  EXPECT_EQ(ce::GetClipboardData(ce::CF_BITMAP), nullptr);
  EXPECT_TRUE(ce::CloseClipboard());
}

TEST(DeviceDescription, NullStorageCardsRemoveTheCardModule) {
  EXPECT_TRUE(ce::ParseDeviceDescription(R"({"storage_cards": []})").storageCardModule);
  const ce::DeviceDescription none = ce::ParseDeviceDescription(R"({"storage_cards": null})");
  EXPECT_FALSE(none.storageCardModule);
  EXPECT_TRUE(none.problems.empty());
}

}  // namespace
