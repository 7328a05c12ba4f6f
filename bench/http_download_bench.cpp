// HttpDownload against curl on the same loopback server in the same run:
//   BM_HttpDownload/<MB>  the socket layer and HttpDownload fetching <MB> into a device file
//   BM_Curl/<MB>          `curl -s -o FILE URL` from the same server (a process per fetch)
// The server answers every connection with a head and <MB> of bytes from a ready buffer, then
// closes, so both clients end at the close. Files go to a memory-backed directory when
// /dev/shm exists. Throughput (bytes_per_second) counts body bytes; times are wall-clock.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "net/http_download.h"
#include "net/socket_layer.h"
#include "platform/device_config.h"

extern char** environ;

namespace {

class BodyServer {
 public:
  explicit BodyServer(uint64_t bytes) : bytes_(bytes), chunk_(1 << 20, 'b') {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(listener_, 8);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~BodyServer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
  }
  uint16_t port() const { return port_; }

 private:
  void Serve() {
    while (!stopping_) {
      pollfd wait{listener_, POLLIN, 0};
      if (::poll(&wait, 1, 50) <= 0) continue;
      const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      char request[4096];
      (void)::recv(client, request, sizeof request, 0);
      const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(bytes_) +
                               "\r\nConnection: close\r\n\r\n";
      bool ok = ::send(client, head.data(), head.size(), MSG_NOSIGNAL) > 0;
      for (uint64_t sent = 0; ok && sent < bytes_;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(chunk_.size(), bytes_ - sent));
        const ssize_t written = ::send(client, chunk_.data(), n, MSG_NOSIGNAL);
        ok = written > 0;
        sent += ok ? static_cast<uint64_t>(written) : 0;
      }
      ::close(client);
    }
  }
  uint64_t bytes_;
  std::string chunk_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

std::string ScratchDirectory() {
  const std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
  const std::string dir = base + "/tq240-bench-http-" + std::to_string(::getpid());
  std::filesystem::create_directories(dir + "/device");
  return dir;
}

void BM_HttpDownload(benchmark::State& state) {
  const uint64_t bytes = static_cast<uint64_t>(state.range(0)) << 20;
  const std::string dir = ScratchDirectory();
  setenv("TQ_DEVICE", (dir + "/device").c_str(), 1);
  ce::ResetDeviceConfigForTesting();
  BodyServer server(bytes);
  if (!tq::net::SocketLayer::Initialise(nullptr)) {
    state.SkipWithError("the socket layer does not start");
    return;
  }
  for (auto _ : state) {
    tq::net::HttpDownload download(u"127.0.0.1", server.port());
    if (!download.Download(u"\\body.bin", u"/body.bin", nullptr) ||
        download.bodyBytes() != bytes) {
      state.SkipWithError("the download failed");
      break;
    }
  }
  tq::net::SocketLayer::Release();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  std::filesystem::remove_all(dir);
}

void BM_Curl(benchmark::State& state) {
  const uint64_t bytes = static_cast<uint64_t>(state.range(0)) << 20;
  const std::string dir = ScratchDirectory();
  BodyServer server(bytes);
  const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/body.bin";
  const std::string out = dir + "/curl.bin";
  for (auto _ : state) {
    std::vector<char*> argv = {const_cast<char*>("curl"), const_cast<char*>("-s"),
                               const_cast<char*>("-o"), const_cast<char*>(out.c_str()),
                               const_cast<char*>(url.c_str()), nullptr};
    pid_t pid;
    int status = 0;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("curl failed (is it installed?)");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  std::filesystem::remove_all(dir);
}

BENCHMARK(BM_HttpDownload)->Arg(256)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Curl)->Arg(256)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
