// NetworkConnect: gives a local name to a shared network resource through the device's
// network-connection service (WNetAddConnection3 of "coredll.dll", looked up by name), and
// turns the platform's result into a status number with a matching error.
//
// Invariants: a device without the service gives 0 and raises nothing; every other platform
// result gives exactly one of the statuses 0, 4 to 14, with its error raised (none for 0).
#pragma once

#include <cstdint>
#include <string>

#include "frame/component_proxy.h"

namespace tq::net {

// `user` may be null (no user); a null password is the empty password.
int32_t NetworkConnect(ComponentProxy* proxy, const char16_t* localName,
                       const char16_t* remoteName, const char16_t* user,
                       const char16_t* password);

// The status for a platform result, with its error raised on the proxy.
int32_t MapConnectionResult(ComponentProxy* proxy, uint32_t result, const std::u16string& local,
                            const std::u16string& remote);

}  // namespace tq::net
