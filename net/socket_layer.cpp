// Loading and binding the device's socket library, counted, under a spin lock.
#include "net/socket_layer.h"

#include <atomic>

#include "frame/message_format.h"
#include "frame/message_loader.h"
#include "net/own_address_info.h"
#include "platform/last_error.h"
#include "platform/modules.h"
#include "platform/tick_count.h"
#include "platform/winsock.h"

namespace tq::net {
namespace {

std::atomic<int> gLock{0};
int gCount = 0;               // guarded by gLock
ce::HMODULE gModule = nullptr;  // guarded by gLock
SocketEntries gEntries;       // written under gLock, read between Initialise and Release
bool gOwnAddressInfo = false;
std::u16string gModuleName;

class SpinLock {
 public:
  SpinLock() {
    while (gLock.exchange(1, std::memory_order_acquire) != 0) ce::Sleep(1);
  }
  ~SpinLock() { gLock.store(0, std::memory_order_release); }
};

template <typename Function>
void Bind(ce::HMODULE module, const char16_t* name, Function* slot) {
  *slot = reinterpret_cast<Function>(ce::GetProcAddressW(module, name));
}

void BindTable(ce::HMODULE module) {
  SocketEntries& t = gEntries;
  Bind(module, u"accept", &t.accept);
  Bind(module, u"bind", &t.bind);
  Bind(module, u"closesocket", &t.closesocket);
  Bind(module, u"connect", &t.connect);
  Bind(module, u"ioctlsocket", &t.ioctlsocket);
  Bind(module, u"getpeername", &t.getpeername);
  Bind(module, u"getsockname", &t.getsockname);
  Bind(module, u"getsockopt", &t.getsockopt);
  Bind(module, u"htonl", &t.htonl);
  Bind(module, u"htons", &t.htons);
  Bind(module, u"inet_addr", &t.inet_addr);
  Bind(module, u"inet_ntoa", &t.inet_ntoa);
  Bind(module, u"listen", &t.listen);
  Bind(module, u"ntohl", &t.ntohl);
  Bind(module, u"ntohs", &t.ntohs);
  Bind(module, u"recv", &t.recv);
  Bind(module, u"recvfrom", &t.recvfrom);
  Bind(module, u"select", &t.select);
  Bind(module, u"send", &t.send);
  Bind(module, u"sendto", &t.sendto);
  Bind(module, u"setsockopt", &t.setsockopt);
  Bind(module, u"shutdown", &t.shutdown);
  Bind(module, u"socket", &t.socket);
  Bind(module, u"gethostbyaddr", &t.gethostbyaddr);
  Bind(module, u"gethostbyname", &t.gethostbyname);
  Bind(module, u"gethostname", &t.gethostname);
  Bind(module, u"WSAStartup", &t.WSAStartup);
  Bind(module, u"WSACleanup", &t.WSACleanup);
  Bind(module, u"WSALookupServiceBeginW", &t.WSALookupServiceBeginW);
  Bind(module, u"WSALookupServiceNextW", &t.WSALookupServiceNextW);
  Bind(module, u"WSALookupServiceEnd", &t.WSALookupServiceEnd);
  Bind(module, u"WSASetServiceW", &t.WSASetServiceW);
  Bind(module, u"getaddrinfo", &t.getaddrinfo);
  Bind(module, u"getnameinfo", &t.getnameinfo);
  Bind(module, u"freeaddrinfo", &t.freeaddrinfo);
  Bind(module, u"__WSAFDIsSet", &t.WSAFDIsSet);
  gOwnAddressInfo = t.getaddrinfo == nullptr || t.getnameinfo == nullptr || t.freeaddrinfo == nullptr;
  if (gOwnAddressInfo) {
    t.getaddrinfo = &OwnGetAddrInfo;
    t.getnameinfo = &OwnGetNameInfo;
    t.freeaddrinfo = &OwnFreeAddrInfo;
  }
}

void Unload() {
  if (gModule != nullptr) ce::FreeLibrary(gModule);
  gModule = nullptr;
  gEntries = SocketEntries{};
  gModuleName.clear();
  gCount = 0;
}

}  // namespace

void SetNetFailure(NetFailure* failure, uint32_t id, std::initializer_list<MessageArg> args,
                   uint32_t systemCode) {
  if (failure == nullptr) return;
  failure->messageId = id;
  failure->systemCode = systemCode;
  failure->text =
      FormatInserts(LoadMessageText(id).value_or(u""), MessageArgs(args.begin(), args.size()));
}

bool SocketLayer::Initialise(NetFailure* failure) {
  SpinLock lock;
  if (++gCount != 1) return true;
  ce::RegisterSocketModules();
  gModuleName = u"Ws2.dll";
  gModule = ce::LoadLibraryW(u"Ws2.dll");
  if (gModule == nullptr) {
    gModuleName = u"Winsock.dll";
    gModule = ce::LoadLibraryW(u"Winsock.dll");
  }
  if (gModule != nullptr) BindTable(gModule);
  ce::WSADATA data;
  const int status = gEntries.WSAStartup != nullptr
                         ? gEntries.WSAStartup(0x0202, &data)
                         : static_cast<int>(ce::ERROR_MOD_NOT_FOUND);
  if (status != 0) {
    Unload();
    SetNetFailure(failure, 28905, {static_cast<uint32_t>(status)}, static_cast<uint32_t>(status));
    return false;
  }
  return true;
}

void SocketLayer::Release() {
  SpinLock lock;
  if (gCount == 0 || --gCount != 0) return;
  if (gEntries.WSACleanup != nullptr) gEntries.WSACleanup();
  Unload();
}

const SocketEntries& SocketLayer::Entries() { return gEntries; }

bool SocketLayer::UsesOwnAddressInfo() { return gOwnAddressInfo; }

std::u16string SocketLayer::LoadedModuleName() { return gModuleName; }

}  // namespace tq::net
