// Whether this build runs under the address sanitizer (GCC and Clang say it differently). The
// stand-in changes two things then: the library stays mapped after it is closed, and freed
// strings always go back to the heap, so that the sanitizer sees every use after release.
#pragma once

namespace tqhost {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

}  // namespace tqhost
