// The device's socket types and constants, laid out as the device's socket library lays them
// out, which differs from the host's BSD layout in places: fd_set is a count and an array of
// handles, hostent has 16-bit family and length words, addrinfo puts the canonical name before
// the address, and SOL_SOCKET, the socket options, AF_INET6 and the getnameinfo flags have
// other values. The host's headers define the BSD names as macros, so the device's carry a
// WS_ prefix here.
//
// Invariants: structures that cross the library boundary keep the device's field order and
// widths; a SOCKET is pointer-sized (INVALID_SOCKET is all ones); u_long is 32 bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/windows_types.h"

namespace ce {

using SOCKET = uintptr_t;
using WS_u_short = uint16_t;
using WS_u_long = uint32_t;

inline constexpr SOCKET INVALID_SOCKET = ~SOCKET{0};
inline constexpr int SOCKET_ERROR = -1;
inline constexpr WS_u_long WS_INADDR_NONE = 0xffffffffu;

inline constexpr int WS_AF_UNSPEC = 0;
inline constexpr int WS_AF_INET = 2;
inline constexpr int WS_AF_INET6 = 23;
inline constexpr int WS_SOCK_STREAM = 1;
inline constexpr int WS_SOCK_DGRAM = 2;

inline constexpr int WS_SOL_SOCKET = 0xffff;
inline constexpr int WS_SO_REUSEADDR = 0x0004;
inline constexpr int WS_SO_KEEPALIVE = 0x0008;
inline constexpr int WS_SO_DONTROUTE = 0x0010;
inline constexpr int WS_SO_BROADCAST = 0x0020;
inline constexpr int WS_SO_LINGER = 0x0080;
inline constexpr int WS_SO_OOBINLINE = 0x0100;
inline constexpr int WS_SO_SNDBUF = 0x1001;
inline constexpr int WS_SO_RCVBUF = 0x1002;
inline constexpr int WS_SO_SNDTIMEO = 0x1005;
inline constexpr int WS_SO_RCVTIMEO = 0x1006;
inline constexpr int WS_SO_ERROR = 0x1007;
inline constexpr int WS_SO_TYPE = 0x1008;
inline constexpr int WS_IPPROTO_TCP = 6;
inline constexpr int WS_TCP_NODELAY = 1;

inline constexpr long WS_FIONBIO = static_cast<long>(0x8004667Eu);
inline constexpr long WS_FIONREAD = 0x4004667F;
inline constexpr long WS_SIOCATMARK = 0x40047307;

inline constexpr int WS_MSG_OOB = 0x1;
inline constexpr int WS_MSG_PEEK = 0x2;
inline constexpr int WS_MSG_DONTROUTE = 0x4;

inline constexpr int WS_AI_PASSIVE = 0x1;
inline constexpr int WS_AI_CANONNAME = 0x2;
inline constexpr int WS_AI_NUMERICHOST = 0x4;
inline constexpr int WS_NI_NOFQDN = 0x01;
inline constexpr int WS_NI_NUMERICHOST = 0x02;
inline constexpr int WS_NI_NAMEREQD = 0x04;
inline constexpr int WS_NI_NUMERICSERV = 0x08;
inline constexpr int WS_NI_DGRAM = 0x10;

inline constexpr DWORD WSASERVICE_NOT_FOUND = 10108;
inline constexpr DWORD WSATYPE_NOT_FOUND = 10109;
inline constexpr DWORD WSA_E_NO_MORE = 10110;

inline constexpr size_t WS_FD_SETSIZE = 64;

struct WS_fd_set {
  WS_u_long fd_count;  // the device's u_int: 32 bits
  SOCKET fd_array[WS_FD_SETSIZE];
};

struct WS_timeval {
  int32_t tv_sec;  // the device's long: 32 bits
  int32_t tv_usec;
};

struct WS_linger {
  WS_u_short l_onoff;
  WS_u_short l_linger;
};

// sockaddr and sockaddr_in have the host's layout already (a 16-bit family first).
struct WS_sockaddr {
  WS_u_short sa_family;
  char sa_data[14];
};

struct WS_in_addr {
  WS_u_long s_addr;
};

struct WS_sockaddr_in {
  int16_t sin_family;
  WS_u_short sin_port;
  WS_in_addr sin_addr;
  char sin_zero[8];
};
static_assert(sizeof(WS_sockaddr_in) == 16);

struct WS_hostent {
  char* h_name;
  char** h_aliases;
  int16_t h_addrtype;
  int16_t h_length;
  char** h_addr_list;
};

struct WS_addrinfo {
  int ai_flags;
  int ai_family;
  int ai_socktype;
  int ai_protocol;
  size_t ai_addrlen;
  char* ai_canonname;
  WS_sockaddr* ai_addr;
  WS_addrinfo* ai_next;
};

inline constexpr size_t WSADESCRIPTION_LEN = 256;
inline constexpr size_t WSASYS_STATUS_LEN = 128;

struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  WS_u_short iMaxSockets;
  WS_u_short iMaxUdpDg;
  char* lpVendorInfo;
};

// The service-lookup calls take a query set; the device's socket layer here publishes no
// services, so only the structure's size field is read.
struct WSAQUERYSETW {
  DWORD dwSize;
};

}  // namespace ce
