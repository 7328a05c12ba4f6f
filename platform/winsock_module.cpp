// Declares the device's socket library to the module loader: its procedures by their device
// names, under the module name that the device configuration gives.
#include <mutex>

#include "platform/modules.h"
#include "platform/network_settings.h"
#include "platform/winsock.h"

namespace ce {
namespace {

template <typename Function>
ModuleExport Export(const char* name, Function* function) {
  return ModuleExport{name, 0, reinterpret_cast<FARPROC>(function)};
}

std::vector<ModuleExport> SocketExports(bool addressInfo) {
  using namespace winsock;
  std::vector<ModuleExport> exports = {
      Export("accept", &accept),
      Export("bind", &bind),
      Export("closesocket", &closesocket),
      Export("connect", &connect),
      Export("ioctlsocket", &ioctlsocket),
      Export("getpeername", &getpeername),
      Export("getsockname", &getsockname),
      Export("getsockopt", &getsockopt),
      Export("htonl", &WS_htonl),
      Export("htons", &WS_htons),
      Export("inet_addr", &inet_addr),
      Export("inet_ntoa", &inet_ntoa),
      Export("listen", &listen),
      Export("ntohl", &WS_ntohl),
      Export("ntohs", &WS_ntohs),
      Export("recv", &recv),
      Export("recvfrom", &recvfrom),
      Export("select", &select),
      Export("send", &send),
      Export("sendto", &sendto),
      Export("setsockopt", &setsockopt),
      Export("shutdown", &shutdown),
      Export("socket", &socket),
      Export("gethostbyaddr", &gethostbyaddr),
      Export("gethostbyname", &gethostbyname),
      Export("gethostname", &gethostname),
      Export("WSAStartup", &WSAStartup),
      Export("WSACleanup", &WSACleanup),
      Export("WSALookupServiceBeginW", &WSALookupServiceBeginW),
      Export("WSALookupServiceNextW", &WSALookupServiceNextW),
      Export("WSALookupServiceEnd", &WSALookupServiceEnd),
      Export("WSASetServiceW", &WSASetServiceW),
      Export("__WSAFDIsSet", &WSAFDIsSet),
  };
  if (addressInfo) {
    exports.push_back(Export("getaddrinfo", &getaddrinfo));
    exports.push_back(Export("getnameinfo", &getnameinfo));
    exports.push_back(Export("freeaddrinfo", &freeaddrinfo));
  }
  return exports;
}

std::mutex gMutex;
std::shared_ptr<const NetworkSettings> gRegisteredFor;  // guarded by gMutex

}  // namespace

void RegisterSocketModules() {
  std::shared_ptr<const NetworkSettings> settings = CurrentNetworkSettings();
  std::lock_guard<std::mutex> lock(gMutex);
  if (gRegisteredFor == settings) return;
  gRegisteredFor = settings;
  // The device has at most one of the two names.
  UnregisterDeviceModule(u"Ws2.dll");
  UnregisterDeviceModule(u"Winsock.dll");
  if (!settings->socketLibrary.empty()) {
    RegisterBuiltinDeviceModule(settings->socketLibrary, SocketExports(settings->addressInfo));
  }
}

}  // namespace ce
