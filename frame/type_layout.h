// The payload layout of every DynamicValue type code: what kind of payload it holds, how many
// bytes, and what a change of type stores there. This one table drives the type handlers and
// SetType.
#pragma once

#include <cstdint>

namespace tq {

struct DynamicValue;

enum class PayloadKind : uint8_t {
  kNone,      // type 0 and every code without a payload
  kInteger,   // fixed-size bytes, initially zero (integers, reals, words, records)
  kVMString,  // type 28: a VMString pointer
  kObject,    // type 13: an object created by the VM's value factory
  kWideText,  // types 24, 25: UTF-16 text of 8 or 9 characters
  kAnsiText,  // types 128, 129: code page 1252 text of 8 or 9 characters
};

struct TypeLayout {
  PayloadKind kind;
  uint32_t size;        // bytes the payload occupies
  uint32_t nativeSize;  // NativeSize answer (16 for type 24, 18 for type 25)
  uint32_t textChars;   // text types: the characters it holds
  bool zeroText;        // initial text is "000000000" (types 25 and 129)
};

inline constexpr uint8_t kHighestTypeCode = 155;

constexpr TypeLayout LayoutOf(uint8_t code) {
  using K = PayloadKind;
  switch (code) {
    case 1:
      return {K::kInteger, 4, 4, 0, false};
    case 2: case 6:
      return {K::kInteger, 1, 1, 0, false};
    case 3: case 7: case 17:
      return {K::kInteger, 2, 2, 0, false};
    case 4: case 8: case 11: case 14: case 15: case 18: case 30: case 50: case 65: case 83:
    case 110: case 111: case 143: case 81:
    case 108: case 135: case 136: case 141: case 142: case 155:
      return {K::kInteger, 4, 4, 0, false};
    case 5: case 9: case 29: case 12: case 150: case 26: case 27:
      return {K::kInteger, 8, 8, 0, false};
    case 10:
      return {K::kInteger, 10, 10, 0, false};
    case 151: case 154:
      return {K::kInteger, 16, 16, 0, false};
    case 19: case 148: case 149:  // pointer words: pointer-sized on this platform
      return {K::kInteger, sizeof(void*), sizeof(void*), 0, false};
    case 16: case 28:  // texts held in a VMString (16: raw characters)
      return {K::kVMString, sizeof(void*), sizeof(void*), 0, false};
    case 13:
      return {K::kObject, sizeof(void*), sizeof(void*), 0, false};
    case 24:
      return {K::kWideText, 18, 16, 8, false};
    case 25:
      return {K::kWideText, 20, 18, 9, true};
    case 128:
      return {K::kAnsiText, 9, 8, 8, false};
    case 129:
      return {K::kAnsiText, 10, 9, 9, true};
    default:
      return {K::kNone, 0, 0, 0, false};
  }
}

// Helpers shared by the handlers and SetType.
void DestroyPayload(DynamicValue& value);  // releases the payload, installs the empty table
size_t TextLength(const DynamicValue& value);  // UTF-16 text types
size_t AnsiLength(const DynamicValue& value);  // 8-bit text types

}  // namespace tq
