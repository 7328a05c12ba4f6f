// The error definitions: error id -> message id, category and level.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tq {

struct ErrorDefinition {
  uint32_t errorId;    // 80001..81862
  uint32_t messageId;  // the text shown (0 for two records)
  uint32_t category;   // 0 for all but four records
  uint32_t level;      // bits 0..15: 1, 2 or 3; bit 16: a flag passed to the VM
};

inline constexpr uint32_t kLevelFlag = 0x10000;
inline constexpr size_t kErrorDefinitionCount = 296;

extern const ErrorDefinition gstErrorDef[kErrorDefinitionCount];

// Linear search from the first record, as the VM's tables are laid out; null when absent.
const ErrorDefinition* FindErrorDefinition(uint32_t errorId);

}  // namespace tq
