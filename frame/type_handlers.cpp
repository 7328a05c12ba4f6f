// The behaviour tables of the DynamicValue types, one per type code, generated from a small
// description of each code's payload (PayloadKind and size). Operations a type does not
// support answer 105.
#include <array>
#include <cmath>
#include <cstring>
#include <utility>

#include "frame/dynamic_value.h"
#include "frame/text.h"
#include "frame/type_layout.h"
#include "frame/vm_string.h"

namespace tq {
namespace {

DynamicValue& ValueOf(TypeHandler self) {
  return *reinterpret_cast<DynamicValue*>(reinterpret_cast<char*>(const_cast<TypeHandlerTable**>(
                                              self)) -
                                          offsetof(DynamicValue, handler));
}

int32_t NotSupported(TypeHandler, void*, intptr_t) { return kValueNotSupported; }
int32_t ReturnsZero(TypeHandler, void*, intptr_t) { return 0; }

template <uint8_t Code>
struct Op {
  static constexpr TypeLayout layout = LayoutOf(Code);
  static constexpr uint32_t size = layout.size;

  static int32_t Destroy(TypeHandler self, void*, intptr_t) {
    DestroyPayload(ValueOf(self));
    return 0;
  }
  static int32_t CopyTo(TypeHandler self, void* p, intptr_t) {
    DynamicValue& from = ValueOf(self);
    DynamicValue& to = *static_cast<DynamicValue*>(p);
    if (&to == &from) return 0;
    SetType(to, Code);
    int32_t code = CallHandler(to, handler::kAssign, from.payload);
    to.typeWord = static_cast<uint16_t>(to.type() | (from.typeWord & kValueFlagsKept));
    return code;
  }
  static int32_t NativeSize(TypeHandler, void* p, intptr_t) {
    *static_cast<uint32_t*>(p) = layout.nativeSize;
    return 0;
  }
  static int32_t NativeData(TypeHandler self, void* p, intptr_t) {
    *static_cast<void**>(p) = ValueOf(self).payload;
    return 0;
  }
  static int32_t ReadNative(TypeHandler self, void* p, intptr_t) {
    std::memcpy(p, ValueOf(self).payload, layout.nativeSize);
    return 0;
  }
  static int32_t ReadStorage(TypeHandler self, void* p, intptr_t) {
    const DynamicValue& v = ValueOf(self);
    if (layout.kind == PayloadKind::kWideText) {
      std::memcpy(p, v.payload, (TextLength(v) + 1) * 2);
    } else if (layout.kind == PayloadKind::kAnsiText) {
      std::memcpy(p, v.payload, AnsiLength(v) + 1);
    } else {
      std::memcpy(p, v.payload, size);
    }
    return 0;
  }
  static int32_t AssignBytes(TypeHandler self, void* p, intptr_t n) {
    DynamicValue& v = ValueOf(self);
    if (layout.kind == PayloadKind::kVMString || layout.kind == PayloadKind::kObject)
      return kValueNotSupported;
    const size_t count = n < 0 ? 0 : std::min<size_t>(static_cast<size_t>(n), layout.nativeSize);
    std::memset(v.payload, 0, sizeof v.payload);
    if (p != nullptr) std::memcpy(v.payload, p, count);
    return 0;
  }
  static int32_t Assign(TypeHandler self, void* p, intptr_t) {
    DynamicValue& v = ValueOf(self);
    switch (layout.kind) {
      case PayloadKind::kVMString:
        Share(*reinterpret_cast<VMString*>(v.payload), *static_cast<const VMString*>(p));
        return 0;
      case PayloadKind::kWideText: {
        const char16_t* text = static_cast<const char16_t*>(p);
        size_t n = 0;
        char16_t* out = reinterpret_cast<char16_t*>(v.payload);
        while (text != nullptr && n < layout.textChars && text[n] != 0) out[n] = text[n], ++n;
        out[n] = 0;
        return 0;
      }
      case PayloadKind::kAnsiText: {
        const char* text = static_cast<const char*>(p);
        size_t n = 0;
        char* out = reinterpret_cast<char*>(v.payload);
        while (text != nullptr && n < layout.textChars && text[n] != 0) out[n] = text[n], ++n;
        out[n] = 0;
        return 0;
      }
      default:
        if (p != nullptr) std::memcpy(v.payload, p, size);
        return 0;
    }
  }
  static int32_t Predicate(TypeHandler self, void*, intptr_t) {
    const DynamicValue& v = ValueOf(self);
    if (layout.kind == PayloadKind::kWideText || layout.kind == PayloadKind::kAnsiText ||
        Code == 1)
      return 1;
    if (Code == 12) {
      double x;
      std::memcpy(&x, v.payload, 8);
      return x != 0 && !std::isnan(x);
    }
    if (layout.kind == PayloadKind::kInteger && size == 4) {
      int32_t x;
      std::memcpy(&x, v.payload, 4);
      return x >= 0;
    }
    return 0;
  }
  static int32_t TextByteLength(TypeHandler self, void* p, intptr_t) {
    const DynamicValue& v = ValueOf(self);
    if (layout.kind == PayloadKind::kWideText)
      *static_cast<uint32_t*>(p) = static_cast<uint32_t>(TextLength(v) * 2);
    else if (layout.kind == PayloadKind::kAnsiText)
      *static_cast<uint32_t*>(p) = static_cast<uint32_t>(AnsiLength(v) * 2);
    else if (size == 4)
      *static_cast<uint32_t*>(p) = 4;
    else
      return kValueNotSupported;
    return 0;
  }
  static int32_t ReadText(TypeHandler self, void* p, intptr_t) {
    const DynamicValue& v = ValueOf(self);
    if (layout.kind == PayloadKind::kWideText) return ReadStorage(self, p, 0);
    if (layout.kind == PayloadKind::kAnsiText) {
      std::u16string wide = Cp1252ToUtf16({reinterpret_cast<const char*>(v.payload),
                                           AnsiLength(v)});
      std::memcpy(p, wide.c_str(), (wide.size() + 1) * 2);
      return 0;
    }
    if (size == 4) {
      std::memcpy(p, v.payload, 4);
      return 0;
    }
    return kValueNotSupported;
  }
  static int32_t Step(TypeHandler self, int delta) {
    DynamicValue& v = ValueOf(self);
    int32_t x;
    std::memcpy(&x, v.payload, 4);
    const int64_t next = int64_t{x} + delta;
    x = static_cast<int32_t>(static_cast<uint32_t>(next));
    std::memcpy(v.payload, &x, 4);
    return next != x ? 1 : 0;
  }
  static int32_t Increment(TypeHandler self, void*, intptr_t) { return Step(self, 1); }
  static int32_t Decrement(TypeHandler self, void*, intptr_t) { return Step(self, -1); }
  static int32_t AssignAnsiN(TypeHandler self, void* p, intptr_t n) {
    DynamicValue& v = ValueOf(self);
    const char* text = static_cast<const char*>(p);
    size_t length = 0;
    // At most 10 units including the terminator.
    while (text != nullptr && length < 9 && (n < 0 || length < static_cast<size_t>(n)) &&
           text[length] != 0)
      ++length;
    if (layout.kind == PayloadKind::kAnsiText) {
      char ansi[10] = {};
      std::memcpy(ansi, text, std::min<size_t>(length, layout.textChars));
      return Assign(self, ansi, 0);
    }
    std::u16string wide = Cp1252ToUtf16({text ? text : "", length});
    return Assign(self, wide.data(), 0);
    (void)v;
  }
  static int32_t AssignAnsi(TypeHandler self, void* p, intptr_t) { return AssignAnsiN(self, p, -1); }
  static int32_t ReadAnsi(TypeHandler self, void* p, intptr_t) {
    const DynamicValue& v = ValueOf(self);
    std::memcpy(p, v.payload, AnsiLength(v) + 1);
    return 0;
  }

  static constexpr TypeHandlerTable Table() {
    const bool text = layout.kind == PayloadKind::kWideText;
    const bool ansi = layout.kind == PayloadKind::kAnsiText;
    const bool counter = layout.kind == PayloadKind::kInteger && size == 4 && Code != 1;
    TypeHandlerTable t{};
    for (auto& op : t.operation) op = &NotSupported;
    t.operation[handler::kDestroy] = &Destroy;
    t.operation[handler::kCopyTo] = &CopyTo;
    t.operation[handler::kNativeSize] = &NativeSize;
    t.operation[handler::kNativeData] = &NativeData;
    t.operation[handler::kReadNative] = &ReadNative;
    t.operation[handler::kStorageSize] = &NativeSize;
    t.operation[handler::kStorageData] = &NativeData;
    t.operation[handler::kReadStorage] = &ReadStorage;
    t.operation[handler::kAssignBytes] = &AssignBytes;
    t.operation[handler::kAssign] = &Assign;
    t.operation[handler::kPredicate] = &Predicate;
    t.operation[handler::kTextByteLength] = &TextByteLength;
    t.operation[handler::kReadText] = &ReadText;
    if (counter) {
      t.operation[handler::kIncrement] = &Increment;
      t.operation[handler::kDecrement] = &Decrement;
    }
    if (text || ansi) {
      t.operation[handler::kAssignAnsiN] = &AssignAnsiN;
      t.operation[handler::kAssignAnsi] = &AssignAnsi;
    }
    // 20..26 forward to 8, 9, 18, 19, 20, 21 and 8; 8-bit texts read themselves out on 21.
    t.operation[20] = t.operation[handler::kAssignBytes];
    t.operation[21] = ansi ? &ReadAnsi : t.operation[handler::kAssign];
    t.operation[22] = t.operation[handler::kAssignAnsiN];
    t.operation[23] = t.operation[handler::kAssignAnsi];
    t.operation[24] = t.operation[20];
    t.operation[25] = t.operation[21];
    t.operation[26] = t.operation[handler::kAssignBytes];
    return t;
  }
};

constexpr TypeHandlerTable EmptyTable() {
  TypeHandlerTable t{};
  for (auto& op : t.operation) op = &NotSupported;
  t.operation[handler::kDestroy] = &ReturnsZero;
  t.operation[handler::kPredicate] = &ReturnsZero;
  return t;
}

template <size_t... Codes>
constexpr auto MakeTables(std::index_sequence<Codes...>) {
  return std::array<TypeHandlerTable, sizeof...(Codes)>{
      (LayoutOf(static_cast<uint8_t>(Codes)).kind == PayloadKind::kNone
           ? EmptyTable()
           : Op<static_cast<uint8_t>(Codes)>::Table())...};
}

constexpr auto kTables = MakeTables(std::make_index_sequence<kHighestTypeCode + 1>());

}  // namespace

const TypeHandlerTable* HandlerFor(uint8_t code) {
  return code <= kHighestTypeCode ? &kTables[code] : &kTables[0];
}

}  // namespace tq
