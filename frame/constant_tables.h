// The constant, type and VM-data tables of the descriptor.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tq {

// First form (ids 530..1227): a value and its type word.
struct ConstantRecord {
  uint32_t id;
  uint32_t nameNumber;  // the VM's key for the constant's name
  uint32_t reserved[2];
  uint32_t attribute;
  uint32_t word5;       // 0x81
  uintptr_t value;      // an integer, or a pointer to UTF-16 text for string constants
  uint32_t typeWord;    // 0x808 integer, 0x7a08 string, 0x8 no value
};

// Second form (ids 1228..1280): no value; the type code and a running number.
struct SecondConstantRecord {
  uint32_t id;
  uint32_t reserved[3];
  uint32_t attribute;
  uint32_t word5;           // 0
  uint32_t typeAndNumber;   // type code << 24 | 8 << 16 | running number
  uint32_t word7;           // 0
};

struct TypeRecord {
  uint32_t typeId;  // 1281
  const char* typeString;
  uint32_t attribute;  // shared with the type member's FunctionRecord
  uint32_t value;      // 2
  void* (*constructor)();
  void (*registration)(intptr_t vmValue);
};

inline constexpr size_t kConstantCount = 698;
inline constexpr size_t kSecondConstantCount = 53;
inline constexpr size_t kTypeCount = 5;
inline constexpr size_t kVMDataBlockSize = 31551;

extern const std::array<ConstantRecord, kConstantCount> kConstants;
extern const std::array<SecondConstantRecord, kSecondConstantCount> kSecondConstants;
extern const char* const kTypeList[kTypeCount + 1];  // null-terminated
extern const TypeRecord* const kTypeRecords[2];      // null-terminated
extern const std::array<unsigned char, kVMDataBlockSize> kVMDataBlock;

// The VM value stored by the type's registration entry.
intptr_t RegisteredTypeValue();

}  // namespace tq
