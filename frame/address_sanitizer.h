// Whether this build runs under the address sanitizer (GCC and Clang say it differently). Code
// that is faster with reads the sanitizer would report (whole aligned blocks past a text's end)
// or with memory kept for reuse takes its plain path then, so that every access is checked.
#pragma once

namespace tq {

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

}  // namespace tq
