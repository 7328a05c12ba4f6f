// The arguments of a message's insertion points (%1, %2, ...). Families pass them as a braced
// list: RaiseError(proxy, 80120, {path, count}). Texts are referenced, not copied: they must
// outlive the call that formats them, which they do as temporaries of that call.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace tq {

struct MessageArg {
  enum class Kind : uint8_t { kText, kSigned, kUnsigned, kReal, kPointer };
  Kind kind;
  std::u16string_view text;
  int64_t integer = 0;
  double real = 0;

  MessageArg(std::u16string_view t) : kind(Kind::kText), text(t) {}
  MessageArg(const std::u16string& t) : kind(Kind::kText), text(t) {}
  MessageArg(const char16_t* t) : kind(Kind::kText), text(t ? t : u"") {}
  MessageArg(int32_t n) : kind(Kind::kSigned), integer(n) {}
  MessageArg(int64_t n) : kind(Kind::kSigned), integer(n) {}
  MessageArg(uint32_t n) : kind(Kind::kUnsigned), integer(n) {}
  MessageArg(uint64_t n) : kind(Kind::kUnsigned), integer(static_cast<int64_t>(n)) {}
  MessageArg(double x) : kind(Kind::kReal), real(x) {}
  MessageArg(const void* p)
      : kind(Kind::kPointer), integer(static_cast<int64_t>(reinterpret_cast<uintptr_t>(p))) {}
};

using MessageArgs = std::span<const MessageArg>;

}  // namespace tq
