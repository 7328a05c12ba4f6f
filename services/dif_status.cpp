// Difference statuses as errors. Statuses 3 and 7 pass the constant 80896 as their message
// argument; their texts do not show it.
#include "services/dif_status.h"

#include "frame/raise_error.h"

namespace tq {

uint32_t DiffErrorId(DiffStatus status) {
  switch (status) {
    case DiffStatus::kMalformed:
      return 81651;
    case DiffStatus::kOtherOriginal:
      return 81652;
    case DiffStatus::kWrongResult:
      return 81653;
    case DiffStatus::kTooLarge:
      return 81654;
    case DiffStatus::kEmptyOriginal:
      return 81655;
    case DiffStatus::kNothingToDo:
      return 81656;
    default:
      return 81650;
  }
}

void RaiseDiffError(ComponentProxy* proxy, DiffStatus status) {
  constexpr int32_t kConstantArgument = 80896;
  const uint32_t id = DiffErrorId(status);
  if (status == DiffStatus::kOtherOriginal || status == DiffStatus::kNothingToDo) {
    RaiseError(proxy, id, {kConstantArgument});
  } else {
    RaiseError(proxy, id);
  }
}

}  // namespace tq
