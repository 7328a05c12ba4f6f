// DynamicValue life cycle: change of type, destruction, conversion through the VM, and the
// small typed accessors the families use.
#include "frame/dynamic_value.h"

#include <cstring>

#include "frame/conversion_services.h"
#include "frame/type_layout.h"
#include "frame/vm_object.h"
#include "frame/vm_string.h"

namespace tq {
namespace {

void* gValueFactory = nullptr;

uint8_t StoredCode(uint32_t code) {
  const uint32_t low = code & 0xff;
  if (low > kHighestTypeCode) return 0;
  return low == 15 ? 8 : static_cast<uint8_t>(low);
}

void InstallInitialPayload(DynamicValue& value, uint8_t code) {
  const TypeLayout layout = LayoutOf(code);
  std::memset(value.payload, 0, sizeof value.payload);
  value.handler = HandlerFor(code);
  value.typeWord = code;
  if (layout.kind == PayloadKind::kNone) value.typeWord = 0;
  if (layout.zeroText) {
    for (uint32_t i = 0; i < layout.textChars; ++i) {
      if (layout.kind == PayloadKind::kWideText)
        reinterpret_cast<char16_t*>(value.payload)[i] = u'0';
      else
        value.payload[i] = '0';
    }
  }
  if (layout.kind == PayloadKind::kObject && gValueFactory != nullptr) {
    // The factory's first operation creates the object: (0, the type-13 behaviour table).
    void* object = CallSlot<void*>(static_cast<VMObject*>(gValueFactory), 0,
                                   static_cast<void*>(nullptr),
                                   static_cast<const void*>(value.handler));
    std::memcpy(value.payload, &object, sizeof object);
  }
}

}  // namespace

DynamicValue::DynamicValue() : handler(HandlerFor(0)) {}
DynamicValue::~DynamicValue() { DestroyPayload(*this); }

void SetValueFactory(void* factory) { gValueFactory = factory; }

size_t PayloadSize(uint8_t code) { return LayoutOf(StoredCode(code)).size; }

void DestroyPayload(DynamicValue& value) {
  if (LayoutOf(value.type()).kind == PayloadKind::kVMString && value.handler != HandlerFor(0))
    Release(*reinterpret_cast<VMString*>(value.payload));
  std::memset(value.payload, 0, sizeof value.payload);
  value.handler = HandlerFor(0);
  value.typeWord = static_cast<uint16_t>(value.typeWord & ~0xffu);
}

size_t TextLength(const DynamicValue& value) {
  const char16_t* text = reinterpret_cast<const char16_t*>(value.payload);
  const uint32_t limit = LayoutOf(value.type()).textChars;
  size_t n = 0;
  while (n < limit && text[n] != 0) ++n;
  return n;
}

size_t AnsiLength(const DynamicValue& value) {
  const uint32_t limit = LayoutOf(value.type()).textChars;
  size_t n = 0;
  while (n < limit && value.payload[n] != 0) ++n;
  return n;
}

void SetType(DynamicValue& value, uint32_t code, intptr_t) {
  if (value.typeWord == code) return;
  DestroyPayload(value);
  InstallInitialPayload(value, StoredCode(code));
}

int32_t Convert(DynamicValue& value, uint32_t targetCode) {
  if (value.type() == (targetCode & 0xff)) return 0;
  const ConversionServices& vm = CurrentConversionServices();
  if (vm.convert == nullptr || vm.finish == nullptr) return kValueNotSupported;
  alignas(16) unsigned char converted[32] = {};
  const int32_t code =
      vm.convert(value.payload, value.type(), converted, static_cast<int32_t>(targetCode), 1, 0);
  if (code >= 100) return code;
  const uint16_t flags = value.typeWord & kValueFlagsKept;
  SetType(value, targetCode);
  const uint8_t target = value.type();
  void* source = converted;
  if (target == 13 || target == 18 || target == 110) std::memcpy(&source, converted, sizeof source);
  CallHandler(value, handler::kAssign, source);
  value.typeWord = static_cast<uint16_t>(value.typeWord | flags);
  vm.finish(converted, static_cast<int32_t>(targetCode), value.type(), value.typeWord);
  return code;
}

void SetInteger(DynamicValue& value, int32_t n) {
  SetType(value, 8);
  std::memcpy(value.payload, &n, 4);
}

void SetReal(DynamicValue& value, double x) {
  SetType(value, 12);
  std::memcpy(value.payload, &x, 8);
}

void SetBoolean(DynamicValue& value, bool b) {
  SetType(value, 1);
  const int32_t n = b ? 1 : 0;
  std::memcpy(value.payload, &n, 4);
}

int32_t SetText(DynamicValue& value, std::u16string_view text) {
  SetType(value, 28);
  return Assign(*reinterpret_cast<VMString*>(value.payload), text);
}

int32_t IntegerOf(const DynamicValue& value) {
  switch (LayoutOf(value.type()).size) {
    case 1: return value.type() == 2 ? static_cast<int8_t>(value.payload[0]) : value.payload[0];
    case 2: {
      int16_t x;
      std::memcpy(&x, value.payload, 2);
      return value.type() == 7 ? static_cast<uint16_t>(x) : x;
    }
    default: {
      int32_t x;
      std::memcpy(&x, value.payload, 4);
      return x;
    }
  }
}

double RealOf(const DynamicValue& value) {
  const uint8_t t = value.type();
  if (t == 12) {
    double x;
    std::memcpy(&x, value.payload, 8);
    return x;
  }
  if (t == 9 || t == 5 || t == 29) {
    int64_t x;
    std::memcpy(&x, value.payload, 8);
    return static_cast<double>(x);
  }
  if (t == 4 || t == 11) {  // unsigned 4-byte words
    uint32_t x;
    std::memcpy(&x, value.payload, 4);
    return x;
  }
  return IntegerOf(value);
}

std::u16string_view TextOf(const DynamicValue& value) {
  if (value.type() == 28) return View(*reinterpret_cast<const VMString*>(value.payload));
  if (LayoutOf(value.type()).kind == PayloadKind::kWideText)
    return {reinterpret_cast<const char16_t*>(value.payload), TextLength(value)};
  return {};
}

}  // namespace tq
