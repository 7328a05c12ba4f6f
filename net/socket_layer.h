// The socket layer: the device's socket library loaded at run time ("Ws2.dll", else
// "Winsock.dll"), its 36 procedures bound by name into a fixed table, and the library's own
// name-resolution routines in place of getaddrinfo, getnameinfo and freeaddrinfo when the
// device's library lacks any of them.
//
// Invariants: the table is filled once, when the initialisation count goes from 0 to 1, under a
// spin lock (an exchanged flag; a waiting thread sleeps 1 ms between tries); entries the library
// does not have stay null, except the three address-information entries, which are then all the
// library's own. The table stays valid until the count returns to 0.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "frame/message_args.h"

#include "platform/winsock_types.h"

namespace tq::net {

struct SocketEntries {
  ce::SOCKET (*accept)(ce::SOCKET, ce::WS_sockaddr*, int*) = nullptr;
  int (*bind)(ce::SOCKET, const ce::WS_sockaddr*, int) = nullptr;
  int (*closesocket)(ce::SOCKET) = nullptr;
  int (*connect)(ce::SOCKET, const ce::WS_sockaddr*, int) = nullptr;
  int (*ioctlsocket)(ce::SOCKET, long, ce::WS_u_long*) = nullptr;
  int (*getpeername)(ce::SOCKET, ce::WS_sockaddr*, int*) = nullptr;
  int (*getsockname)(ce::SOCKET, ce::WS_sockaddr*, int*) = nullptr;
  int (*getsockopt)(ce::SOCKET, int, int, char*, int*) = nullptr;
  ce::WS_u_long (*htonl)(ce::WS_u_long) = nullptr;
  ce::WS_u_short (*htons)(ce::WS_u_short) = nullptr;
  ce::WS_u_long (*inet_addr)(const char*) = nullptr;
  char* (*inet_ntoa)(ce::WS_in_addr) = nullptr;
  int (*listen)(ce::SOCKET, int) = nullptr;
  ce::WS_u_long (*ntohl)(ce::WS_u_long) = nullptr;
  ce::WS_u_short (*ntohs)(ce::WS_u_short) = nullptr;
  int (*recv)(ce::SOCKET, char*, int, int) = nullptr;
  int (*recvfrom)(ce::SOCKET, char*, int, int, ce::WS_sockaddr*, int*) = nullptr;
  int (*select)(int, ce::WS_fd_set*, ce::WS_fd_set*, ce::WS_fd_set*,
                const ce::WS_timeval*) = nullptr;
  int (*send)(ce::SOCKET, const char*, int, int) = nullptr;
  int (*sendto)(ce::SOCKET, const char*, int, int, const ce::WS_sockaddr*, int) = nullptr;
  int (*setsockopt)(ce::SOCKET, int, int, const char*, int) = nullptr;
  int (*shutdown)(ce::SOCKET, int) = nullptr;
  ce::SOCKET (*socket)(int, int, int) = nullptr;
  ce::WS_hostent* (*gethostbyaddr)(const char*, int, int) = nullptr;
  ce::WS_hostent* (*gethostbyname)(const char*) = nullptr;
  int (*gethostname)(char*, int) = nullptr;
  int (*WSAStartup)(ce::WORD, ce::WSADATA*) = nullptr;
  int (*WSACleanup)() = nullptr;
  int (*WSALookupServiceBeginW)(ce::WSAQUERYSETW*, ce::DWORD, ce::HANDLE*) = nullptr;
  int (*WSALookupServiceNextW)(ce::HANDLE, ce::DWORD, ce::DWORD*, ce::WSAQUERYSETW*) = nullptr;
  int (*WSALookupServiceEnd)(ce::HANDLE) = nullptr;
  int (*WSASetServiceW)(ce::WSAQUERYSETW*, int, ce::DWORD) = nullptr;
  int (*getaddrinfo)(const char*, const char*, const ce::WS_addrinfo*,
                     ce::WS_addrinfo**) = nullptr;
  int (*getnameinfo)(const ce::WS_sockaddr*, int, char*, ce::DWORD, char*, ce::DWORD,
                     int) = nullptr;
  void (*freeaddrinfo)(ce::WS_addrinfo*) = nullptr;
  int (*WSAFDIsSet)(ce::SOCKET, ce::WS_fd_set*) = nullptr;
};

// A failure of the layer or of a download: the message id, its text formatted with the
// arguments, and the platform's error code when one was involved.
struct NetFailure {
  uint32_t messageId = 0;
  std::u16string text;
  uint32_t systemCode = 0;
};

// Formats message `id` with its arguments into `failure`; `systemCode` is the platform's
// error code involved (0: none).
void SetNetFailure(NetFailure* failure, uint32_t id, std::initializer_list<MessageArg> args,
                   uint32_t systemCode = 0);

class SocketLayer {
 public:
  // Counts one more user; the first loads the library and starts its service. False with
  // message 28905 when the service cannot start (the count is then 0 again).
  static bool Initialise(NetFailure* failure);
  // The user is done; the last one stops the service (WSACleanup) and frees the library.
  static void Release();
  // The bound table; valid between Initialise and the matching Release.
  static const SocketEntries& Entries();
  // Whether the address-information entries are the library's own.
  static bool UsesOwnAddressInfo();
  // The name of the module that was loaded ("Ws2.dll" or "Winsock.dll"), empty when none.
  static std::u16string LoadedModuleName();
};

}  // namespace tq::net
