// The library's own address-information routines over the bound socket table.
#include "net/own_address_info.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "net/socket_layer.h"
#include "platform/last_error.h"

namespace tq::net {
namespace {

using namespace ce;

int Fail(DWORD code) {
  SetLastError(code);
  return static_cast<int>(code);
}

// A new entry for `address` (network order) and `port` (network order) in front of *list;
// false when memory runs out.
bool PrependEntry(WS_u_long address, WS_u_short port, const WS_addrinfo& hints,
                  WS_addrinfo** list) {
  auto* entry = new (std::nothrow) WS_addrinfo{};
  auto* copy = new (std::nothrow) WS_sockaddr_in{};
  if (entry == nullptr || copy == nullptr) {
    delete entry;
    delete copy;
    return false;
  }
  copy->sin_family = WS_AF_INET;
  copy->sin_port = port;
  copy->sin_addr.s_addr = address;
  entry->ai_flags = 0;
  entry->ai_family = WS_AF_INET;
  entry->ai_socktype = hints.ai_socktype != 0 ? hints.ai_socktype : WS_SOCK_STREAM;
  entry->ai_protocol = hints.ai_protocol;
  entry->ai_addrlen = sizeof(WS_sockaddr_in);
  entry->ai_canonname = nullptr;
  entry->ai_addr = reinterpret_cast<WS_sockaddr*>(copy);
  entry->ai_next = *list;
  *list = entry;
  return true;
}

DWORD LookupFailure(DWORD code) {
  if (code == WSAHOST_NOT_FOUND || code == WSATRY_AGAIN) return code;
  return code == WSANO_DATA ? WSAHOST_NOT_FOUND : WSANO_RECOVERY;
}

}  // namespace

int OwnGetAddrInfo(const char* node, const char* service, const WS_addrinfo* hints,
                   WS_addrinfo** result) {
  const SocketEntries& table = SocketLayer::Entries();
  const WS_addrinfo given = hints != nullptr ? *hints : WS_addrinfo{};
  if (result != nullptr) *result = nullptr;
  if (given.ai_family != WS_AF_UNSPEC && given.ai_family != WS_AF_INET)
    return Fail(WSAEAFNOSUPPORT);
  if (node == nullptr && service == nullptr) return Fail(WSAHOST_NOT_FOUND);
  if (result == nullptr) return Fail(WSANO_RECOVERY);
  const WS_u_short port =
      service != nullptr ? table.htons(static_cast<WS_u_short>(std::atoi(service))) : 0;

  WS_addrinfo* list = nullptr;
  bool complete = true;
  if (node != nullptr && *node != '\0') {
    const WS_u_long dotted = table.inet_addr(node);
    if (dotted != WS_INADDR_NONE) {
      complete = PrependEntry(dotted, port, given, &list);
    } else if (given.ai_flags & WS_AI_NUMERICHOST) {
      return Fail(WSAHOST_NOT_FOUND);
    } else {
      const WS_hostent* host = table.gethostbyname(node);
      if (host == nullptr) return Fail(LookupFailure(GetLastError()));
      if (host->h_addrtype != WS_AF_INET || host->h_length != 4) return Fail(WSANO_RECOVERY);
      for (char** address = host->h_addr_list; complete && *address != nullptr; ++address) {
        WS_u_long value;
        std::memcpy(&value, *address, sizeof value);
        complete = PrependEntry(value, port, given, &list);
      }
    }
  } else {
    const WS_u_long address =
        table.htonl((given.ai_flags & WS_AI_PASSIVE) ? 0u : 0x7f000001u);
    complete = PrependEntry(address, port, given, &list);
  }
  if (!complete) {
    OwnFreeAddrInfo(list);
    return Fail(ERROR_NOT_ENOUGH_MEMORY);
  }
  *result = list;
  return 0;
}

int OwnGetNameInfo(const WS_sockaddr* address, int length, char* host, DWORD hostLength,
                   char* service, DWORD serviceLength, int flags) {
  const SocketEntries& table = SocketLayer::Entries();
  if (address == nullptr || (host == nullptr && service == nullptr)) return Fail(WSANO_RECOVERY);
  if (service != nullptr && !(flags & WS_NI_NUMERICSERV)) return Fail(WSANO_RECOVERY);
  if (address->sa_family != WS_AF_INET || length < static_cast<int>(sizeof(WS_sockaddr_in)))
    return Fail(WSAEAFNOSUPPORT);
  WS_sockaddr_in in;
  std::memcpy(&in, address, sizeof in);
  if (host != nullptr) {
    if (flags & WS_NI_NUMERICHOST) {
      const int written = std::snprintf(host, hostLength, "%s", table.inet_ntoa(in.sin_addr));
      if (written < 0 || static_cast<DWORD>(written) >= hostLength)
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    } else {
      const WS_hostent* entry =
          table.gethostbyaddr(reinterpret_cast<const char*>(&in.sin_addr), 4, WS_AF_INET);
      if (entry == nullptr || entry->h_name == nullptr) return Fail(WSAHOST_NOT_FOUND);
      if (hostLength > 0) {
        std::strncpy(host, entry->h_name, hostLength - 1);
        host[hostLength - 1] = '\0';
      }
    }
  }
  if (service != nullptr) {
    const int written = std::snprintf(service, serviceLength, "%d", table.ntohs(in.sin_port));
    if (written < 0 || static_cast<DWORD>(written) >= serviceLength)
      return Fail(ERROR_NOT_ENOUGH_MEMORY);
  }
  return 0;
}

void OwnFreeAddrInfo(WS_addrinfo* list) {
  while (list != nullptr) {
    WS_addrinfo* next = list->ai_next;
    delete reinterpret_cast<WS_sockaddr_in*>(list->ai_addr);
    delete list;
    list = next;
  }
}

}  // namespace tq::net
