// File streams and product headers: the error state they leave behind.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "files/product_file.h"
#include "files/stream.h"
#include "frame/error_state.h"
#include "platform/device_path.h"
#include "platform/file_api.h"
#include "platform/last_error.h"
#include "tests/platform/device_fixture.h"

namespace tq {
namespace {

class StreamTest : public ce::testing::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    root = ce::DeviceRoot();
    state = new CXError();
    stream = new FileStream(state);
  }
  void TearDown() override {
    stream->Release();
    DeviceTest::TearDown();
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(root + "/" + name, std::ios::binary) << bytes;
  }
  std::u16string Diagnostics() const { return std::u16string(state->diagnostics.view()); }
  std::string root;
  CXError* state = nullptr;
  FileStream* stream = nullptr;
};

bool Contains(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

TEST_F(StreamTest, OpenFailuresCarryTheCodeAndTheMessage) {
  EXPECT_EQ(stream->Open(u"\\missing.dat", ce::GENERIC_READ, 0, ce::OPEN_EXISTING, 0, nullptr), 0);
  EXPECT_EQ(state->level, 3u);
  EXPECT_EQ(state->systemCode, ce::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(state->messageIds.front(), kMessageOpenExistingFailed);
  EXPECT_TRUE(Contains(std::u16string(state->message.view()), u"\\missing.dat"));
  EXPECT_TRUE(Contains(Diagnostics(), u"##(IXStream)-Handle=<"));

  bool created = true;
  Write("there.dat", "abc");
  EXPECT_EQ(stream->Open(u"\\there.dat", ce::GENERIC_READ, 0, ce::OPEN_ALWAYS, 0, &created), 1);
  EXPECT_EQ(state->level, 1u);  // the next operation started from a clean state
  EXPECT_FALSE(created);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_ALREADY_EXISTS);
  EXPECT_EQ(stream->Open(u"\\new.dat", ce::GENERIC_WRITE, 0, ce::OPEN_ALWAYS, 0, &created), 1);
  EXPECT_TRUE(created);
}

TEST_F(StreamTest, ShortExactReadsReportWhatWasRead) {
  Write("ten.dat", "0123456789");
  ASSERT_EQ(stream->Open(u"\\ten.dat", ce::GENERIC_READ | ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING, 0, nullptr), 1);
  EXPECT_EQ(stream->GetSize(), 10);
  char buffer[16];
  ASSERT_EQ(stream->Seek(4, 0), 1);
  EXPECT_EQ(stream->Read(buffer, 10, nullptr), 0);
  EXPECT_EQ(state->level, 3u);
  EXPECT_TRUE(Contains(Diagnostics(), u"##(IXStream)-A lire=<10>, lu=<6>##"));
  EXPECT_TRUE(Contains(Diagnostics(), u"##(IXStream)-Offset=<4>##"));
  EXPECT_TRUE(Contains(Diagnostics(), u"##(IXStream)-bExact=<1>##"));
  EXPECT_EQ(stream->GetPosition(), 10);
  uint32_t read = 99;
  EXPECT_EQ(stream->ReadAt(8, buffer, 10, &read), 1);
  EXPECT_EQ(read, 2u);
  uint32_t written = 7;
  EXPECT_EQ(stream->Write(buffer, 0, &written), 1);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(stream->Truncate(3), 1);
  EXPECT_EQ(stream->GetSize(), 3);
  EXPECT_EQ(stream->Seek(-1, 0), 0);
  EXPECT_EQ(state->messageIds.front(), kMessageSeekFailed);
}

std::string Header(uint32_t size, uint32_t type, const char* signature = "ORV") {
  char bytes[20] = {};
  std::memcpy(bytes, signature, 3);
  std::memcpy(bytes + 4, &size, 4);
  std::memcpy(bytes + 8, &type, 4);
  bytes[12] = 0x02;  // version word 0x0302: major 3
  bytes[13] = 0x03;
  bytes[14] = 7;
  return std::string(bytes, sizeof bytes);
}

TEST_F(StreamTest, ProductHeadersAreCheckedFieldByField) {
  struct Case {
    std::string bytes;
    uint32_t requested;
    int32_t accepted;
    const char16_t* diagnostic;
  } cases[] = {
      {Header(24, 5) + "pad!", 0, 1, nullptr},
      {Header(20, 259), kProjectElementTypes, 1, nullptr},
      {Header(20, 3), kProjectElementTypes, 0, u"##(CTXFile)-Type demande=<131073>, type lu=<3>##"},
      {Header(20, 9), 9, 1, nullptr},
      {Header(16, 9), 0, 0, u"##(CTXFile)-Taille entete attendue=<20>, Taille entete lue=<16>##"},
      {Header(20, 9, "ORW"), 0, 0, u"##(CTXFile)-Signature geree=<5657167>, signature lue=<5722703>##"},
      {Header(20, 9).substr(0, 12), 0, 0, u"##(IXStream)-A lire=<20>, lu=<12>##"},
  };
  for (const Case& c : cases) {
    Write("h.dat", c.bytes);
    ASSERT_EQ(stream->Open(u"\\h.dat", ce::GENERIC_READ, 0, ce::OPEN_EXISTING, 0, nullptr), 1);
    CTXFile file(c.requested);
    int64_t offset = 0;
    EXPECT_EQ(file.ReadHeader(*stream, &offset), c.accepted) << c.bytes.size();
    if (c.accepted) {
      EXPECT_EQ(offset, c.bytes.size() >= 24 ? 24 : 20);
      EXPECT_EQ(file.version(), 0x0302);
      EXPECT_EQ(file.attribute1(), 7);
    } else {
      EXPECT_EQ(offset, 0);
      EXPECT_TRUE(Contains(Diagnostics(), c.diagnostic)) << std::string(Diagnostics().begin(), Diagnostics().end());
    }
    stream->Close();
  }
}

std::string Link(uint64_t next) {
  return std::string(reinterpret_cast<const char*>(&next), 8);
}

TEST_F(StreamTest, ProjectElementsFollowTheirBlockChain) {
  // Header, element word, link to the block at 40 (stored + 8), which ends the chain.
  std::string file = Header(20, 2) + std::string("\x01\0\0\0", 4) + Link(48);
  file.resize(40, '\0');
  file += Link(0);
  Write("e.dat", file);
  ASSERT_EQ(stream->Open(u"\\e.dat", ce::GENERIC_READ, 0, ce::OPEN_EXISTING, 0, nullptr), 1);
  CEltProjetFile element;
  ASSERT_EQ(element.Read(*stream, 0), 1);
  EXPECT_EQ(element.blocks(), (std::vector<int64_t>{24, 40}));
  stream->Close();

  Write("loop.dat", Header(20, 2) + std::string(4, '\0') + Link(32));
  ASSERT_EQ(stream->Open(u"\\loop.dat", ce::GENERIC_READ, 0, ce::OPEN_EXISTING, 0, nullptr), 1);
  EXPECT_EQ(element.Read(*stream, 0), 0);  // the block links to itself
  stream->Close();

  Write("cut.dat", Header(20, 2) + std::string(4, '\0') + "abc");
  ASSERT_EQ(stream->Open(u"\\cut.dat", ce::GENERIC_READ, 0, ce::OPEN_EXISTING, 0, nullptr), 1);
  EXPECT_EQ(element.Read(*stream, 0), 0);
  EXPECT_TRUE(Contains(Diagnostics(), u"##(CEltProjetFile)-Octet attendu=<8>, octet lu=<3>##"));
  EXPECT_TRUE(CEltProjetFile::AcceptsVersion(4, 0));
  EXPECT_FALSE(CEltProjetFile::AcceptsVersion(0, 0));
  EXPECT_TRUE(CEltProjetFile::AcceptsVersion(0, 0x2fff7));
}

}  // namespace
}  // namespace tq
