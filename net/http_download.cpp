// One HTTP GET into a local file, over the bound socket table.
#include "net/http_download.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "frame/text.h"
#include "net/download_file.h"
#include "net/http_response_head.h"
#include "platform/last_error.h"

namespace tq::net {
namespace {

using namespace ce;
using Clock = std::chrono::steady_clock;

constexpr size_t kReceiveBytes = 64 * 1024;

// One flag per byte value: true when the byte is sent as "%XX".
constexpr bool NeedsEscape(unsigned char byte) {
  if (byte <= 32 || byte >= 123) return true;
  switch (byte) {
    case 34: case 37: case 43: case 60: case 62: case 91: case 92: case 93: case 94: case 96:
      return true;
    default:
      return false;
  }
}

struct EscapeTable {
  bool escape[256];
  constexpr EscapeTable() : escape{} {
    for (int b = 0; b < 256; ++b) escape[b] = NeedsEscape(static_cast<unsigned char>(b));
  }
};
constexpr EscapeTable kEscapeTable;

int32_t BlocksOf(uint64_t bytes) {
  const uint64_t blocks = (bytes + HttpDownload::kBlockBytes - 1) / HttpDownload::kBlockBytes;
  return blocks > INT32_MAX ? INT32_MAX : static_cast<int32_t>(blocks);
}

}  // namespace

std::string EscapeRequestPath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(path.size());
  for (char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (kEscapeTable.escape[byte]) {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 15];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

HttpDownload::HttpDownload(std::u16string host, uint16_t port)
    : host_(std::move(host)), port_(port) {}

HttpDownload::~HttpDownload() { CloseSocket(); }

void HttpDownload::CloseSocket() {
  if (socket_ != 0) SocketLayer::Entries().closesocket(socket_);
  socket_ = 0;
}

bool HttpDownload::Connect(std::string_view host, uint16_t port) {
  const SocketEntries& table = SocketLayer::Entries();
  port_ = port;
  const std::string name(host.substr(0, host.find('\0')));
  const WS_hostent* entry = nullptr;
  if (!name.empty() && name[0] >= '0' && name[0] <= '9') {
    const WS_u_long address = table.inet_addr(name.c_str());
    if (address != WS_INADDR_NONE) {
      entry = table.gethostbyaddr(reinterpret_cast<const char*>(&address), 4, WS_AF_INET);
    }
  }
  if (entry == nullptr) entry = table.gethostbyname(name.c_str());
  if (entry == nullptr || entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr ||
      entry->h_length != 4) {
    SetNetFailure(&failure_, 28907, {Cp1252ToUtf16(name)});
    return false;
  }
  WS_sockaddr_in address{};
  address.sin_family = entry->h_addrtype;
  std::memcpy(&address.sin_addr, entry->h_addr_list[0], 4);
  address.sin_port = table.htons(port);

  CloseSocket();
  const SOCKET s = table.socket(WS_AF_INET, WS_SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) {
    const DWORD code = GetLastError();
    SetNetFailure(&failure_, 28908, {code}, code);
    return false;
  }
  socket_ = s;
  if (table.connect(s, reinterpret_cast<const WS_sockaddr*>(&address), sizeof address) != 0) {
    const DWORD code = GetLastError();
    SetNetFailure(&failure_, 28909, {code}, code);
    CloseSocket();
    return false;
  }
  return true;
}

bool HttpDownload::Download(std::u16string_view localFile, std::u16string_view requestPath,
                            const std::atomic<bool>* stop) {
  failure_ = NetFailure{};
  bodyBytes_ = 0;
  DownloadFile file;
  if (!file.Create(localFile)) {
    SetNetFailure(&failure_, 28911, {localFile, file.error()}, file.error());
    return false;
  }
  if (progress_ != nullptr) {
    progress_->SetRange(range_);
    progress_->SetPosition(0);
  }
  const std::string host = Utf16ToCp1252(host_);
  const std::string path = EscapeRequestPath(Utf16ToCp1252(requestPath));
  if (!Connect(host, port_)) return false;

  const std::string request =
      "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nAccept: */*\r\n\r\n";
  const SocketEntries& table = SocketLayer::Entries();
  if (request.size() > INT32_MAX ||
      table.send(socket_, request.data(), static_cast<int>(request.size()), 0) !=
          static_cast<int>(request.size())) {
    const DWORD code = GetLastError();
    SetNetFailure(&failure_, 28912, {code}, code);
    CloseSocket();
    return false;
  }

  const Received end = (stop != nullptr && stop->load()) ? Received::kStopped
                                                          : ReceiveAnswer(&file, localFile, stop);
  if (progress_ != nullptr) progress_->SetPosition(range_);
  CloseSocket();
  const bool closed = file.Close();
  switch (end) {
    case Received::kStopped:
      SetNetFailure(&failure_, 28913, {});
      return false;
    case Received::kTooLong:
      SetNetFailure(&failure_, 28910, {host_, timeLimit_});
      return false;
    case Received::kFailed:
      return false;  // the failure is already recorded
    case Received::kClosed:
    case Received::kSilent:
      break;
  }
  if (!closed) {
    SetNetFailure(&failure_, 28911, {localFile, file.error()}, file.error());
    return false;
  }
  return true;
}

HttpDownload::Received HttpDownload::ReceiveAnswer(DownloadFile* file,
                                                   std::u16string_view localFile,
                                                   const std::atomic<bool>* stop) {
  const SocketEntries& table = SocketLayer::Entries();
  const Clock::time_point start = Clock::now();
  std::vector<char> buffer(kReceiveBytes);
  ResponseHeadScanner head;
  uint64_t received = 0;
  int32_t shownBlocks = 0;
  while (true) {
    int32_t wait = kSilenceMilliseconds;
    if (timeLimit_ != 0) {
      const auto spent =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
      if (spent >= timeLimit_) return Received::kTooLong;
      wait = static_cast<int32_t>(std::min<int64_t>(wait, timeLimit_ - spent));
    }
    WS_fd_set readable{};
    readable.fd_count = 1;
    readable.fd_array[0] = socket_;
    const WS_timeval timeout{wait / 1000, (wait % 1000) * 1000};
    const int ready = table.select(0, &readable, nullptr, nullptr, &timeout);
    if (ready == 0) {
      if (wait < kSilenceMilliseconds) return Received::kTooLong;
      return Received::kSilent;
    }
    int n = ready < 0 ? SOCKET_ERROR
                      : table.recv(socket_, buffer.data(), static_cast<int>(buffer.size()), 0);
    if (n == 0) return Received::kClosed;
    if (n < 0) {
      const DWORD code = GetLastError();
      SetNetFailure(&failure_, 28909, {code}, code);
      return Received::kFailed;
    }
    received += static_cast<uint64_t>(n);
    if (progress_ != nullptr && BlocksOf(received) != shownBlocks) {
      shownBlocks = BlocksOf(received);
      progress_->SetPosition(shownBlocks);
    }

    std::string_view block(buffer.data(), static_cast<size_t>(n));
    if (!head.complete()) {
      const size_t bodyStart = head.Feed(block);
      if (bodyStart == ResponseHeadScanner::kInHead) continue;
      if (const std::optional<int64_t> length = head.ContentLength()) {
        range_ = ProgressRangeOf(*length);
        if (progress_ != nullptr) progress_->SetRange(range_);
      }
      block.remove_prefix(bodyStart);
    }
    if (!block.empty()) {
      if (!file->Write(block.data(), block.size())) {
        SetNetFailure(&failure_, 28911, {localFile, file->error()}, file->error());
        return Received::kFailed;
      }
      bodyBytes_ += block.size();
    }
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) return Received::kStopped;
  }
}

}  // namespace tq::net
