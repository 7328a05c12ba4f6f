// device.json: reading the description, and writing the display orientation back.
#include "platform/device_hardware.h"

#include <cstdio>
#include <mutex>

#include "platform/json.h"
#include "platform/device_state_files.h"
#include "platform/utf8.h"

namespace ce {
namespace {

using ce::JsonValue;
using Kind = JsonValue::Kind;

constexpr char kFileName[] = "device.json";

struct Reader {
  std::vector<std::string>* problems;

  void Problem(const std::string& member, const char* expected) {
    if (problems != nullptr) {
      problems->push_back("device.json: member \"" + member + "\" is not " + expected +
                          "; its default is used");
    }
  }
  void Integer(const JsonValue& parent, const char* name, const std::string& path, auto* out) {
    const JsonValue* v = parent.find(name);
    if (v == nullptr) return;
    if (v->kind != Kind::kNumber || !v->integral || v->integer < 0 || v->integer > 0xFFFFFFFFLL) {
      return Problem(path + name, "a non-negative whole number");
    }
    *out = static_cast<std::remove_reference_t<decltype(*out)>>(v->integer);
  }
  void Text(const JsonValue& parent, const char* name, const std::string& path,
            std::u16string* out) {
    const JsonValue* v = parent.find(name);
    if (v == nullptr) return;
    if (v->kind != Kind::kString) return Problem(path + name, "a string");
    *out = Utf8ToUtf16(v->text);
  }
  std::optional<std::string> Hex(const JsonValue& parent, const char* name,
                                 const std::string& path) {
    const JsonValue* v = parent.find(name);
    std::string bytes;
    if (v == nullptr) return bytes;
    if (v->kind == Kind::kString && v->text.size() % 2 == 0) {
      for (size_t i = 0; i < v->text.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(v->text.substr(i, 2).c_str(), "%2x", &value) != 1 ||
            !std::isxdigit(static_cast<unsigned char>(v->text[i])) ||
            !std::isxdigit(static_cast<unsigned char>(v->text[i + 1]))) {
          bytes.clear();
          break;
        }
        bytes.push_back(static_cast<char>(value));
      }
      if (bytes.size() * 2 == v->text.size()) return bytes;
    }
    Problem(path + name, "hexadecimal bytes");
    return std::nullopt;
  }
};

void ReadDisplay(Reader& r, const JsonValue& display, DeviceHardware& h) {
  if (const JsonValue* list = display.find("orientations")) {
    std::vector<int> angles;
    bool valid = list->kind == Kind::kArray;
    for (const JsonValue& e : list->elements) {
      const bool angle = e.kind == Kind::kNumber && e.integral &&
                         (e.integer == 0 || e.integer == 90 || e.integer == 180 || e.integer == 270);
      valid = valid && angle;
      if (angle) angles.push_back(static_cast<int>(e.integer));
    }
    if (valid) {
      h.orientations = angles;
    } else {
      r.Problem("display.orientations", "a list of the angles 0, 90, 180, 270");
    }
  }
  int orientation = h.orientation;
  r.Integer(display, "orientation", "display.", &orientation);
  if (orientation == 0 || orientation == 90 || orientation == 180 || orientation == 270) {
    h.orientation = orientation;
  } else {
    r.Problem("display.orientation", "one of the angles 0, 90, 180, 270");
  }
}

void ReadOs(Reader& r, const JsonValue& os, DeviceHardware& h) {
  r.Integer(os, "major", "os.", &h.osMajor);
  r.Integer(os, "minor", "os.", &h.osMinor);
  r.Integer(os, "build", "os.", &h.osBuild);
  r.Integer(os, "platform", "os.", &h.osPlatform);
  r.Integer(os, "suite_mask", "os.", &h.osSuiteMask);
  r.Text(os, "csd", "os.", &h.osCsd);
  r.Text(os, "platform_type", "os.", &h.platformType);
}

void ReadCellular(Reader& r, const JsonValue& list, DeviceHardware& h) {
  if (list.kind != Kind::kArray) return r.Problem("cellular", "a list of lines");
  for (const JsonValue& line : list.elements) {
    CellularLine l;
    if (line.kind != Kind::kObject) return r.Problem("cellular", "a list of lines");
    r.Text(line, "name", "cellular[].", &l.name);
    r.Text(line, "serial", "cellular[].", &l.serial);
    h.cellular.push_back(std::move(l));
  }
}

void ReadCards(Reader& r, const JsonValue& list, DeviceHardware& h) {
  if (list.kind == Kind::kNull) {
    h.storageCards.reset();
    return;
  }
  std::vector<std::u16string> names;
  for (const JsonValue& e : list.elements) {
    if (e.kind != Kind::kString) return r.Problem("storage_cards", "a list of folder names");
    names.push_back(Utf8ToUtf16(e.text));
  }
  if (list.kind != Kind::kArray) return r.Problem("storage_cards", "a list of folder names");
  h.storageCards = std::move(names);
}

void Member(const JsonValue& root, const char* name, Kind kind, Reader& r, auto&& read) {
  const JsonValue* v = root.find(name);
  if (v == nullptr) return;
  if (v->kind != kind) return r.Problem(name, kind == Kind::kObject ? "an object" : "a list");
  read(*v);
}

// Serialises a parsed document again (members in their order).
void WriteJson(const JsonValue& v, std::string& out) {
  switch (v.kind) {
    case Kind::kNull: out += "null"; break;
    case Kind::kBoolean: out += v.boolean ? "true" : "false"; break;
    case Kind::kNumber: {
      char text[40];
      if (v.integral) {
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(v.integer));
      } else {
        std::snprintf(text, sizeof text, "%.17g", v.number);
      }
      out += text;
      break;
    }
    case Kind::kString: out += ce::JsonString(v.text); break;
    case Kind::kArray:
      out += '[';
      for (size_t i = 0; i < v.elements.size(); ++i) {
        if (i != 0) out += ", ";
        WriteJson(v.elements[i], out);
      }
      out += ']';
      break;
    case Kind::kObject:
      out += '{';
      for (size_t i = 0; i < v.members.size(); ++i) {
        if (i != 0) out += ", ";
        out += ce::JsonString(v.members[i].name) + ": ";
        WriteJson(v.members[i].value, out);
      }
      out += '}';
      break;
  }
}

JsonValue OfKind(Kind kind) {
  JsonValue v;
  v.kind = kind;
  return v;
}

JsonValue& ObjectMember(JsonValue& object, const char* name) {
  for (ce::JsonMember& m : object.members) {
    if (m.name == name) return m.value;
  }
  object.members.push_back(ce::JsonMember{name, JsonValue{}});
  return object.members.back().value;
}

std::mutex gMutex;
std::optional<DeviceHardware> gHardware;  // guarded by gMutex

DeviceHardware& Loaded() {
  if (!gHardware) {
    std::vector<std::string> problems;
    const std::optional<std::string> text = ReadDeviceStateFile(kFileName);
    gHardware = text ? ParseDeviceHardware(*text, &problems) : DeviceHardware{};
    for (const std::string& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
  }
  return *gHardware;
}

}  // namespace

DeviceHardware ParseDeviceHardware(std::string_view json, std::vector<std::string>* problems) {
  DeviceHardware h;
  Reader r{problems};
  ce::JsonError error;
  const std::optional<JsonValue> root = ce::ParseJson(json, &error);
  if (!root || root->kind != Kind::kObject) {
    if (problems != nullptr) {
      problems->push_back("device.json is not a JSON object (" + error.message +
                          "); every member takes its default");
    }
    return h;
  }
  Member(*root, "screen", Kind::kObject, r, [&](const JsonValue& s) {
    r.Integer(s, "width", "screen.", &h.screenWidth);
    r.Integer(s, "height", "screen.", &h.screenHeight);
  });
  Member(*root, "display", Kind::kObject, r, [&](const JsonValue& d) { ReadDisplay(r, d, h); });
  Member(*root, "os", Kind::kObject, r, [&](const JsonValue& o) { ReadOs(r, o, h); });
  if (const JsonValue* id = root->find("device_id")) {
    if (id->kind == Kind::kNull) {
      h.deviceId.reset();
    } else if (id->kind != Kind::kObject) {
      r.Problem("device_id", "an object or null");
    } else {
      std::optional<std::string> preset = r.Hex(*id, "preset", "device_id.");
      std::optional<std::string> platform = r.Hex(*id, "platform", "device_id.");
      if (preset && platform) h.deviceId = std::make_pair(*preset, *platform);
    }
  }
  if (const JsonValue* cellular = root->find("cellular")) {
    if (cellular->kind != Kind::kNull) ReadCellular(r, *cellular, h);
  }
  if (const JsonValue* cards = root->find("storage_cards")) ReadCards(r, *cards, h);
  return h;
}

DeviceHardware CurrentDeviceHardware() {
  std::lock_guard<std::mutex> lock(gMutex);
  return Loaded();
}

bool SetDisplayOrientation(int angle) {
  std::lock_guard<std::mutex> lock(gMutex);
  Loaded().orientation = angle;
  const std::optional<std::string> text = ReadDeviceStateFile(kFileName);
  std::optional<JsonValue> root = text ? ce::ParseJson(*text) : std::nullopt;
  if (!root || root->kind != Kind::kObject) root = OfKind(Kind::kObject);
  JsonValue& display = ObjectMember(*root, "display");
  if (display.kind != Kind::kObject) display = OfKind(Kind::kObject);
  JsonValue& orientation = ObjectMember(display, "orientation");
  orientation = OfKind(Kind::kNumber);
  orientation.number = angle;
  orientation.integral = true;
  orientation.integer = angle;
  std::string out;
  WriteJson(*root, out);
  out += '\n';
  return WriteDeviceStateFile(kFileName, out);
}

void ResetDeviceHardwareForTesting() {
  std::lock_guard<std::mutex> lock(gMutex);
  gHardware.reset();
}

}  // namespace ce
