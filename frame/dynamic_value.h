// DynamicValue: the VM's variant. A value holds a type word (code in bits 0..7, VM-owned flags
// 0x100 and 0x400), a pointer to the behaviour table of its current type (the TypeHandler) and
// a payload whose layout depends on the type. The VM calls the handler's operations by slot,
// passing the address of the handler pointer inside the value.
//
// Invariants: the handler always matches the type code; a value of type 0 holds nothing and
// uses the empty table, whose operations fail with 105 or return 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tq {

struct TypeHandlerTable;
using TypeHandler = const TypeHandlerTable* const*;

struct DynamicValue {
  uint32_t vmWord = 0;  // owned by the VM; 0 when the library creates a value
  const TypeHandlerTable* handler;
  uint16_t typeWord = 0;
  alignas(8) unsigned char payload[24] = {};  // 16-byte payloads, and type 25's 9 characters

  DynamicValue();  // type 0
  DynamicValue(const DynamicValue&) = delete;
  DynamicValue& operator=(const DynamicValue&) = delete;
  ~DynamicValue();  // Destroy
  uint8_t type() const { return static_cast<uint8_t>(typeWord & 0xff); }
};

inline constexpr uint16_t kValueFlagsKept = 0x100 | 0x400;

// Every operation of a TypeHandler has this shape: (handler, pointer argument, integer
// argument) -> 0 or an error code (Predicate returns its truth value). The meaning of the two
// arguments per slot is given in the slot list below.
using HandlerOperation = int32_t (*)(TypeHandler self, void* p, intptr_t n);

namespace handler {
inline constexpr int kDestroy = 0;         // releases the payload, installs the empty table
inline constexpr int kCopyTo = 1;          // p: target DynamicValue
inline constexpr int kNativeSize = 2;      // p: uint32_t* out
inline constexpr int kNativeData = 3;      // p: void** out
inline constexpr int kReadNative = 4;      // p: out buffer (NativeSize bytes)
inline constexpr int kStorageSize = 5;     // as kNativeSize
inline constexpr int kStorageData = 6;     // as kNativeData
inline constexpr int kReadStorage = 7;     // p: out (the word, or the text with terminator)
inline constexpr int kAssignBytes = 8;     // p: source, n: byte count
inline constexpr int kAssign = 9;          // p: one payload
inline constexpr int kPredicate = 13;      // -> truth value
inline constexpr int kTextByteLength = 14; // p: uint32_t* out
inline constexpr int kReadText = 15;       // p: out (UTF-16 text, or the word)
inline constexpr int kIncrement = 16;      // -> 0, 1 when leaving the 32-bit range
inline constexpr int kDecrement = 17;
inline constexpr int kAssignAnsiN = 18;    // p: code page 1252 text, n: length
inline constexpr int kAssignAnsi = 19;     // p: zero-terminated code page 1252 text
inline constexpr int kSlotCount = 28;
}  // namespace handler

struct TypeHandlerTable {
  HandlerOperation operation[handler::kSlotCount];
};

inline int32_t CallHandler(DynamicValue& v, int slot, void* p = nullptr, intptr_t n = 0) {
  return v.handler->operation[slot](&v.handler, p, n);
}

// Changes the value's type: no effect when the whole type word equals `code`; otherwise the
// payload is destroyed and the new type's initial payload installed. Only the low 8 bits of
// `code` count; 0 and codes above 155 give type 0; 15 is stored as 8. Clears the VM flags.
void SetType(DynamicValue& value, uint32_t code, intptr_t reserved = 0);

// In-place conversion through the VM's conversion entry points. Returns 0..99 on success (the
// VM's code), or the VM's code of 100 or more with the value unchanged.
int32_t Convert(DynamicValue& value, uint32_t targetCode);

// Convenience setters used by entries building results (type set, payload assigned, flags
// cleared).
void SetInteger(DynamicValue& value, int32_t n);
void SetReal(DynamicValue& value, double x);
void SetBoolean(DynamicValue& value, bool b);
int32_t SetText(DynamicValue& value, std::u16string_view text);  // type 28 (VMString)

// Payload access for the types the families read directly.
int32_t IntegerOf(const DynamicValue& value);  // types 1..8 and 15 as stored
double RealOf(const DynamicValue& value);       // numeric types (2..15) as a real
std::u16string_view TextOf(const DynamicValue& value);  // types 24, 25 and 28

// The table for type `code` (after the low-8-bit and 15 -> 8 rules); the empty table for 0.
const TypeHandlerTable* HandlerFor(uint8_t code);
size_t PayloadSize(uint8_t code);

// The VM's value factory (its pQueryProxy id 102), used to create type-13 payloads.
void SetValueFactory(void* factory);

}  // namespace tq
