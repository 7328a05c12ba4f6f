// Implementation entries of the network family: NetworkConnect in its three forms.
#include "frame/call_context.h"
#include "functions/entry.h"
#include "net/network_connect.h"

namespace tq::entries {
namespace {

int32_t ConnectEntry(CallContext* c, ComponentProxy* p, void** args, const char16_t* user,
                     const char16_t* password) {
  const int32_t status =
      net::NetworkConnect(p, TextArgument(args, 0), TextArgument(args, 1), user, password);
  SetResult(c, &status, typecode::kInteger);
  return 0;
}

}  // namespace

TQ_ENTRY(NetworkConnect_Remote) { return ConnectEntry(context, proxy, args, nullptr, nullptr); }

TQ_ENTRY(NetworkConnect_Password) {
  return ConnectEntry(context, proxy, args, nullptr, TextArgument(args, 2));
}

TQ_ENTRY(NetworkConnect_User) {
  return ConnectEntry(context, proxy, args, TextArgument(args, 2), TextArgument(args, 3));
}

}  // namespace tq::entries
