// The loopback test server: one thread, one connection at a time.
#include "tests/net/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace tqtest {
namespace {

bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string GeneratedBody(uint64_t size) {
  std::string body(size, '\0');
  for (uint64_t i = 0; i < size; ++i) body[i] = BodyByte(i);
  return body;
}

ServerStep Send(std::string bytes) { return {ServerStep::Kind::kSend, std::move(bytes), 0, 0}; }
ServerStep SendBody(uint64_t size) { return {ServerStep::Kind::kSendBody, {}, size, 0}; }
ServerStep Pause(int milliseconds) { return {ServerStep::Kind::kPause, {}, 0, milliseconds}; }
ServerStep WaitForPeerClose() { return {ServerStep::Kind::kWaitForPeerClose, {}, 0, 0}; }

std::string OkHead(uint64_t contentLength) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(contentLength) + "\r\n\r\n";
}

HttpTestServer::HttpTestServer(std::vector<ServerStep> script) : script_(std::move(script)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("the test server cannot listen");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

HttpTestServer::~HttpTestServer() {
  stopping_ = true;
  ::shutdown(listener_, SHUT_RDWR);
  thread_.join();
  ::close(listener_);
}

std::vector<std::string> HttpTestServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void HttpTestServer::Serve() {
  while (!stopping_) {
    pollfd wait{listener_, POLLIN, 0};
    if (::poll(&wait, 1, 100) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++connections_;
    Answer(client);
    ::close(client);
  }
}

void HttpTestServer::Answer(int client) {
  std::string request;
  char buffer[4096];
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 &&
         std::chrono::steady_clock::now() < deadline) {
    pollfd wait{client, POLLIN, 0};
    if (::poll(&wait, 1, 100) <= 0) continue;
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<size_t>(n));
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
  }
  for (const ServerStep& step : script_) {
    switch (step.kind) {
      case ServerStep::Kind::kSend:
        if (!SendAll(client, step.bytes.data(), step.bytes.size())) return;
        break;
      case ServerStep::Kind::kSendBody: {
        std::string chunk;
        for (uint64_t sent = 0; sent < step.size;) {
          const uint64_t size = std::min<uint64_t>(step.size - sent, 1 << 20);
          chunk.resize(size);
          for (uint64_t i = 0; i < size; ++i) chunk[i] = BodyByte(sent + i);
          if (!SendAll(client, chunk.data(), chunk.size())) return;
          sent += size;
        }
        break;
      }
      case ServerStep::Kind::kPause:
        std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
        break;
      case ServerStep::Kind::kWaitForPeerClose:
        for (int i = 0; i < 300 && !stopping_; ++i) {
          pollfd wait{client, POLLIN, 0};
          if (::poll(&wait, 1, 100) > 0 && ::recv(client, buffer, sizeof buffer, 0) <= 0) return;
        }
        break;
    }
  }
}

}  // namespace tqtest
