// Connecting a local name to a network resource and mapping the platform's answer.
#include "net/network_connect.h"

#include <string>

#include "frame/raise_error.h"
#include "platform/modules.h"
#include "platform/network_connection.h"

namespace tq::net {
namespace {

constexpr uint32_t kConstantArgument = 79872;  // passed by the device's callers, not shown

using AddConnection = ce::DWORD (*)(ce::HWND, ce::NETRESOURCEW*, const char16_t*,
                                    const char16_t*, ce::DWORD);

}  // namespace

int32_t MapConnectionResult(ComponentProxy* proxy, uint32_t result, const std::u16string& local,
                            const std::u16string& remote) {
  switch (result) {
    case 0: return 0;
    case 1206: RaiseError(proxy, 80211, {local}); return 5;   // bad profile
    case 1205: RaiseError(proxy, 80212, {local}); return 6;   // profile cannot be opened
    case ce::ERROR_BAD_DEV_TYPE: RaiseError(proxy, 80219, {remote, local}); return 4;
    case ce::ERROR_ALREADY_ASSIGNED:
    case 1202:  // device already remembered
      RaiseError(proxy, 80218, {local});
      return 7;
    case 1203: RaiseError(proxy, 80223, {uint32_t{1203}}); return 8;  // no net or bad path
    case 1222: RaiseError(proxy, 80224, {kConstantArgument}); return 9;  // no network
    case ce::ERROR_BAD_NETPATH:
    case ce::ERROR_BAD_NET_NAME:
      RaiseError(proxy, 80221, {remote});
      return 11;
    case ce::ERROR_BAD_DEVICE: RaiseError(proxy, 80220, {local}); return 12;
    case ce::ERROR_INVALID_PASSWORD: RaiseError(proxy, 80222); return 13;
    case ce::ERROR_ACCESS_DENIED: RaiseError(proxy, 80217); return 14;
    default:
      RaiseError(proxy, 80216, {kConstantArgument});
      RecordSystemError(proxy, result);
      return 10;
  }
}

int32_t NetworkConnect(ComponentProxy* proxy, const char16_t* localName,
                       const char16_t* remoteName, const char16_t* user,
                       const char16_t* password) {
  std::u16string local = localName ? localName : u"";
  std::u16string remote = remoteName ? remoteName : u"";
  std::u16string comment;
  ce::NETRESOURCEW resource{};
  resource.dwScope = ce::RESOURCE_GLOBALNET;
  resource.dwType = ce::RESOURCETYPE_ANY;
  resource.dwDisplayType = 0;
  resource.dwUsage = ce::RESOURCEUSAGE_CONNECTABLE;
  resource.lpLocalName = local.empty() ? nullptr : local.data();
  resource.lpRemoteName = remoteName ? remote.data() : nullptr;
  resource.lpComment = comment.data();
  resource.lpProvider = nullptr;

  ce::RegisterNetworkConnectionService();
  ce::HMODULE core = ce::GetModuleHandleW(u"coredll.dll");
  auto add = core ? reinterpret_cast<AddConnection>(ce::GetProcAddress(core, "WNetAddConnection3"))
                  : nullptr;
  if (add == nullptr) return 0;
  const ce::DWORD result = add(nullptr, &resource, password ? password : u"", user, 0);
  return MapConnectionResult(proxy, result, local, remote);
}

}  // namespace tq::net
