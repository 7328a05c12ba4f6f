// The application's form: its window and controls as the form file describes them (tq240's
// --form, passed to every process as TQ_FORM). The VM stand-in builds its control objects
// from it, and the device's window manager shows the same windows.
//
// Form file (JSON): {"window": {"name", "title", "x", "y", "width", "height"},
//                    "controls": [{"name", "type", "x", "y", "width", "height",
//                                  "visible", "enabled", "state", "inner_type"}],
//                    "focus": NAME}
// Every member is optional: names and titles default to empty, numbers to 0, `visible` and
// `enabled` to true. `inner_type` is the type of a composite control's inner element. A member
// of the wrong kind or an unknown member makes the whole file unusable (one message names it).
//
// Invariants: rectangles are screen pixels. The window's handle is kFormWindowHandle and
// control i's (from 0) kFormWindowHandle + 16 * (i + 1); the form's window is the foreground
// window and the focus is on the control named by `focus` (the window when absent or unknown).
// Names are compared without regard to case; the window's name and its controls' share one
// name space, the first match winning.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ce {

inline constexpr intptr_t kFormWindowHandle = 0x10000;

struct FormElement {
  std::u16string name;
  std::u16string title;  // the window only
  int32_t type = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool visible = true;
  bool enabled = true;
  int32_t state = 0;
  int32_t innerType = 0;
  intptr_t handle = 0;
};

struct FormDescription {
  FormElement window;
  std::vector<FormElement> controls;
  std::u16string focus;

  // The window or control of that name (case-insensitive), or null.
  const FormElement* Find(std::u16string_view name) const;
  // The element that has the focus.
  const FormElement& Focused() const;
};

// Parses a form file's text; nullopt with a message naming the fault.
std::optional<FormDescription> ParseFormDescription(std::string_view json, std::string* error);

// The form that TQ_FORM names, read once per process; null without one, or when the file is
// unreadable or malformed (reported once on standard error).
std::shared_ptr<const FormDescription> CurrentForm();

// Reads and parses a form file; nullopt with a message when unreadable or malformed.
std::optional<FormDescription> ReadFormFile(const std::string& path, std::string* error);

}  // namespace ce
