// The device's name and address services: byte order, dotted addresses, host entries (kept per
// thread, as the device keeps them), address information lists, and the service-lookup calls,
// for which the simulated device publishes no service.
#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/last_error.h"
#include "platform/winsock.h"
#include "platform/winsock_address.h"

namespace ce::winsock {
namespace {

// The host entry handed out by gethostbyname and gethostbyaddr: valid until the thread's
// next call of either.
struct HostEntryStore {
  WS_hostent entry{};
  std::string name;
  std::vector<std::array<char, 4>> addresses;
  std::vector<char*> addressPointers;
  char* noAliases[1] = {nullptr};
};

thread_local HostEntryStore tHostEntry;
thread_local char tDottedText[16];

WS_hostent* PublishHostEntry(std::string name, const std::vector<std::array<char, 4>>& addresses) {
  HostEntryStore& store = tHostEntry;
  store.name = std::move(name);
  store.addresses = addresses;
  store.addressPointers.clear();
  for (auto& address : store.addresses) store.addressPointers.push_back(address.data());
  store.addressPointers.push_back(nullptr);
  store.entry = WS_hostent{store.name.data(), store.noAliases, static_cast<int16_t>(WS_AF_INET),
                           4, store.addressPointers.data()};
  return &store.entry;
}

DWORD DeviceCodeOfResolverError(int code) {
  switch (code) {
    case EAI_NONAME: return WSAHOST_NOT_FOUND;
    case EAI_AGAIN: return WSATRY_AGAIN;
#ifdef EAI_NODATA
    case EAI_NODATA: return WSANO_DATA;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY: return WSANO_DATA;
#endif
    case EAI_FAMILY: return WSAEAFNOSUPPORT;
    case EAI_MEMORY: return ERROR_NOT_ENOUGH_MEMORY;
    case EAI_SERVICE: return WSATYPE_NOT_FOUND;
    case EAI_SOCKTYPE: return WSAESOCKTNOSUPPORT;
    case EAI_BADFLAGS: return WSAEINVAL;
    default: return WSANO_RECOVERY;
  }
}

int HostFamilyOf(int family) {
  return family == WS_AF_INET6 ? AF_INET6 : family;
}

}  // namespace

WS_u_long WS_htonl(WS_u_long value) { return htonl(value); }
WS_u_short WS_htons(WS_u_short value) { return htons(value); }
WS_u_long WS_ntohl(WS_u_long value) { return ntohl(value); }
WS_u_short WS_ntohs(WS_u_short value) { return ntohs(value); }

WS_u_long inet_addr(const char* text) {
  if (text == nullptr) return WS_INADDR_NONE;
  // The device reads the classic forms (a.b.c.d, a.b.c, a.b, a; decimal, octal, hex) and
  // stops at a space; anything else is not an address.
  std::string address(text);
  if (const size_t space = address.find(' '); space != std::string::npos) address.resize(space);
  in_addr parsed{};
  if (address.empty() || ::inet_aton(address.c_str(), &parsed) == 0) return WS_INADDR_NONE;
  return parsed.s_addr;
}

char* inet_ntoa(WS_in_addr address) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&address.s_addr);
  std::snprintf(tDottedText, sizeof tDottedText, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2],
                bytes[3]);
  return tDottedText;
}

int gethostname(char* name, int length) {
  if (!SocketServiceStarted()) return SOCKET_ERROR;
  char host[256] = {};
  if (name == nullptr || length <= 0 || ::gethostname(host, sizeof host - 1) != 0 ||
      std::strlen(host) >= static_cast<size_t>(length))
    return FailWith(WSAEFAULT);
  std::strcpy(name, host);
  return 0;
}

WS_hostent* gethostbyname(const char* name) {
  if (!SocketServiceStarted()) return nullptr;
  if (name == nullptr) {
    SetLastError(WSAEFAULT);
    return nullptr;
  }
  char local[256] = {};
  if (*name == '\0') {  // the device's own name
    ::gethostname(local, sizeof local - 1);
    name = local;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* list = nullptr;
  if (const int status = ::getaddrinfo(name, nullptr, &hints, &list); status != 0) {
    SetLastError(DeviceCodeOfResolverError(status));
    return nullptr;
  }
  std::vector<std::array<char, 4>> addresses;
  for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
    std::array<char, 4> bytes;
    std::memcpy(bytes.data(), &reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr, 4);
    bool seen = false;
    for (const auto& known : addresses) seen = seen || known == bytes;
    if (!seen) addresses.push_back(bytes);
  }
  std::string canonical = list->ai_canonname != nullptr ? list->ai_canonname : name;
  ::freeaddrinfo(list);
  return PublishHostEntry(std::move(canonical), addresses);
}

WS_hostent* gethostbyaddr(const char* address, int length, int family) {
  if (!SocketServiceStarted()) return nullptr;
  if (address == nullptr || length < 4) {
    SetLastError(WSAEFAULT);
    return nullptr;
  }
  if (family != WS_AF_INET) {
    SetLastError(WSAEAFNOSUPPORT);
    return nullptr;
  }
  sockaddr_in host{};
  host.sin_family = AF_INET;
  std::memcpy(&host.sin_addr, address, 4);
  char name[NI_MAXHOST] = {};
  const int status = ::getnameinfo(reinterpret_cast<const sockaddr*>(&host), sizeof host, name,
                                   sizeof name, nullptr, 0, NI_NAMEREQD);
  if (status != 0) {
    SetLastError(status == EAI_NONAME ? WSAHOST_NOT_FOUND : DeviceCodeOfResolverError(status));
    return nullptr;
  }
  std::array<char, 4> bytes;
  std::memcpy(bytes.data(), address, 4);
  return PublishHostEntry(name, {bytes});
}

int getaddrinfo(const char* node, const char* service, const WS_addrinfo* hints,
                WS_addrinfo** result) {
  if (result == nullptr) {
    SetLastError(WSAEINVAL);
    return static_cast<int>(WSAEINVAL);
  }
  *result = nullptr;
  if (!SocketServiceStarted()) return static_cast<int>(WSANOTINITIALISED);
  addrinfo hostHints{};
  if (hints != nullptr) {
    hostHints.ai_flags = hints->ai_flags & (WS_AI_PASSIVE | WS_AI_CANONNAME | WS_AI_NUMERICHOST);
    hostHints.ai_family = HostFamilyOf(hints->ai_family);
    hostHints.ai_socktype = hints->ai_socktype;
    hostHints.ai_protocol = hints->ai_protocol;
  }
  addrinfo* list = nullptr;
  if (const int status = ::getaddrinfo(node, service, &hostHints, &list); status != 0) {
    const DWORD code = DeviceCodeOfResolverError(status);
    SetLastError(code);
    return static_cast<int>(code);
  }
  WS_addrinfo** tail = result;
  for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
    auto* copy = new WS_addrinfo{};
    copy->ai_flags = entry->ai_flags;
    copy->ai_family = entry->ai_family == AF_INET6 ? WS_AF_INET6 : entry->ai_family;
    copy->ai_socktype = entry->ai_socktype;
    copy->ai_protocol = entry->ai_protocol;
    copy->ai_addrlen = entry->ai_addrlen;
    auto* address = reinterpret_cast<WS_sockaddr*>(new char[entry->ai_addrlen]);
    int length = static_cast<int>(entry->ai_addrlen);
    FromHostAddress(entry->ai_addr, entry->ai_addrlen, address, &length);
    copy->ai_addr = address;
    if (entry->ai_canonname != nullptr) {
      copy->ai_canonname = new char[std::strlen(entry->ai_canonname) + 1];
      std::strcpy(copy->ai_canonname, entry->ai_canonname);
    }
    *tail = copy;
    tail = &copy->ai_next;
  }
  ::freeaddrinfo(list);
  return 0;
}

void freeaddrinfo(WS_addrinfo* list) {
  while (list != nullptr) {
    WS_addrinfo* next = list->ai_next;
    delete[] reinterpret_cast<char*>(list->ai_addr);
    delete[] list->ai_canonname;
    delete list;
    list = next;
  }
}

int getnameinfo(const WS_sockaddr* address, int length, char* host, DWORD hostLength,
                char* service, DWORD serviceLength, int flags) {
  if (!SocketServiceStarted()) return static_cast<int>(WSANOTINITIALISED);
  std::optional<HostAddress> hostAddress = ToHostAddress(address, length);
  if (!hostAddress) return static_cast<int>(GetLastError());
  int hostFlags = 0;
  if (flags & WS_NI_NOFQDN) hostFlags |= NI_NOFQDN;
  if (flags & WS_NI_NUMERICHOST) hostFlags |= NI_NUMERICHOST;
  if (flags & WS_NI_NAMEREQD) hostFlags |= NI_NAMEREQD;
  if (flags & WS_NI_NUMERICSERV) hostFlags |= NI_NUMERICSERV;
  if (flags & WS_NI_DGRAM) hostFlags |= NI_DGRAM;
  const int status = ::getnameinfo(reinterpret_cast<const sockaddr*>(&hostAddress->storage),
                                   hostAddress->length, host, host ? hostLength : 0, service,
                                   service ? serviceLength : 0, hostFlags);
  if (status == 0) return 0;
  const DWORD code = status == EAI_OVERFLOW ? WSAEFAULT : DeviceCodeOfResolverError(status);
  SetLastError(code);
  return static_cast<int>(code);
}

int WSALookupServiceBeginW(WSAQUERYSETW* restrictions, DWORD, HANDLE* lookup) {
  if (!SocketServiceStarted()) return SOCKET_ERROR;
  if (restrictions == nullptr || lookup == nullptr) return FailWith(WSAEFAULT);
  *lookup = nullptr;
  return FailWith(WSASERVICE_NOT_FOUND);
}

int WSALookupServiceNextW(HANDLE, DWORD, DWORD* length, WSAQUERYSETW* results) {
  if (!SocketServiceStarted()) return SOCKET_ERROR;
  if (length == nullptr || results == nullptr) return FailWith(WSAEFAULT);
  return FailWith(ERROR_INVALID_HANDLE);  // no lookup can have begun
}

int WSALookupServiceEnd(HANDLE) {
  if (!SocketServiceStarted()) return SOCKET_ERROR;
  return FailWith(ERROR_INVALID_HANDLE);
}

int WSASetServiceW(WSAQUERYSETW* registration, int, DWORD) {
  if (!SocketServiceStarted()) return SOCKET_ERROR;
  if (registration == nullptr) return FailWith(WSAEFAULT);
  return FailWith(WSAEOPNOTSUPP);
}

}  // namespace ce::winsock
