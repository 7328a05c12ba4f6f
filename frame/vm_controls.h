// The VM's control objects (the application's window and its controls), reached through the
// VM's object interface: a control-reference argument (parameter type 57) names a control,
// VMServices operation 120 (ControlNamed) looks it up, and the control object answers the
// questions the library asks about it.
//
// A control-reference argument is a pointer-sized word holding a pointer to the control's
// name (zero-terminated UTF-16); the name serves error messages even when the lookup finds
// nothing. Control objects belong to the VM and live as long as the application: the library
// never releases them.
//
// Control object slots:
//   0 Type() -> the VM's control type;
//   1 Window() -> the control's window handle (0 when it has none);
//   2 Visible() -> non-zero when the VM shows the control;
//   3 Enabled() -> non-zero when the control takes input;
//   4 State() -> the control's state (4: inactive);
//   5 ConvertUnit(value, from, to) -> value converted between unit systems
//     (3: the control's display units, 2: pixels);
//   6 Bounds(int32_t[4] out) -> x, y, width and height in screen pixels;
//   7 InnerType() -> for composite controls, the type of the inner element (0 when none);
//   8 IsWindow() -> non-zero for the application's window itself.
#pragma once

#include <cstdint>

#include "frame/call_context.h"
#include "frame/vm_object.h"

namespace tq {

namespace vmservice {
inline constexpr int kControlNamed = 120;  // (name) -> control object or null
inline constexpr int kStringMode = 218;    // () -> the application's string mode
}  // namespace vmservice

namespace control {
inline constexpr int kType = 0;
inline constexpr int kWindow = 1;
inline constexpr int kVisible = 2;
inline constexpr int kEnabled = 3;
inline constexpr int kState = 4;
inline constexpr int kConvertUnit = 5;
inline constexpr int kBounds = 6;
inline constexpr int kInnerType = 7;
inline constexpr int kIsWindow = 8;
inline constexpr int32_t kDisplayUnits = 3;
inline constexpr int32_t kPixels = 2;
}  // namespace control

struct ControlBounds {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// A control as the library sees it; an object whose lookup failed is `!found()`.
class VMControl {
 public:
  VMControl() = default;
  explicit VMControl(VMObject* object) : object_(object) {}

  bool found() const { return object_ != nullptr; }
  int32_t type() const { return CallSlot<int32_t>(object_, control::kType); }
  intptr_t window() const { return CallSlot<intptr_t>(object_, control::kWindow); }
  bool visible() const { return CallSlot<int32_t>(object_, control::kVisible) != 0; }
  bool enabled() const { return CallSlot<int32_t>(object_, control::kEnabled) != 0; }
  int32_t state() const { return CallSlot<int32_t>(object_, control::kState); }
  int32_t innerType() const { return CallSlot<int32_t>(object_, control::kInnerType); }
  bool isWindow() const { return CallSlot<int32_t>(object_, control::kIsWindow) != 0; }
  // A length in the control's display units, in pixels.
  int32_t ToPixels(int32_t value) const {
    return CallSlot<int32_t>(object_, control::kConvertUnit, value, control::kDisplayUnits,
                             control::kPixels);
  }
  ControlBounds bounds() const {
    int32_t out[4] = {};
    CallSlot<void>(object_, control::kBounds, out);
    return ControlBounds{out[0], out[1], out[2], out[3]};
  }

 private:
  VMObject* object_ = nullptr;
};

// The name a control-reference argument carries (never null: an absent name is empty).
inline const char16_t* ControlNameArgument(void** args, int i) {
  const char16_t* name = *static_cast<const char16_t* const*>(args[i]);
  return name != nullptr ? name : u"";
}

// The VM's control of that name, looked up through the call's services.
inline VMControl FindControl(CallContext* context, const char16_t* name) {
  return VMControl(CallSlot<VMObject*>(context->services, vmservice::kControlNamed, name));
}

// The application's string mode (0 Unicode; 1 and 2 8-bit modes).
inline int32_t StringMode(CallContext* context) {
  return CallSlot<int32_t>(context->services, vmservice::kStringMode);
}

}  // namespace tq
