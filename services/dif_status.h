// The status of one difference call (creating or applying) and the error each status raises.
// The status starts at 0 for every call; a call that fails keeps the status of the step that
// stopped it. Status 0 on a failed call means that the verifying application rebuilt
// something other than the new buffer without any step noticing.
#pragma once

#include <cstdint>

namespace tq {

struct ComponentProxy;

enum class DiffStatus : int32_t {
  kNone = 0,
  kBlockFailed = 1,    // a block could not be prepared, or memory ran out
  kMalformed = 2,      // the DIF data is not valid
  kOtherOriginal = 3,  // the DIF was made from another old buffer
  kWrongResult = 4,    // the rebuilt buffer does not have the announced CRC-32
  kTooLarge = 5,       // the DIF exceeds the allowed size
  kEmptyOriginal = 6,  // the old buffer is empty
  kNothingToDo = 7,    // the two buffers have the same CRC-32
};

struct DiffOutcome {
  bool succeeded = false;
  DiffStatus status = DiffStatus::kNone;

  static DiffOutcome Success() { return {true, DiffStatus::kNone}; }
  static DiffOutcome Failure(DiffStatus s) { return {false, s}; }
};

// 1: 81650, 2: 81651, 3: 81652 (with 80896), 4: 81653, 5: 81654, 6: 81655, 7: 81656 (with
// 80896), any other value: 81650.
uint32_t DiffErrorId(DiffStatus status);
void RaiseDiffError(ComponentProxy* proxy, DiffStatus status);

}  // namespace tq
