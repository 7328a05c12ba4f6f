// The constant, type and VM-data tables.
//
// The VM keys constants by id and name number and interprets their attribute words; the
// per-record values of the original tables are not available to us, so every record carries
// a documented default:
//   first form:  name number 101 + position (unique, within 101..5700), attribute 0x3200010
//                (the most frequent), word 5 0x81, and the "no value" form: type word 0x8 with
//                value 0;
//   second form: attribute 0x13200010, type code 8 in bits 24..31, 8 in bits 16..23 and the
//                running numbers 1 to 54 without 46.
// The VM data block is handed to the VM and never read here: its 24-byte header (16-bit 5 at
// byte 0, the 32-bit length of the rest at byte 8) followed by zeros.
#include "frame/constant_tables.h"

#include "frame/function_table.h"
#include "system/process_type.h"

#include <array>
#include <utility>

namespace tq {
namespace {

constexpr uint32_t kFirstConstantId = 530;
constexpr uint32_t kFirstSecondConstantId = 1228;
constexpr uint32_t kDefaultConstantAttribute = 0x3200010;
constexpr uint32_t kDefaultSecondAttribute = 0x13200010;
constexpr uint32_t kNoValueTypeWord = 0x8;
constexpr uint32_t kSkippedRunningNumber = 46;

template <size_t... I>
constexpr std::array<ConstantRecord, sizeof...(I)> MakeConstants(std::index_sequence<I...>) {
  return {ConstantRecord{kFirstConstantId + static_cast<uint32_t>(I), 101 + static_cast<uint32_t>(I),
                         {0, 0}, kDefaultConstantAttribute, 0x81, 0, kNoValueTypeWord}...};
}

constexpr uint32_t RunningNumber(size_t position) {
  const uint32_t n = static_cast<uint32_t>(position) + 1;
  return n >= kSkippedRunningNumber ? n + 1 : n;
}

template <size_t... I>
constexpr std::array<SecondConstantRecord, sizeof...(I)> MakeSecondConstants(
    std::index_sequence<I...>) {
  return {SecondConstantRecord{kFirstSecondConstantId + static_cast<uint32_t>(I), {0, 0, 0},
                               kDefaultSecondAttribute, 0,
                               (8u << 24) | (8u << 16) | RunningNumber(I), 0}...};
}

constexpr std::array<unsigned char, kVMDataBlockSize> MakeDataBlock() {
  std::array<unsigned char, kVMDataBlockSize> block{};
  block[0] = 5;
  constexpr uint32_t rest = kVMDataBlockSize - 24;
  block[8] = rest & 0xff;
  block[9] = (rest >> 8) & 0xff;
  block[10] = (rest >> 16) & 0xff;
  block[11] = (rest >> 24) & 0xff;
  return block;
}

intptr_t gRegisteredTypeValue = 0;

// The process object (system/process_type.h).
void* ConstructProcess() { return ConstructProcessTypeObject(); }
void RegisterType(intptr_t vmValue) { gRegisteredTypeValue = vmValue; }

const TypeRecord kProcessType = {1281, "+:008:0:STD:Processus", kTypeMemberAttribute, 2,
                                 &ConstructProcess, &RegisterType};

}  // namespace

constinit const std::array<ConstantRecord, kConstantCount> kConstants =
    MakeConstants(std::make_index_sequence<kConstantCount>());
constinit const std::array<SecondConstantRecord, kSecondConstantCount> kSecondConstants =
    MakeSecondConstants(std::make_index_sequence<kSecondConstantCount>());
constinit const std::array<unsigned char, kVMDataBlockSize> kVMDataBlock = MakeDataBlock();

const char* const kTypeList[kTypeCount + 1] = {
    "+:061:2:PNT:Ic\xc3\xb4ne",  // "Icône" in UTF-8
    "+:008:0:STD:Processus", "+:008:1:STD:InfoVersion", "+:008:2:STD:Certificat",
    "+:008:3:STD:URI",       nullptr,
};

const TypeRecord* const kTypeRecords[2] = {&kProcessType, nullptr};

intptr_t RegisteredTypeValue() { return gRegisteredTypeValue; }

}  // namespace tq
