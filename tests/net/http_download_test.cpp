// HttpDownload against a real server on the loopback interface, well-behaved and not.
#include <chrono>
#include <filesystem>
#include <vector>

#include "net/http_download.h"
#include "platform/utf8.h"
#include "tests/net/http_test_server.h"
#include "tests/net/net_fixture.h"

namespace tqtest {
namespace {

using tq::net::HttpDownload;

struct RecordingProgress : tq::net::ProgressSink {
  std::vector<int32_t> ranges;
  std::vector<int32_t> positions;
  void SetRange(int32_t maximum) override { ranges.push_back(maximum); }
  void SetPosition(int32_t position) override { positions.push_back(position); }
};

class HttpDownloadTest : public NetTest {
 protected:
  void SetUp() override {
    NetTest::SetUp();
    ASSERT_TRUE(StartLayer());
  }
  // Downloads `path` from the server into \out.bin.
  bool Fetch(const HttpTestServer& server, std::u16string path = u"/file.bin",
             const std::atomic<bool>* stop = nullptr) {
    download_ = std::make_unique<HttpDownload>(u"127.0.0.1", server.port());
    download_->SetProgress(&progress_, 0);
    download_->SetTimeLimit(timeLimit_);
    return download_->Download(u"\\out.bin", path, stop);
  }
  std::string Saved() const { return ReadHostFile("out.bin"); }

  std::unique_ptr<HttpDownload> download_;
  RecordingProgress progress_;
  uint32_t timeLimit_ = 0;
};

TEST_F(HttpDownloadTest, BodiesOfEverySizeAreSavedByteForByte) {
  for (uint64_t size : {uint64_t{0}, uint64_t{1}, uint64_t{65536}, uint64_t{50} << 20}) {
    SCOPED_TRACE(size);
    HttpTestServer server({Send(OkHead(size)), SendBody(size)});
    ASSERT_TRUE(Fetch(server)) << ce::Utf16ToUtf8(download_->failure().text);
    EXPECT_EQ(download_->bodyBytes(), size);
    const std::string saved = Saved();
    ASSERT_EQ(saved.size(), size);
    EXPECT_TRUE(saved == GeneratedBody(size));
    EXPECT_EQ(download_->range(), static_cast<int32_t>(size / 128));
    EXPECT_EQ(progress_.positions.back(), download_->range());
  }
}

TEST_F(HttpDownloadTest, TheRequestIsSentExactlyAndThePathEscaped) {
  HttpTestServer server({Send(OkHead(2)), Send("ok")});
  ASSERT_TRUE(Fetch(server, u"/app dir/a+b?x=1&y=\"é\"#top"));
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0],
            "GET /app%20dir/a%2Bb?x=1&y=%22%E9%22#top HTTP/1.1\r\nHost: 127.0.0.1\r\n"
            "Accept: */*\r\n\r\n");
}

struct Misbehaviour {
  const char* name;
  std::vector<ServerStep> script;
  std::string saved;  // what the file holds afterwards
  int32_t range;
};

TEST_F(HttpDownloadTest, UntrustedAnswersEndAsTheDownloadSays) {
  const std::string bigHead = "HTTP/1.1 200 OK\r\n" + std::string(300000, 'h') + "\r\n";
  const std::vector<Misbehaviour> cases = {
      {"head split in tiny pieces",
       {Send("HTTP/1.1 200 OK\r\nContent-Le"), Pause(30), Send("ngth: 1000\r\n\r"), Pause(30),
        Send("\nabc")},
       "abc", 7},
      {"blank line split after its first byte",
       {Send("X\r"), Pause(30), Send("\n\r\nbody")}, "body", 0},
      {"malformed status line", {Send("garbage\r\n\r\nBODY")}, "BODY", 0},
      {"no status line at all", {Send("\r\n\r\nx")}, "x", 0},
      {"closed before the head ends", {Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n")}, "", 0},
      {"closed at once", {}, "", 0},
      {"body shorter than announced", {Send(OkHead(1000)), Send("0123456789")}, "0123456789",
       7},
      {"body longer than announced", {Send(OkHead(3)), Send("0123456789")}, "0123456789", 0},
      {"length that is not a number",
       {Send("HTTP/1.1 200 OK\r\nContent-Length: lots\r\n\r\nz")}, "z", 0},
      {"negative length", {Send("HTTP/1.1 200 OK\r\nContent-Length: -512\r\n\r\nz")}, "z", 0},
      {"huge length",
       {Send("HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\nz")}, "z",
       INT32_MAX},
      {"lower-case header is not read",
       {Send("HTTP/1.1 200 OK\r\ncontent-length: 1000\r\n\r\nz")}, "z", 0},
      {"head far longer than any buffer", {Send(bigHead + "Content-Length: 1280\r\n\r\nend")},
       "end", 0},
      {"status line of any length", {Send("HTTP/1.1 " + std::string(200000, '9') + "\r\n\r\n!")},
       "!", 0},
      {"binary noise in the head", {Send(std::string("\0\xff\r\n\x80\r\n\r\n\0", 10))},
       std::string("\0", 1), 0},
  };
  for (const Misbehaviour& c : cases) {
    SCOPED_TRACE(c.name);
    HttpTestServer server(c.script);
    EXPECT_TRUE(Fetch(server)) << ce::Utf16ToUtf8(download_->failure().text);
    EXPECT_EQ(Saved(), c.saved);
    EXPECT_EQ(download_->range(), c.range);
  }
}

TEST_F(HttpDownloadTest, ASilentServerEndsTheDownloadTwoSecondsAfterItsLastData) {
  HttpTestServer server({Send(OkHead(5) + "hello"), WaitForPeerClose()});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(Fetch(server));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(Saved(), "hello");
  EXPECT_GE(elapsed, std::chrono::milliseconds(1900));
  EXPECT_LT(elapsed, std::chrono::milliseconds(4000));
}

TEST_F(HttpDownloadTest, ATricklingServerIsCutOffByTheTimeLimit) {
  std::vector<ServerStep> script = {Send(OkHead(100))};
  for (int i = 0; i < 40; ++i) {
    script.push_back(Pause(100));
    script.push_back(Send("x"));
  }
  HttpTestServer server(script);
  timeLimit_ = 1000;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Fetch(server));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
  EXPECT_EQ(download_->failure().messageId, 28910u);
  EXPECT_FALSE(download_->failure().text.empty());
}

TEST_F(HttpDownloadTest, AStopFlagEndsTheDownloadAsAFailure) {
  HttpTestServer server({Send(OkHead(4)), Send("data")});
  std::atomic<bool> stop{true};
  EXPECT_FALSE(Fetch(server, u"/f", &stop));
  EXPECT_EQ(download_->failure().messageId, 28913u);
}

TEST_F(HttpDownloadTest, FailuresCarryTheirMessageAndSystemCode) {
  uint16_t closedPort;
  {
    HttpTestServer gone({});
    closedPort = gone.port();
  }
  HttpDownload refused(u"127.0.0.1", closedPort);
  EXPECT_FALSE(refused.Download(u"\\out.bin", u"/", nullptr));
  EXPECT_EQ(refused.failure().messageId, 28909u);
  EXPECT_EQ(refused.failure().systemCode, ce::WSAECONNREFUSED);

  HttpDownload unknown(u"no-such-host.invalid", 80);
  EXPECT_FALSE(unknown.Download(u"\\out.bin", u"/", nullptr));
  EXPECT_EQ(unknown.failure().messageId, 28907u);
  EXPECT_NE(unknown.failure().text.find(u"no-such-host.invalid"), std::u16string::npos);

  HttpTestServer server({Send(OkHead(1)), Send("1")});
  HttpDownload noFolder(u"127.0.0.1", server.port());
  EXPECT_FALSE(noFolder.Download(u"\\missing\\out.bin", u"/", nullptr));
  EXPECT_EQ(noFolder.failure().messageId, 28911u);
  EXPECT_EQ(noFolder.failure().systemCode, ce::ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(server.connections(), 0);  // the file comes first
}

TEST_F(HttpDownloadTest, TheLocalFileNeverLeavesTheDeviceRoot) {
  std::filesystem::create_directories(workDir_ + "/outside");
  std::filesystem::create_directories(root_);
  std::filesystem::create_directory_symlink(workDir_ + "/outside", root_ + "/escape");
  HttpTestServer server({Send(OkHead(1)), Send("1")});
  HttpDownload download(u"127.0.0.1", server.port());
  EXPECT_FALSE(download.Download(u"\\escape\\out.bin", u"/", nullptr));
  EXPECT_EQ(download.failure().systemCode, ce::ERROR_ACCESS_DENIED);
  EXPECT_FALSE(std::filesystem::exists(workDir_ + "/outside/out.bin"));
}

TEST_F(HttpDownloadTest, ProgressCountsBlocksUpToTheAnnouncedRange) {
  HttpTestServer server({Send(OkHead(1000)), SendBody(1000)});
  download_ = std::make_unique<HttpDownload>(u"localhost", server.port());
  download_->SetProgress(&progress_, 3);
  ASSERT_TRUE(download_->Download(u"\\out.bin", u"/", nullptr));
  ASSERT_EQ(progress_.ranges.size(), 2u);
  EXPECT_EQ(progress_.ranges[0], 3);  // the caller's range first
  EXPECT_EQ(progress_.ranges[1], 7);  // then 1000 / 128
  EXPECT_EQ(progress_.positions.front(), 0);
  EXPECT_EQ(progress_.positions.back(), 7);  // the range, once the transfer ended
  // Before that, the blocks received so far, head included: ceil((head + 1000) / 128).
  const int32_t head = static_cast<int32_t>(OkHead(1000).size());
  EXPECT_EQ(progress_.positions[progress_.positions.size() - 2], (head + 1000 + 127) / 128);
}

}  // namespace
}  // namespace tqtest
