// The VM's control objects: one per window or control of the form (--form), answering the
// object interface the library calls (frame/vm_controls.h). The display unit is the pixel.
#include <deque>
#include <mutex>

#include "frame/vm_controls.h"
#include "host/vm_objects.h"
#include "platform/form_description.h"

namespace tqhost {
namespace {

// Standard layout, the VM object first: the object's address is the control's.
struct HostControl {
  tq::VMObject object;
  const ce::FormElement* element;
  bool isWindow;
};

const ce::FormElement& Of(tq::VMObject* self) {
  return *reinterpret_cast<HostControl*>(self)->element;
}

int32_t Type(tq::VMObject* self) { return Of(self).type; }
intptr_t Window(tq::VMObject* self) { return Of(self).handle; }
int32_t Visible(tq::VMObject* self) { return Of(self).visible ? 1 : 0; }
int32_t Enabled(tq::VMObject* self) { return Of(self).enabled ? 1 : 0; }
int32_t State(tq::VMObject* self) { return Of(self).state; }
int32_t ConvertUnit(tq::VMObject*, int32_t value, int32_t, int32_t) { return value; }
void Bounds(tq::VMObject* self, int32_t* out) {
  const ce::FormElement& e = Of(self);
  out[0] = e.x;
  out[1] = e.y;
  out[2] = e.width;
  out[3] = e.height;
}
int32_t InnerType(tq::VMObject* self) { return Of(self).innerType; }
int32_t IsWindow(tq::VMObject* self) { return reinterpret_cast<HostControl*>(self)->isWindow; }

void* const kControlTable[] = {
    reinterpret_cast<void*>(&Type),      reinterpret_cast<void*>(&Window),
    reinterpret_cast<void*>(&Visible),   reinterpret_cast<void*>(&Enabled),
    reinterpret_cast<void*>(&State),     reinterpret_cast<void*>(&ConvertUnit),
    reinterpret_cast<void*>(&Bounds),    reinterpret_cast<void*>(&InnerType),
    reinterpret_cast<void*>(&IsWindow),
};

std::once_flag gOnce;
std::deque<HostControl> gControls;  // the window first, then the controls in form order

void Build() {
  std::shared_ptr<const ce::FormDescription> form = ce::CurrentForm();
  if (!form) return;
  gControls.push_back(HostControl{{kControlTable}, &form->window, true});
  for (const ce::FormElement& c : form->controls)
    gControls.push_back(HostControl{{kControlTable}, &c, false});
}

}  // namespace

tq::VMObject* ControlNamed(const char16_t* name) {
  std::call_once(gOnce, Build);
  std::shared_ptr<const ce::FormDescription> form = ce::CurrentForm();
  if (!form || name == nullptr) return nullptr;
  const ce::FormElement* element = form->Find(name);
  for (HostControl& c : gControls)
    if (c.element == element) return &c.object;
  return nullptr;
}

intptr_t FormWindowHandle() {
  std::shared_ptr<const ce::FormDescription> form = ce::CurrentForm();
  return form ? form->window.handle : 0;
}

}  // namespace tqhost
