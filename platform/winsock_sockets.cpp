// The device's socket calls over the host's sockets: service start and stop, socket creation,
// addresses, connection set-up and data transfer.
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/last_error.h"
#include "platform/winsock.h"
#include "platform/winsock_address.h"

namespace ce::winsock {
namespace {

std::atomic<int> gStartups{0};

int HostFamily(int family) {
  if (family == WS_AF_INET) return AF_INET;
  if (family == WS_AF_INET6) return AF_INET6;
  return family == WS_AF_UNSPEC ? AF_UNSPEC : -1;
}

bool IsBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && (flags & O_NONBLOCK) == 0;
}

int HostMessageFlags(int flags) {
  int host = 0;
  if (flags & WS_MSG_OOB) host |= MSG_OOB;
  if (flags & WS_MSG_PEEK) host |= MSG_PEEK;
  if (flags & WS_MSG_DONTROUTE) host |= MSG_DONTROUTE;
  return host;
}

bool BufferUsable(const char* buffer, int length) {
  if (length < 0 || (buffer == nullptr && length > 0)) {
    SetLastError(WSAEFAULT);
    return false;
  }
  return true;
}

}  // namespace

int FailWith(DWORD code) {
  SetLastError(code);
  return SOCKET_ERROR;
}

int FailFromErrno() {
  SetLastError(WsaErrorFromErrno(errno));
  return SOCKET_ERROR;
}

bool SocketServiceStarted() {
  if (gStartups.load() > 0) return true;
  SetLastError(WSANOTINITIALISED);
  return false;
}

int SocketDescriptor(SOCKET s) {
  if (!SocketServiceStarted()) return -1;
  struct stat info {};
  if (s > static_cast<SOCKET>(INT32_MAX) || fstat(static_cast<int>(s), &info) != 0 ||
      !S_ISSOCK(info.st_mode)) {
    SetLastError(WSAENOTSOCK);
    return -1;
  }
  return static_cast<int>(s);
}

std::optional<HostAddress> ToHostAddress(const WS_sockaddr* address, int length) {
  if (address == nullptr || length < static_cast<int>(sizeof(WS_u_short))) {
    SetLastError(WSAEFAULT);
    return std::nullopt;
  }
  HostAddress host;
  const int family = HostFamily(address->sa_family);
  const int needed = family == AF_INET ? 16 : family == AF_INET6 ? 28 : 0;
  if (needed == 0) {
    SetLastError(WSAEAFNOSUPPORT);
    return std::nullopt;
  }
  if (length < needed) {
    SetLastError(WSAEFAULT);
    return std::nullopt;
  }
  std::memcpy(&host.storage, address, static_cast<size_t>(needed));
  host.storage.ss_family = static_cast<sa_family_t>(family);
  host.length = static_cast<socklen_t>(needed);
  return host;
}

bool FromHostAddress(const sockaddr* host, socklen_t hostLength, WS_sockaddr* address,
                     int* length) {
  if (address == nullptr || length == nullptr || *length < 0 ||
      static_cast<socklen_t>(*length) < hostLength) {
    SetLastError(WSAEFAULT);
    return false;
  }
  std::memcpy(address, host, hostLength);
  if (hostLength >= sizeof(WS_u_short)) {
    address->sa_family = static_cast<WS_u_short>(host->sa_family == AF_INET6 ? WS_AF_INET6
                                                                              : host->sa_family);
  }
  *length = static_cast<int>(hostLength);
  return true;
}

int WSAStartup(WORD version, WSADATA* data) {
  if ((version & 0xff) == 0) return static_cast<int>(WSAVERNOTSUPPORTED);
  if (data == nullptr) return static_cast<int>(WSAEFAULT);
  std::memset(data, 0, sizeof *data);
  const bool above = (version & 0xff) > 2 || ((version & 0xff) == 2 && (version >> 8) > 2);
  data->wVersion = above ? WORD{0x0202} : version;
  data->wHighVersion = 0x0202;
  std::strcpy(data->szDescription, "WinSock 2.2");
  std::strcpy(data->szSystemStatus, "Running");
  data->iMaxSockets = 0;  // the device's layer gives no limit any more
  data->iMaxUdpDg = 0;
  ++gStartups;
  return 0;
}

int WSACleanup() {
  int current = gStartups.load();
  while (current > 0 && !gStartups.compare_exchange_weak(current, current - 1)) {
  }
  return current > 0 ? 0 : FailWith(WSANOTINITIALISED);
}

SOCKET socket(int family, int type, int protocol) {
  if (!SocketServiceStarted()) return INVALID_SOCKET;
  const int hostFamily = HostFamily(family);
  if (hostFamily <= 0) {
    SetLastError(WSAEAFNOSUPPORT);
    return INVALID_SOCKET;
  }
  const int fd = ::socket(hostFamily, type | SOCK_CLOEXEC, protocol);
  if (fd < 0) {
    FailFromErrno();
    return INVALID_SOCKET;
  }
  return static_cast<SOCKET>(fd);
}

int closesocket(SOCKET s) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  // close releases the descriptor even when it reports EINTR; never retry it.
  if (::close(fd) != 0 && errno != EINTR) return FailFromErrno();
  return 0;
}

int bind(SOCKET s, const WS_sockaddr* address, int length) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  std::optional<HostAddress> host = ToHostAddress(address, length);
  if (!host) return SOCKET_ERROR;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&host->storage), host->length) != 0)
    return FailFromErrno();
  return 0;
}

int connect(SOCKET s, const WS_sockaddr* address, int length) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  std::optional<HostAddress> host = ToHostAddress(address, length);
  if (!host) return SOCKET_ERROR;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&host->storage), host->length) == 0)
    return 0;
  if (errno == EINPROGRESS) return FailWith(WSAEWOULDBLOCK);  // non-blocking socket
  return FailFromErrno();
}

int listen(SOCKET s, int backlog) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  return ::listen(fd, backlog) == 0 ? 0 : FailFromErrno();
}

SOCKET accept(SOCKET s, WS_sockaddr* address, int* length) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return INVALID_SOCKET;
  if (address != nullptr && (length == nullptr || *length < 16)) {
    SetLastError(WSAEFAULT);
    return INVALID_SOCKET;
  }
  sockaddr_storage peer{};
  socklen_t peerLength = sizeof peer;
  int client;
  do {
    client = ::accept4(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength, SOCK_CLOEXEC);
  } while (client < 0 && errno == EINTR);
  if (client < 0) {
    FailFromErrno();
    return INVALID_SOCKET;
  }
  if (address != nullptr &&
      !FromHostAddress(reinterpret_cast<sockaddr*>(&peer), peerLength, address, length)) {
    ::close(client);
    return INVALID_SOCKET;
  }
  return static_cast<SOCKET>(client);
}

int shutdown(SOCKET s, int how) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (how < 0 || how > 2) return FailWith(WSAEINVAL);
  return ::shutdown(fd, how) == 0 ? 0 : FailFromErrno();  // SD_* and SHUT_* agree
}

namespace {

// getpeername and getsockname: the host's answer in the device's layout. An unbound socket
// has no name on the device (WSAEINVAL).
int AddressOf(SOCKET s, int (*query)(int, sockaddr*, socklen_t*), WS_sockaddr* address,
              int* length) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  sockaddr_storage host{};
  socklen_t hostLength = sizeof host;
  if (query(fd, reinterpret_cast<sockaddr*>(&host), &hostLength) != 0) return FailFromErrno();
  if (hostLength <= sizeof(sa_family_t)) return FailWith(WSAEINVAL);
  return FromHostAddress(reinterpret_cast<sockaddr*>(&host), hostLength, address, length)
             ? 0
             : SOCKET_ERROR;
}

}  // namespace

int getpeername(SOCKET s, WS_sockaddr* address, int* length) {
  return AddressOf(s, &::getpeername, address, length);
}

int getsockname(SOCKET s, WS_sockaddr* address, int* length) {
  return AddressOf(s, &::getsockname, address, length);
}

int send(SOCKET s, const char* buffer, int length, int flags) {
  const int fd = SocketDescriptor(s);
  if (fd < 0 || !BufferUsable(buffer, length)) return SOCKET_ERROR;
  // A blocking send on the device returns once everything is queued.
  const bool whole = IsBlocking(fd);
  int sent = 0;
  while (sent < length || length == 0) {
    const ssize_t n = ::send(fd, buffer + sent, static_cast<size_t>(length - sent),
                             HostMessageFlags(flags) | MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return sent > 0 ? sent : FailFromErrno();
    sent += static_cast<int>(n);
    if (!whole || length == 0) break;
  }
  return sent;
}

int sendto(SOCKET s, const char* buffer, int length, int flags, const WS_sockaddr* to,
           int toLength) {
  if (to == nullptr) return send(s, buffer, length, flags);
  const int fd = SocketDescriptor(s);
  if (fd < 0 || !BufferUsable(buffer, length)) return SOCKET_ERROR;
  std::optional<HostAddress> host = ToHostAddress(to, toLength);
  if (!host) return SOCKET_ERROR;
  ssize_t n;
  do {
    n = ::sendto(fd, buffer, static_cast<size_t>(length), HostMessageFlags(flags) | MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&host->storage), host->length);
  } while (n < 0 && errno == EINTR);
  return n < 0 ? FailFromErrno() : static_cast<int>(n);
}

int recv(SOCKET s, char* buffer, int length, int flags) {
  return recvfrom(s, buffer, length, flags, nullptr, nullptr);
}

int recvfrom(SOCKET s, char* buffer, int length, int flags, WS_sockaddr* from,
             int* fromLength) {
  const int fd = SocketDescriptor(s);
  if (fd < 0 || !BufferUsable(buffer, length)) return SOCKET_ERROR;
  if (from != nullptr && fromLength == nullptr) return FailWith(WSAEFAULT);
  sockaddr_storage peer{};
  socklen_t peerLength = sizeof peer;
  ssize_t n;
  do {
    n = ::recvfrom(fd, buffer, static_cast<size_t>(length), HostMessageFlags(flags),
                   reinterpret_cast<sockaddr*>(&peer), &peerLength);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return FailFromErrno();
  if (from != nullptr && peerLength > 0 &&
      !FromHostAddress(reinterpret_cast<sockaddr*>(&peer), peerLength, from, fromLength))
    return SOCKET_ERROR;
  return static_cast<int>(n);
}

}  // namespace ce::winsock
