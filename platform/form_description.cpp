// Form files: parsing, the handles of their windows, and the process's form.
#include "platform/form_description.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/json.h"
#include "platform/strings.h"
#include "platform/utf8.h"

namespace ce {
namespace {

bool ReadText(const JsonValue& v, std::u16string* out) {
  if (v.kind != JsonValue::Kind::kString) return false;
  *out = Utf8ToUtf16(v.text);
  return true;
}

bool ReadNumber(const JsonValue& v, int32_t* out) {
  if (v.kind != JsonValue::Kind::kNumber || !v.integral || v.integer < INT32_MIN ||
      v.integer > INT32_MAX)
    return false;
  *out = static_cast<int32_t>(v.integer);
  return true;
}

bool ReadFlag(const JsonValue& v, bool* out) {
  if (v.kind != JsonValue::Kind::kBoolean) return false;
  *out = v.boolean;
  return true;
}

// Reads one window or control object; `where` names it in messages.
bool ReadElement(const JsonValue& object, bool isWindow, const std::string& where,
                 FormElement* out, std::string* error) {
  if (object.kind != JsonValue::Kind::kObject) {
    *error = where + " is not an object";
    return false;
  }
  for (const JsonMember& m : object.members) {
    bool ok;
    if (m.name == "name") ok = ReadText(m.value, &out->name);
    else if (m.name == "title" && isWindow) ok = ReadText(m.value, &out->title);
    else if (m.name == "x") ok = ReadNumber(m.value, &out->x);
    else if (m.name == "y") ok = ReadNumber(m.value, &out->y);
    else if (m.name == "width") ok = ReadNumber(m.value, &out->width);
    else if (m.name == "height") ok = ReadNumber(m.value, &out->height);
    else if (m.name == "type" && !isWindow) ok = ReadNumber(m.value, &out->type);
    else if (m.name == "visible" && !isWindow) ok = ReadFlag(m.value, &out->visible);
    else if (m.name == "enabled" && !isWindow) ok = ReadFlag(m.value, &out->enabled);
    else if (m.name == "state" && !isWindow) ok = ReadNumber(m.value, &out->state);
    else if (m.name == "inner_type" && !isWindow) ok = ReadNumber(m.value, &out->innerType);
    else {
      *error = where + " has an unknown member \"" + m.name + "\"";
      return false;
    }
    if (!ok) {
      *error = where + "." + m.name + " is not of the right kind";
      return false;
    }
  }
  return true;
}

}  // namespace

const FormElement* FormDescription::Find(std::u16string_view name) const {
  const std::u16string wanted(name);
  auto same = [&](const FormElement& e) { return lstrcmpiW(e.name.c_str(), wanted.c_str()) == 0; };
  if (same(window)) return &window;
  for (const FormElement& c : controls)
    if (same(c)) return &c;
  return nullptr;
}

const FormElement& FormDescription::Focused() const {
  const FormElement* f = focus.empty() ? nullptr : Find(focus);
  return f != nullptr ? *f : window;
}

std::optional<FormDescription> ParseFormDescription(std::string_view json, std::string* error) {
  JsonError why;
  std::optional<JsonValue> root = ParseJson(json, &why);
  if (!root) {
    *error = why.message + " at offset " + std::to_string(why.offset);
    return std::nullopt;
  }
  if (root->kind != JsonValue::Kind::kObject) {
    *error = "the form is not a JSON object";
    return std::nullopt;
  }
  FormDescription form;
  form.window.handle = kFormWindowHandle;
  form.window.type = 1;
  for (const JsonMember& m : root->members) {
    if (m.name == "window") {
      if (!ReadElement(m.value, true, "window", &form.window, error)) return std::nullopt;
    } else if (m.name == "controls") {
      if (m.value.kind != JsonValue::Kind::kArray) {
        *error = "controls is not an array";
        return std::nullopt;
      }
      for (size_t i = 0; i < m.value.elements.size(); ++i) {
        FormElement c;
        c.handle = kFormWindowHandle + 16 * static_cast<intptr_t>(i + 1);
        if (!ReadElement(m.value.elements[i], false, "controls[" + std::to_string(i) + "]", &c,
                         error))
          return std::nullopt;
        form.controls.push_back(std::move(c));
      }
    } else if (m.name == "focus") {
      if (!ReadText(m.value, &form.focus)) {
        *error = "focus is not a string";
        return std::nullopt;
      }
    } else {
      *error = "unknown member \"" + m.name + "\"";
      return std::nullopt;
    }
  }
  return form;
}

std::optional<FormDescription> ReadFormFile(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read the form file " + path;
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::string why;
  std::optional<FormDescription> form = ParseFormDescription(text.str(), &why);
  if (!form) *error = "form file " + path + ": " + why;
  return form;
}

std::shared_ptr<const FormDescription> CurrentForm() {
  static std::once_flag once;
  static std::shared_ptr<const FormDescription> form;
  std::call_once(once, [] {
    const char* path = std::getenv("TQ_FORM");
    if (path == nullptr || *path == '\0') return;
    std::string error;
    std::optional<FormDescription> read = ReadFormFile(path, &error);
    if (read)
      form = std::make_shared<const FormDescription>(std::move(*read));
    else
      std::fprintf(stderr, "tq240: %s; the application has no controls\n", error.c_str());
  });
  return form;
}

}  // namespace ce
