// Socket addresses between the device's layout and the host's, and the checks every socket
// call makes first: the service is started, the handle is a socket.
//
// Invariants: IPv4 addresses have the same 16 bytes on both sides; IPv6 addresses have the same
// 28 bytes but another family number (23 on the device). Other families are refused with
// WSAEAFNOSUPPORT. Conversions never write past the length the caller gives.
#pragma once

#include <sys/socket.h>

#include <optional>

#include "platform/winsock_types.h"

namespace ce::winsock {

struct HostAddress {
  sockaddr_storage storage{};
  socklen_t length = 0;
};

// The host form of a device address; nullopt with the device error set.
std::optional<HostAddress> ToHostAddress(const WS_sockaddr* address, int length);

// Writes the device form of a host address into `address` (capacity *length) and its length
// into *length; false with WSAEFAULT when it does not fit.
bool FromHostAddress(const sockaddr* host, socklen_t hostLength, WS_sockaddr* address,
                     int* length);

// The descriptor of a socket handle, or -1 with the device error set (WSANOTINITIALISED,
// WSAENOTSOCK).
int SocketDescriptor(SOCKET s);

// Sets the device error for errno (or `errnoValue`) and returns SOCKET_ERROR.
int FailFromErrno();
int FailWith(DWORD code);

}  // namespace ce::winsock
