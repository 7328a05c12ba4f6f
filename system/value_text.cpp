// Registry data and text from VM values.
#include "system/value_text.h"

#include <cstring>

#include "frame/dynamic_value.h"
#include "frame/type_layout.h"
#include "frame/vm_string.h"
#include "platform/registry.h"
#include "system/registry_values.h"

namespace tq {
namespace {

// A copy of the value that conversions may change, converted to `code`; nullopt when the VM
// refuses.
bool ConvertedCopy(const DynamicValue& value, uint32_t code, DynamicValue& copy) {
  CallHandler(const_cast<DynamicValue&>(value), handler::kCopyTo, &copy);
  return Convert(copy, code) < 100;
}

bool HoldsVMString(const DynamicValue& value) {
  return LayoutOf(value.type()).kind == PayloadKind::kVMString;
}

}  // namespace

bool IsRegistryTypeName(std::u16string_view n) {
  return n == u"REG_DWORD" || n == u"REG_DWORD_BIG_ENDIAN" || n == u"REG_SZ" ||
         n == u"REG_EXPAND_SZ" || n == u"REG_QWORD" || n == u"REG_MULTI_SZ" || n == u"REG_BINARY";
}

std::string PayloadBytes(const DynamicValue& value) {
  if (HoldsVMString(value)) {
    const VMString& s = *reinterpret_cast<const VMString*>(value.payload);
    if (s.chars == nullptr) return {};
    return {reinterpret_cast<const char*>(s.chars), HeaderOf(s.chars)->lengthBytes};
  }
  const TypeLayout layout = LayoutOf(value.type());
  if (layout.kind == PayloadKind::kWideText)
    return {reinterpret_cast<const char*>(value.payload), TextLength(value) * 2};
  return {reinterpret_cast<const char*>(value.payload), layout.nativeSize};
}

std::optional<TypedBytes> TypedRegistryBytes(const DynamicValue& value, std::u16string_view name) {
  DynamicValue copy;
  if (name == u"REG_BINARY") {
    CallHandler(const_cast<DynamicValue&>(value), handler::kCopyTo, &copy);
    return TypedBytes{ce::REG_BINARY, PayloadBytes(copy)};
  }
  if (name == u"REG_DWORD" || name == u"REG_DWORD_BIG_ENDIAN") {
    if (!ConvertedCopy(value, 8, copy)) return std::nullopt;
    uint32_t n = static_cast<uint32_t>(IntegerOf(copy));
    if (name == u"REG_DWORD_BIG_ENDIAN") n = SwapHalves(n);
    return TypedBytes{name == u"REG_DWORD" ? ce::REG_DWORD : ce::REG_DWORD_BIG_ENDIAN,
                      std::string(reinterpret_cast<const char*>(&n), 4)};
  }
  if (name == u"REG_SZ" || name == u"REG_EXPAND_SZ") {
    std::optional<std::u16string> text = ValueAsText(value);
    if (!text) return std::nullopt;
    return TypedBytes{name == u"REG_SZ" ? ce::REG_SZ : ce::REG_EXPAND_SZ,
                      StringBytes(*text, false)};
  }
  if (name == u"REG_QWORD") {
    if (!ConvertedCopy(value, 5, copy)) return std::nullopt;
    return TypedBytes{ce::REG_QWORD, std::string(reinterpret_cast<const char*>(copy.payload), 8)};
  }
  if (name == u"REG_MULTI_SZ") {
    if (!ConvertedCopy(value, 16, copy)) return std::nullopt;
    return TypedBytes{ce::REG_MULTI_SZ, PayloadBytes(copy)};
  }
  return std::nullopt;
}

std::optional<std::u16string> ValueAsText(const DynamicValue& value) {
  DynamicValue copy;
  if (value.type() == 0) return std::u16string();
  if (HoldsVMString(value)) {
    CallHandler(const_cast<DynamicValue&>(value), handler::kCopyTo, &copy);
  } else if (!ConvertedCopy(value, 28, copy)) {
    return std::nullopt;
  }
  const std::string bytes = PayloadBytes(copy);
  std::u16string text(bytes.size() / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * 2);
  return text;
}

}  // namespace tq
