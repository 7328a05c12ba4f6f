// The stream over a shared zone directly: positions bounded by the zone, exact reads at its
// end, cut writes, a read-only view, and what a zone cannot do, each failure reported as a
// file stream reports it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/error_state.h"
#include "platform/last_error.h"
#include "system/shared_zone_stream.h"
#include "system/zone_layout.h"
#include "tests/platform/device_fixture.h"

namespace tq {
namespace {

class ZoneStreamTest : public ce::testing::DeviceTest {
 protected:
  SharedZoneStream* Open(bool writable) {
    ce::DWORD failure = 0;
    auto zone = SharedZone::Open(u"streamed", 100, kLocalScope, writable, &failure);
    EXPECT_NE(zone, nullptr) << failure;
    if (zone == nullptr) return nullptr;
    auto* stream = new SharedZoneStream(std::move(zone), new CXError());
    streams_.push_back(stream);
    return stream;
  }
  void TearDown() override {
    for (SharedZoneStream* stream : streams_) stream->Release();
    DeviceTest::TearDown();
  }
  static std::u16string Diagnostics(const SharedZoneStream& stream) {
    return std::u16string(stream.errorState()->diagnostics.view());
  }
  std::vector<SharedZoneStream*> streams_;
};

TEST_F(ZoneStreamTest, PositionsReadsAndWritesStayInsideTheZone) {
  SharedZoneStream* stream = Open(true);
  ASSERT_NE(stream, nullptr);
  ASSERT_EQ(stream->GetSize(), 4096);  // a whole page
  const struct {
    int64_t offset;
    uint32_t origin;
    int32_t ok;
    int64_t position;     // after the seek
    uint32_t systemCode;  // of a refused seek
  } seeks[] = {{10, 0, 1, 10, 0},           {-4, 1, 1, 6, 0},      {0, 2, 1, 4096, 0},
               {1, 2, 0, 4096, 38},         {-1, 0, 0, 4096, 131}, {0, 7, 0, 4096, 87},
               {INT64_MAX, 1, 0, 4096, 38}, {-4096, 2, 1, 0, 0}};
  for (const auto& seek : seeks) {
    EXPECT_EQ(stream->Seek(seek.offset, seek.origin), seek.ok) << seek.offset;
    EXPECT_EQ(stream->GetPosition(), seek.position) << seek.offset;
    EXPECT_EQ(stream->errorState()->systemCode, seek.systemCode) << seek.offset;
  }

  uint32_t count = 0;
  EXPECT_EQ(stream->WriteAt(4090, "abcdefgh", 8, &count), 0);  // cut at the end
  EXPECT_EQ(count, 6u);
  EXPECT_EQ(stream->errorState()->systemCode, ce::ERROR_HANDLE_EOF);
  EXPECT_EQ(stream->errorState()->messageIds.front(), kMessageWriteFailed);
  EXPECT_NE(Diagnostics(*stream).find(u"##(IXStream)-A ecrire=<8>, ecrit=<6>##"),
            std::u16string::npos);
  EXPECT_NE(std::u16string(stream->errorState()->message.view()).find(u"streamed"),
            std::u16string::npos);

  char bytes[8] = {};
  EXPECT_EQ(stream->ReadAt(4092, bytes, 8, &count), 1);  // a counted read may come short
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(std::string(bytes, 4), "cdef");
  EXPECT_EQ(stream->ReadAt(4092, bytes, 8, nullptr), 0);  // an exact one may not
  EXPECT_EQ(stream->errorState()->messageIds.front(), kMessageReadFailed);
  EXPECT_NE(Diagnostics(*stream).find(u"##(IXStream)-A lire=<8>, lu=<4>##"), std::u16string::npos);
  EXPECT_NE(Diagnostics(*stream).find(u"##(IXStream)-Offset=<4092>##"), std::u16string::npos);
  EXPECT_EQ(stream->Write("x", 0, &count), 1);  // writing nothing succeeds, even at the end
  EXPECT_EQ(stream->errorState()->level, 1u);
}

TEST_F(ZoneStreamTest, ReadOnlyViewsAndWhatAZoneCannotDo) {
  SharedZoneStream* writer = Open(true);
  SharedZoneStream* reader = Open(false);  // joins the same zone
  ASSERT_TRUE(writer != nullptr && reader != nullptr);
  EXPECT_EQ(writer->Write("shared", 6, nullptr), 1);
  char bytes[6] = {};
  EXPECT_EQ(reader->Read(bytes, 6, nullptr), 1);
  EXPECT_EQ(std::string(bytes, 6), "shared");

  EXPECT_EQ(reader->WriteAt(0, "x", 1, nullptr), 0);
  EXPECT_EQ(reader->errorState()->systemCode, ce::ERROR_ACCESS_DENIED);
  EXPECT_NE(Diagnostics(*reader).find(u"##(IXStream)-Access=<4>##"), std::u16string::npos);
  EXPECT_EQ(writer->Truncate(3), 0);
  EXPECT_EQ(writer->errorState()->systemCode, ce::ERROR_NOT_SUPPORTED);
  EXPECT_EQ(writer->Open(u"\\file.txt", 0, 0, 3, 0, nullptr), 0);
  EXPECT_EQ(writer->errorState()->messageIds.front(), kMessageOpenExistingFailed);
  EXPECT_EQ(writer->Close(), 1);  // the zone stays usable until the stream is released
  EXPECT_EQ(writer->Flush(), 1);
  EXPECT_EQ(writer->ReadAt(0, bytes, 6, nullptr), 1);
  EXPECT_EQ(std::string(bytes, 6), "shared");
}

}  // namespace
}  // namespace tq
