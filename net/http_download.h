// HttpDownload: one file fetched with a single HTTP/1.1 GET over a plain TCP connection, the
// answer's body written to a local file of the device, with an optional progress bar.
//
// The request is exactly "GET <path> HTTP/1.1\r\nHost: <host>\r\nAccept: */*\r\n\r\n", the
// path converted to code page 1252 and escaped byte by byte (see EscapeRequestPath). The answer
// is untrusted: the status line is not judged, the head ends at the first blank line, and every
// byte behind it is stored as received, however many the server announced. The transfer ends
// when the server closes the connection or stays silent for 2 seconds (result true), or on a
// failure (result false, with its message in failure()).
//
// Invariants: memory stays bounded whatever the answer (one receive buffer, the head's first
// 64 KiB, the file buffer); the socket is closed at the end of every download. The progress bar
// counts 128-byte blocks; data are read in larger pieces, which changes nothing but speed.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/socket_layer.h"

namespace tq::net {

// The progress bar of a download (the device's progress-bar control).
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void SetRange(int32_t maximum) = 0;  // the range is 0..maximum
  virtual void SetPosition(int32_t position) = 0;
};

// The request path escaped byte by byte: bytes 0-32, 34, 37, 43, 60, 62, 91-94, 96 and 123-255
// become "%XX" (upper-case hexadecimal), all others pass unchanged.
std::string EscapeRequestPath(std::string_view path);

class HttpDownload {
 public:
  static constexpr int kBlockBytes = 128;
  static constexpr int32_t kSilenceMilliseconds = 2000;

  // `host` is the server's name or dotted address; `port` the port the download connects to.
  HttpDownload(std::u16string host, uint16_t port);
  ~HttpDownload();
  HttpDownload(const HttpDownload&) = delete;
  HttpDownload& operator=(const HttpDownload&) = delete;

  void SetProgress(ProgressSink* progress, int32_t range) {
    progress_ = progress;
    range_ = range;
  }
  // An overall limit for one download (0: none); reaching it ends the download as a failure.
  void SetTimeLimit(uint32_t milliseconds) { timeLimit_ = milliseconds; }

  // Resolves `host` (8-bit text) and connects to it; false with message 28907, 28908 or 28909.
  bool Connect(std::string_view host, uint16_t port);
  // Fetches `requestPath` into the device file `localFile`. `stop` (may be null) is read
  // before the transfer and between blocks; once set, the download ends as a failure.
  bool Download(std::u16string_view localFile, std::u16string_view requestPath,
                const std::atomic<bool>* stop);

  const NetFailure& failure() const { return failure_; }
  int32_t range() const { return range_; }
  uint64_t bodyBytes() const { return bodyBytes_; }

 private:
  enum class Received { kClosed, kSilent, kFailed, kStopped, kTooLong };
  Received ReceiveAnswer(class DownloadFile* file, std::u16string_view localFile,
                         const std::atomic<bool>* stop);
  void CloseSocket();

  std::u16string host_;
  uint16_t port_;
  ce::SOCKET socket_ = 0;
  ProgressSink* progress_ = nullptr;
  int32_t range_ = 0;
  uint32_t timeLimit_ = 0;
  uint64_t bodyBytes_ = 0;
  NetFailure failure_;
};

}  // namespace tq::net
