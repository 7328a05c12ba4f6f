// The emulation functions' view of a control (control_access.h) over the VM's control object
// (frame/vm_controls.h): the control named by a control-reference argument.
#pragma once

#include <string>

#include "frame/vm_controls.h"
#include "system/control_access.h"

namespace tq {

class VMControlAccess final : public ControlAccess {
 public:
  VMControlAccess(CallContext* context, const char16_t* name)
      : name_(name), control_(FindControl(context, name)) {}

  bool Found() const override { return control_.found(); }
  std::u16string Name() const override { return name_; }
  bool IsWindow() const override { return control_.isWindow(); }
  int32_t Type() const override { return control_.type(); }
  int32_t InnerType() const override { return control_.innerType(); }
  ce::HWND Window() const override { return reinterpret_cast<ce::HWND>(control_.window()); }
  bool Enabled() const override { return control_.enabled(); }
  int32_t State() const override { return control_.state(); }
  int32_t Width() const override { return control_.bounds().width; }
  int32_t Height() const override { return control_.bounds().height; }
  ce::POINT ToPixels(ce::POINT p) const override {
    return ce::POINT{control_.ToPixels(p.x), control_.ToPixels(p.y)};
  }

 private:
  std::u16string name_;
  VMControl control_;
};

}  // namespace tq
