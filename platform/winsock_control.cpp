// The device's socket control calls: select over the device's fd_set (a count and an array of
// handles, so any descriptor number fits), ioctlsocket, and socket options with the device's
// numbering.
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/time.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/last_error.h"
#include "platform/winsock.h"
#include "platform/winsock_address.h"

namespace ce::winsock {
namespace {

struct Watch {
  WS_fd_set* set;
  short events;
};

// The poll timeout for a device timeval: -1 waits for ever; rounded up to whole milliseconds.
int PollTimeout(const WS_timeval* timeout, std::chrono::steady_clock::time_point start) {
  if (timeout == nullptr) return -1;
  const int64_t total = int64_t{timeout->tv_sec} * 1000 + (int64_t{timeout->tv_usec} + 999) / 1000;
  const int64_t spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
  const int64_t left = total - spent;
  return left <= 0 ? 0 : static_cast<int>(left > INT_MAX ? INT_MAX : left);
}

struct OptionName {
  int level;
  int option;
};

// The host's level and option for a device option; level -1 when the host has none.
OptionName HostOption(int level, int option) {
  if (level == WS_SOL_SOCKET) {
    switch (option) {
      case WS_SO_REUSEADDR: return {SOL_SOCKET, SO_REUSEADDR};
      case WS_SO_KEEPALIVE: return {SOL_SOCKET, SO_KEEPALIVE};
      case WS_SO_DONTROUTE: return {SOL_SOCKET, SO_DONTROUTE};
      case WS_SO_BROADCAST: return {SOL_SOCKET, SO_BROADCAST};
      case WS_SO_LINGER: return {SOL_SOCKET, SO_LINGER};
      case WS_SO_OOBINLINE: return {SOL_SOCKET, SO_OOBINLINE};
      case WS_SO_SNDBUF: return {SOL_SOCKET, SO_SNDBUF};
      case WS_SO_RCVBUF: return {SOL_SOCKET, SO_RCVBUF};
      case WS_SO_SNDTIMEO: return {SOL_SOCKET, SO_SNDTIMEO};
      case WS_SO_RCVTIMEO: return {SOL_SOCKET, SO_RCVTIMEO};
      case WS_SO_ERROR: return {SOL_SOCKET, SO_ERROR};
      case WS_SO_TYPE: return {SOL_SOCKET, SO_TYPE};
      default: return {-1, 0};
    }
  }
  if (level == WS_IPPROTO_TCP && option == WS_TCP_NODELAY) return {IPPROTO_TCP, TCP_NODELAY};
  return {-1, 0};
}

}  // namespace

int WSAFDIsSet(SOCKET s, WS_fd_set* set) {
  if (set == nullptr) return 0;
  const WS_u_long count = set->fd_count < WS_FD_SETSIZE ? set->fd_count : WS_FD_SETSIZE;
  for (WS_u_long i = 0; i < count; ++i) {
    if (set->fd_array[i] == s) return 1;
  }
  return 0;
}

int select(int, WS_fd_set* readable, WS_fd_set* writable, WS_fd_set* failed,
           const WS_timeval* timeout) {
  if (!SocketServiceStarted()) return SOCKET_ERROR;
  if (timeout != nullptr && (timeout->tv_sec < 0 || timeout->tv_usec < 0))
    return FailWith(WSAEINVAL);
  const Watch watches[] = {{readable, POLLIN}, {writable, POLLOUT}, {failed, POLLPRI}};
  std::vector<pollfd> polls;
  std::vector<std::pair<int, size_t>> owners;  // (watch, index in its set) of each poll entry
  for (int w = 0; w < 3; ++w) {
    WS_fd_set* set = watches[w].set;
    if (set == nullptr) continue;
    if (set->fd_count > WS_FD_SETSIZE) return FailWith(WSAEINVAL);
    for (size_t i = 0; i < set->fd_count; ++i) {
      const int fd = SocketDescriptor(set->fd_array[i]);
      if (fd < 0) return SOCKET_ERROR;
      polls.push_back(pollfd{fd, watches[w].events, 0});
      owners.emplace_back(w, i);
    }
  }
  if (polls.empty()) return FailWith(WSAEINVAL);  // the device refuses to select nothing

  const auto start = std::chrono::steady_clock::now();
  int ready;
  do {
    ready = ::poll(polls.data(), polls.size(), PollTimeout(timeout, start));
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return FailFromErrno();

  // Each set keeps, in order, the handles found ready; the result counts them all.
  WS_u_long kept[3] = {0, 0, 0};
  int total = 0;
  for (size_t p = 0; p < polls.size(); ++p) {
    const auto [w, index] = owners[p];
    const short events = polls[p].revents;
    bool hit = false;
    if (w == 0) hit = (events & (POLLIN | POLLHUP | POLLERR)) != 0;
    if (w == 1) hit = (events & (POLLOUT | POLLHUP | POLLERR)) != 0;
    if (w == 2) hit = (events & (POLLPRI | POLLERR)) != 0;
    if (!hit) continue;
    WS_fd_set* set = watches[w].set;
    set->fd_array[kept[w]++] = set->fd_array[index];
    ++total;
  }
  for (int w = 0; w < 3; ++w) {
    if (watches[w].set != nullptr) watches[w].set->fd_count = kept[w];
  }
  return total;
}

int ioctlsocket(SOCKET s, long command, WS_u_long* argument) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (argument == nullptr) return FailWith(WSAEFAULT);
  if (command == WS_FIONBIO) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0) return FailFromErrno();
    const int wanted = *argument != 0 ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return fcntl(fd, F_SETFL, wanted) == 0 ? 0 : FailFromErrno();
  }
  if (command == WS_FIONREAD) {
    int pending = 0;
    if (::ioctl(fd, FIONREAD, &pending) != 0) return FailFromErrno();
    *argument = static_cast<WS_u_long>(pending);
    return 0;
  }
  if (command == WS_SIOCATMARK) {
    int mark = 0;
    if (::ioctl(fd, SIOCATMARK, &mark) != 0) return FailFromErrno();
    *argument = mark != 0 ? 1 : 0;  // no urgent data pending reads as "at the mark"
    return 0;
  }
  return FailWith(WSAEINVAL);
}

int setsockopt(SOCKET s, int level, int option, const char* value, int length) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  const OptionName host = HostOption(level, option);
  if (host.level < 0 || option == WS_SO_ERROR || option == WS_SO_TYPE)
    return FailWith(WSAENOPROTOOPT);
  if (value == nullptr) return FailWith(WSAEFAULT);
  int result;
  if (host.option == SO_LINGER && host.level == SOL_SOCKET) {
    if (length < static_cast<int>(sizeof(WS_linger))) return FailWith(WSAEFAULT);
    WS_linger device;
    std::memcpy(&device, value, sizeof device);
    const linger hostLinger{device.l_onoff != 0, device.l_linger};
    result = ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hostLinger, sizeof hostLinger);
  } else if (host.level == SOL_SOCKET &&
             (host.option == SO_SNDTIMEO || host.option == SO_RCVTIMEO)) {
    if (length < 4) return FailWith(WSAEFAULT);
    DWORD milliseconds;  // the device gives time-outs in milliseconds
    std::memcpy(&milliseconds, value, sizeof milliseconds);
    const timeval tv{static_cast<time_t>(milliseconds / 1000),
                     static_cast<suseconds_t>((milliseconds % 1000) * 1000)};
    result = ::setsockopt(fd, SOL_SOCKET, host.option, &tv, sizeof tv);
  } else {
    if (length < 1) return FailWith(WSAEFAULT);
    // The device accepts a one-byte boolean as well as a 32-bit integer.
    int number = 0;
    if (length >= 4) {
      std::memcpy(&number, value, sizeof number);
    } else {
      number = static_cast<unsigned char>(value[0]);
    }
    result = ::setsockopt(fd, host.level, host.option, &number, sizeof number);
  }
  return result == 0 ? 0 : FailFromErrno();
}

int getsockopt(SOCKET s, int level, int option, char* value, int* length) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  const OptionName host = HostOption(level, option);
  if (host.level < 0) return FailWith(WSAENOPROTOOPT);
  if (value == nullptr || length == nullptr) return FailWith(WSAEFAULT);
  if (host.level == SOL_SOCKET && host.option == SO_LINGER) {
    if (*length < static_cast<int>(sizeof(WS_linger))) return FailWith(WSAEFAULT);
    linger hostLinger{};
    socklen_t size = sizeof hostLinger;
    if (::getsockopt(fd, SOL_SOCKET, SO_LINGER, &hostLinger, &size) != 0) return FailFromErrno();
    const WS_linger device{static_cast<WS_u_short>(hostLinger.l_onoff != 0),
                           static_cast<WS_u_short>(hostLinger.l_linger)};
    std::memcpy(value, &device, sizeof device);
    *length = sizeof device;
    return 0;
  }
  if (*length < 4) return FailWith(WSAEFAULT);
  uint32_t number = 0;
  if (host.level == SOL_SOCKET && (host.option == SO_SNDTIMEO || host.option == SO_RCVTIMEO)) {
    timeval tv{};
    socklen_t size = sizeof tv;
    if (::getsockopt(fd, SOL_SOCKET, host.option, &tv, &size) != 0) return FailFromErrno();
    number = static_cast<uint32_t>(tv.tv_sec * 1000 + tv.tv_usec / 1000);
  } else {
    int hostNumber = 0;
    socklen_t size = sizeof hostNumber;
    if (::getsockopt(fd, host.level, host.option, &hostNumber, &size) != 0) return FailFromErrno();
    if (host.level == SOL_SOCKET && host.option == SO_ERROR && hostNumber != 0) {
      hostNumber = static_cast<int>(WsaErrorFromErrno(hostNumber));
    }
    number = static_cast<uint32_t>(hostNumber);
  }
  std::memcpy(value, &number, sizeof number);
  *length = 4;
  return 0;
}

}  // namespace ce::winsock
