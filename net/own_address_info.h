// The library's own getaddrinfo, getnameinfo and freeaddrinfo, used when the device's socket
// library lacks them: IPv4 only, built on inet_addr, gethostbyname, gethostbyaddr and inet_ntoa
// of the bound socket table.
//
// Invariants: lists made by OwnGetAddrInfo are freed only by OwnFreeAddrInfo; every failure
// returns a device error code (also stored as the last error) and leaves no list behind.
#pragma once

#include "platform/winsock_types.h"

namespace tq::net {

int OwnGetAddrInfo(const char* node, const char* service, const ce::WS_addrinfo* hints,
                   ce::WS_addrinfo** result);
int OwnGetNameInfo(const ce::WS_sockaddr* address, int length, char* host, ce::DWORD hostLength,
                   char* service, ce::DWORD serviceLength, int flags);
void OwnFreeAddrInfo(ce::WS_addrinfo* list);

}  // namespace tq::net
