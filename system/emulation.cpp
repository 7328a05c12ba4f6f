// The two emulation functions: control checks, the focus rule, and the building of the key
// sequence that the engine plays.
#include "system/emulation.h"

#include <algorithm>
#include <string>

#include "frame/raise_error.h"
#include "platform/input.h"
#include "platform/window_manager.h"
#include "system/key_engine.h"
#include "system/key_names.h"
#include "system/key_sequence.h"

namespace tq {
namespace {

constexpr uint32_t kNotAccepted = 81500;
constexpr uint32_t kNotVisible = 81501;
constexpr uint32_t kDisabled = 81502;
constexpr uint32_t kFocusElsewhere = 81503;
constexpr uint32_t kUnclosedBrace = 81849;
constexpr int32_t kBlockedState = 4;
constexpr uint32_t kOptionsForWindow = sendoption::kKeyNames;
constexpr uint32_t kOptionsForControl = 9;
constexpr uint32_t kOptionsForMouse = 30;

bool In(int32_t type, std::initializer_list<int32_t> types) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

bool InRanges(int32_t type) {
  return (type >= 124 && type <= 128) || (type >= 130 && type <= 133);
}

// The target handed to the engine: a window and, unless points are pixels already, the control
// that converts them.
class ControlTarget final : public SendTarget {
 public:
  ControlTarget(ce::HWND window, uint32_t options, const ControlAccess* control)
      : window_(window), options_(options), control_(control) {}
  ce::HWND Window() const override { return window_; }
  ce::POINT ToScreen(ce::POINT p) const override {
    if ((options_ & sendoption::kPixels) == 0 && control_ != nullptr) p = control_->ToPixels(p);
    ce::ClientToScreen(window_ != nullptr ? window_ : ce::GetActiveWindow(), &p);
    return p;
  }

 private:
  ce::HWND window_;
  uint32_t options_;
  const ControlAccess* control_;
};

bool Visible(const ControlAccess& control) {
  const ce::HWND window = control.Window();
  if (window == nullptr) return true;
  const ce::HDC context = ce::GetDC(window);
  if (context == nullptr) return true;
  ce::RECT r{};
  bool visible;
  if (ce::GetClientRect(window, &r)) {
    visible = ce::RectVisible(context, &r);
  } else {
    ce::GetWindowRect(window, &r);
    visible = ce::RectVisible(context, &r);
  }
  ce::ReleaseDC(window, context);
  return visible;
}

bool Check(ComponentProxy* proxy, const ControlAccess& control, bool (*accepts)(int32_t)) {
  const std::u16string name = control.Name();
  const int32_t type = control.Found() ? control.Type() : -1;
  const bool accepted = control.Found() && accepts(type) &&
                        (!In(type, {56, 68}) || In(control.InnerType(), {2, 5, 6, 14, 85, 110}));
  if (!accepted) {
    RaiseError(proxy, kNotAccepted, {name});
  } else if (!Visible(control)) {
    RaiseError(proxy, kNotVisible, {name});
  } else if (!control.Enabled() || control.State() == kBlockedState) {
    RaiseError(proxy, kDisabled, {name});
  } else {
    return true;
  }
  return false;
}

// The window whose control owns `focus`: the focused window, its parents, then the owners,
// the first that answers the owner query.
ce::HWND OwnerControlWindow(ce::HWND focus) {
  ce::HWND w = focus;
  for (int guard = 0; w != nullptr && guard < 256; ++guard) {
    if (ce::SendMessageW(w, ce::kOwnerQueryMessage, 0, 0) != 0) return w;
    ce::HWND parent = ce::GetParent(w);
    w = parent != nullptr ? parent : ce::GetWindow(w, ce::GW_OWNER);
  }
  return nullptr;
}

// "x,y" in decimal.
std::u16string PointText(int32_t x, int32_t y) {
  std::u16string text;
  for (char c : std::to_string(x) + "," + std::to_string(y)) text += static_cast<char16_t>(c);
  return text;
}

std::u16string PointElement(std::u16string_view name, int32_t x, int32_t y) {
  return u"{" + std::u16string(name) + u"," + PointText(x, y) + u"}";
}

std::u16string_view ActionCode(int32_t action) {
  switch (static_cast<uint32_t>(action) & ~0xFFu) {
    case 0x10000: return u"GX";
    case 0x20000: return u"GG";
    case 0x30000: return u"G+";
    case 0x40000: return u"G-";
    case 0x100000: return u"D";
    case 0x200000: return u"DD";
    case 0x300000: return u"D+";
    case 0x400000: return u"D-";
    case 0x1000000: return u"M";
    case 0x2000000: return u"MM";
    case 0x3000000: return u"M+";
    case 0x4000000: return u"M-";
    default: return u"";
  }
}

}  // namespace

bool AcceptsKeys(int32_t type) {
  if (type >= 0 && type <= 38) return !In(type, {10, 15, 17, 20, 23, 24, 25, 31, 32});
  return In(type, {40, 47, 56, 68, 70, 72, 74, 75, 76, 80, 85, 97, 99, 102, 111, 119, 120}) ||
         InRanges(type);
}

bool AcceptsMouse(int32_t type) {
  if (type >= 0 && type <= 38) return !In(type, {10, 15, 17, 20, 23, 24, 25, 32});
  return In(type, {40, 47, 56, 68, 70, 72, 74, 76, 80, 85, 86, 87, 88, 97, 99, 102, 111, 118,
                   119, 120}) ||
         InRanges(type);
}

std::u16string LiteralKeys(std::u16string_view keys) {
  std::u16string text;
  for (char16_t c : keys) {
    if (c == u'+' || c == u'^' || c == u'%' || c == u'(' || c == u')') {
      text += u'{';
      text += c;
      text += u'}';
    } else {
      text += c;
    }
  }
  return text;
}

std::u16string ModifierPrefix(int32_t modifiers) {
  std::u16string prefix;
  if (modifiers & kModifierShift) prefix += u'+';
  if (modifiers & kModifierControl) prefix += u'^';
  if (modifiers & kModifierAlt) prefix += u'%';
  return prefix;
}

std::optional<std::u16string> PrefixEachElement(std::u16string_view text,
                                                std::u16string_view prefix) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    size_t end = i + 1;
    if (text[i] == u'{') {
      end = text.find(u'}', i + 1);
      if (end == std::u16string_view::npos) return std::nullopt;
      ++end;
    }
    out.append(prefix).append(text.substr(i, end - i));
    i = end;
  }
  return out;
}

std::u16string ClickText(int32_t action, int32_t x, int32_t y) {
  const std::u16string_view code = ActionCode(action);
  const std::u16string click = std::u16string(code) + PointText(x, y);
  // Conversion of the click text: modifiers are skipped, the code names the mouse action.
  std::u16string_view rest = click;
  while (!rest.empty() && (rest[0] == u'+' || rest[0] == u'^' || rest[0] == u'%')) {
    rest.remove_prefix(1);
  }
  const ClickCode* found = FindClickCode(rest);
  if (found == nullptr) return u"{SOURIS," + std::u16string(rest) + u"}";
  return PointElement(u"SOURIS", x, y) + PointElement(found->mouseName, x, y);
}

void EmulateKeys(ComponentProxy* proxy, const ControlAccess& control, std::u16string_view keys,
                 int32_t modifiers) {
  std::u16string text = LiteralKeys(keys);
  if (modifiers != 0) {
    std::optional<std::u16string> prefixed = PrefixEachElement(text, ModifierPrefix(modifiers));
    if (!prefixed) {
      RaiseError(proxy, kUnclosedBrace, {keys});
      return;
    }
    text = std::move(*prefixed);
  }
  if (!Check(proxy, control, &AcceptsKeys)) return;
  const ce::HWND window = control.Window();
  if (control.IsWindow()) {
    const ControlTarget target(window, kOptionsForWindow, &control);
    SendKeySequence(proxy, text, &target, kOptionsForWindow);
    return;
  }
  const ce::HWND focus = ce::GetFocus();
  if (focus != window) {
    if (In(control.Type(), {9, 14, 35, 70})) {
      const ControlTarget target(focus, kOptionsForControl, nullptr);
      SendKeySequence(proxy, text, &target, kOptionsForControl);
      return;
    }
    if (OwnerControlWindow(focus) != window) {
      RaiseError(proxy, kFocusElsewhere, {control.Name()});
      return;
    }
  }
  const ControlTarget target(window, kOptionsForControl, &control);
  SendKeySequence(proxy, text, &target, kOptionsForControl);
}

void EmulateMouse(ComponentProxy* proxy, const ControlAccess& control, int32_t action, int32_t x,
                  int32_t y) {
  if (!Check(proxy, control, &AcceptsMouse)) return;
  if (control.Type() == 4) {
    if (x > control.Width()) x = control.Width() / 2;
    if (y > control.Height()) y = control.Height() / 2;
  }
  const ce::POINT target = control.ToPixels(ce::POINT{x, y});
  const ce::HWND window = control.Window();
  ce::POINT cursor{};
  ce::GetCursorPos(&cursor);
  ce::ScreenToClient(window != nullptr ? window : ce::GetActiveWindow(), &cursor);
  std::u16string text;
  for (int i = 0; i < 10; ++i) {
    const int32_t px = cursor.x + ce::MulDiv(target.x - cursor.x, i, 10);
    const int32_t py = cursor.y + ce::MulDiv(target.y - cursor.y, i, 10);
    if (i == 0 && px == 0 && py == 0) continue;
    text += PointElement(u"SOURIS", px, py);
  }
  text += ClickText(action, target.x, target.y);
  const int32_t modifiers = action & 0xFF;
  if (modifiers != 0) {
    const std::u16string prefix = ModifierPrefix(modifiers);
    std::u16string prefixed;
    for (char16_t c : text) {
      if (c == u'{') prefixed += prefix;
      prefixed += c;
    }
    text = std::move(prefixed);
  }
  const ControlTarget sendTarget(window, kOptionsForMouse, &control);
  SendKeySequence(proxy, text, &sendTarget, kOptionsForMouse);
}

}  // namespace tq
