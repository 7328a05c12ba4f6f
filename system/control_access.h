// What keyboard and mouse emulation asks of the VM's control objects: whether the control was
// found, its name (for messages), type, inner element type (for the types 56 and 68 that hold
// another element), window, enabled state and state number, size in display units, and the
// conversion of a point from display units to pixels. The VM owns the objects; an adapter
// reaches them through the VM's object interface (vm_control.h), tests use their own.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window_types.h"

namespace tq {

class ControlAccess {
 public:
  virtual ~ControlAccess() = default;
  virtual bool Found() const = 0;
  virtual std::u16string Name() const = 0;
  // The application's window itself rather than a control inside it.
  virtual bool IsWindow() const = 0;
  virtual int32_t Type() const = 0;
  virtual int32_t InnerType() const = 0;
  virtual ce::HWND Window() const = 0;  // may be null
  virtual bool Enabled() const = 0;
  virtual int32_t State() const = 0;
  virtual int32_t Width() const = 0;  // display units
  virtual int32_t Height() const = 0;
  // Display units to pixels (the VM's conversion with the arguments 3 and 2).
  virtual ce::POINT ToPixels(ce::POINT point) const = 0;
};

}  // namespace tq
