// The key engine: plays a key sequence into a target window. The whole sequence is parsed into
// input records first (key_sequence.h); a sequence that does not parse sends nothing and is
// not an error. Then the target is brought to the foreground (unless option 4), the records are
// sent one by one, and the message queue is pumped until the target has digested them.
//
// Invariants: when emulation is switched off the engine raises 81504 and sends nothing. The
// switch and the trace hook are library-wide settings, on and none by default.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "frame/component_proxy.h"
#include "platform/window_types.h"

namespace tq {

// The adapter between the engine and what it sends to: the window (may be none) and the
// conversion of a point of the sequence to screen pixels.
class SendTarget {
 public:
  virtual ~SendTarget() = default;
  virtual ce::HWND Window() const = 0;
  virtual ce::POINT ToScreen(ce::POINT point) const = 0;
};

// Library-wide settings of the engine.
void SetEmulationEnabled(bool enabled);
bool EmulationEnabled();
using InputTraceHook = std::function<void(std::string_view category, const ce::INPUT& record)>;
void SetInputTraceHook(InputTraceHook hook);

// Plays `sequence`; false when emulation is off (error raised) or the sequence does not parse.
bool SendKeySequence(ComponentProxy* proxy, std::u16string_view sequence,
                     const SendTarget* target, uint32_t options);

}  // namespace tq
