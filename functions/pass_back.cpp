// The pass-back entries: string functions that the VM executes itself. Each entry stores the
// status 42 and its VM routine number in the CallContext, marks the error state with the
// pass-back level, and returns 1 so that the VM runs the routine.
#include "frame/call_context.h"
#include "frame/component_proxy.h"
#include "frame/error_state.h"
#include "functions/entry.h"

namespace tq::entries {
namespace {

constexpr int32_t kPassBackStatus = 42;
constexpr uint32_t kPassBackLevel = 0x40000010;

int32_t PassBack(CallContext* context, ComponentProxy* proxy, int32_t routine) {
  context->status = kPassBackStatus;
  context->routine = routine;
  CXError* state = ErrorStateOf(proxy);
  if (state->level != kPassBackLevel) state->level = kPassBackLevel;
  return 1;
}

}  // namespace

#define TQ_PASS_BACK(FunctionId, Routine) \
  TQ_ENTRY(PassBack_##FunctionId) {       \
    (void)args;                           \
    return PassBack(context, proxy, Routine); \
  }

TQ_PASS_BACK(124, 5)
TQ_PASS_BACK(125, 20)
TQ_PASS_BACK(126, 12)
TQ_PASS_BACK(127, 0)
TQ_PASS_BACK(128, 2)
TQ_PASS_BACK(129, 10)
TQ_PASS_BACK(130, 11)
TQ_PASS_BACK(131, 22)
TQ_PASS_BACK(132, 24)
TQ_PASS_BACK(133, 7)
TQ_PASS_BACK(134, 21)
TQ_PASS_BACK(135, 18)
TQ_PASS_BACK(136, 19)
TQ_PASS_BACK(137, 17)
TQ_PASS_BACK(138, 14)
TQ_PASS_BACK(139, 15)
TQ_PASS_BACK(140, 4)
TQ_PASS_BACK(141, 9)
TQ_PASS_BACK(142, 26)
TQ_PASS_BACK(143, 25)
TQ_PASS_BACK(144, 8)
TQ_PASS_BACK(145, 16)
TQ_PASS_BACK(146, 13)
TQ_PASS_BACK(157, 3)
TQ_PASS_BACK(223, 6)
TQ_PASS_BACK(285, 1)
TQ_PASS_BACK(290, 23)

}  // namespace tq::entries
