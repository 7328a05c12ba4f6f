// Entries whose arguments or services tq240 cannot produce from its command line: the date-
// value forms of PreviousDay and NextDay, and the current time when the VM supplies it
// (GetEnvironmentValue kind 9). A minimal VMServices object answers the two services used.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "datetime/clock.h"
#include "frame/call_context.h"
#include "functions/entry.h"
#include "tests/dates/proxy_fixture.h"

namespace tq::entries {
TQ_ENTRY(PreviousDay_Value);
TQ_ENTRY(NextDay_Value);
}  // namespace tq::entries

namespace tq {
namespace {

struct Recorded {
  uint32_t typeCode = 0;
  int64_t dateValue = 0;
  int calls = 0;
} gRecorded;

bool gAnswerTime = false;

int32_t RecordResult(VMObject*, uint32_t, const void* storage, uint32_t typeCode) {
  ++gRecorded.calls;
  gRecorded.typeCode = typeCode;
  if (typeCode == typecode::kDateTime) std::memcpy(&gRecorded.dateValue, storage, 8);
  return 0;
}

int32_t EnvironmentValue(VMObject*, int32_t kind, void* out) {
  if (!gAnswerTime || kind != 9) return 1;
  const ce::SYSTEMTIME t{2030, 6, 0, 15, 7, 8, 9, 990};
  std::memcpy(out, &t, sizeof t);
  return 0;
}

class DateEntriesTest : public tqtest::ProxyTest {
 protected:
  void SetUp() override {
    ProxyTestOn::SetUp();
    slots_.fill(nullptr);
    slots_[vmservice::kSetResult] = reinterpret_cast<void*>(&RecordResult);
    slots_[vmservice::kGetEnvironmentValue] = reinterpret_cast<void*>(&EnvironmentValue);
    services_.slots = slots_.data();
    context_ = CallContext{&services_, 0, 0, 0, 1};
    gRecorded = Recorded{};
    gAnswerTime = false;
  }

  int64_t CallWithDateValue(int32_t (*entry)(CallContext*, ComponentProxy*, void**),
                            int64_t value) {
    void* args[] = {&value};
    entry(&context_, proxy_, args);
    EXPECT_EQ(gRecorded.calls, 1);
    EXPECT_EQ(gRecorded.typeCode, typecode::kDateTime);
    gRecorded.calls = 0;
    return gRecorded.dateValue;
  }

  std::array<void*, vmservice::kSlotCount> slots_{};
  VMObject services_{nullptr};
  CallContext context_{};
};

TEST_F(DateEntriesTest, PreviousAndNextDayOfADateValue) {
  struct Case {
    int64_t value, previous, next;
  } cases[] = {
      {20240301123456789, 20240229000000000, 20240302000000000},
      {20241231000000000, 20241230000000000, 20250101000000000},
      {20240230000000000, 0, 0},  // not a date
      {0, 0, 0},
      {-5, 0, 0},
      {INT64_MAX, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CallWithDateValue(&entries::PreviousDay_Value, c.value), c.previous) << c.value;
    EXPECT_EQ(CallWithDateValue(&entries::NextDay_Value, c.value), c.next) << c.value;
  }
}

TEST_F(DateEntriesTest, CurrentTimeComesFromTheVmWhenItAnswers) {
  gAnswerTime = true;
  ce::SYSTEMTIME moment{};
  EXPECT_EQ(CurrentTimeText(&context_, &moment), u"07080999");
  EXPECT_EQ(moment.wYear, 2030);
  EXPECT_EQ(moment.wMilliseconds, 990);
  gAnswerTime = false;
  EXPECT_EQ(CurrentTimeText(&context_).size(), 8u);  // declined: the precise clock
}

}  // namespace
}  // namespace tq
