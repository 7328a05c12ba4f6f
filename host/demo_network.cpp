// The network section of `tq240 demo`: a small web server on the loopback interface (an
// ephemeral port, one thread, alive for the section only) publishes an application's version
// file; the section connects network resources and reads the server's version through the
// update settings. Steps whose function is not available in this build say so and go on.
#include "host/demo_network.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "host/demo_step.h"

namespace tqhost {
namespace {

// Answers every request with the version file "VERSION=24.0.2", then closes.
class VersionServer {
 public:
  VersionServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 4) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      return;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~VersionServer() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) ::close(listener_);
  }
  uint16_t port() const { return port_; }

 private:
  void Serve() {
    static const std::string answer =
        "HTTP/1.1 200 OK\r\nContent-Length: 16\r\nConnection: close\r\n\r\nVERSION=24.0.2\r\n";
    while (!stopping_) {
      pollfd wait{listener_, POLLIN, 0};
      if (::poll(&wait, 1, 50) <= 0) continue;
      const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      char request[2048];
      (void)::recv(client, request, sizeof request, 0);
      (void)::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
      ::close(client);
    }
  }
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

void Show(CallRunner& runner, const char* note, const std::vector<std::string>& words) {
  RunDemoStep(runner, note, words);
}

}  // namespace

void RunNetworkDemo(CallRunner& runner) {
  std::printf("\n== Network: shares, a web server on the loopback interface, the update check\n");
  VersionServer server;
  const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/app/";
  std::printf("\n(a web server for this section listens on 127.0.0.1:%u)\n", server.port());
  Show(runner, "a share the device does not know (shares are listed in .device/device.json)",
       {"NetworkConnect", "Docs", "\\\\server\\docs"});
  Show(runner, "a local name must be able to name a folder",
       {"NetworkConnect", "a:b", "\\\\server\\docs", "secret"});
  Show(runner, "the address of the application's update directory", {"UpdateSetting", "3", url});
  Show(runner, "updates are taken from the web", {"UpdateSetting", "1", "1"});
  Show(runner, "the server's version, read from VERSION.TZ over HTTP", {"UpdateInfo", "11"});
  Show(runner, "the update protocol", {"UpdateInfo", "2"});
  Show(runner, "the installed version is the server's", {"UpdateSetting", "10", "24.0.2"});
  Show(runner, "so the check has nothing to do and the application goes on",
       {"UpdateCheckAndLaunch"});
  Show(runner, "the running executable (try --app)", {"ExeInfo", "NAME"});
}

}  // namespace tqhost
