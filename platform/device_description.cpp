// Reading and updating the device description (.device/device.json).
#include "platform/device_description.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/device_path.h"
#include "platform/json.h"
#include "platform/utf8.h"

namespace ce {
namespace {

using Kind = JsonValue::Kind;

// Reads the members of one description, recording a sentence per malformed member.
class Reader {
 public:
  explicit Reader(DeviceDescription& d) : d_(d) {}

  void Root(const JsonValue& root) {
    if (root.kind != Kind::kObject) return Problem("the description", "is not a JSON object");
    for (const JsonMember& m : root.members) {
      const JsonValue& v = m.value;
      if (m.name == "screen") Screen(v);
      else if (m.name == "display") Display(v);
      else if (m.name == "os") Os(v);
      else if (m.name == "device_id") DeviceId(v);
      else if (m.name == "cellular") Cellular(v);
      else if (m.name == "storage_cards") StorageCards(v);
      else if (m.name == "shares") Shares(v);
      else Problem(m.name, "is not a member of the description");
    }
  }

 private:
  void Problem(const std::string& member, const std::string& what) {
    d_.problems.push_back("device.json: " + member + " " + what + "; its default is used");
  }

  template <typename T>
  bool Whole(const JsonValue& v, const std::string& name, T* out, int64_t low, int64_t high) {
    if (v.kind != Kind::kNumber || !v.integral || v.integer < low || v.integer > high) {
      Problem(name, "is not a whole number from " + std::to_string(low) + " to " +
                        std::to_string(high));
      return false;
    }
    *out = static_cast<T>(v.integer);
    return true;
  }

  bool Text(const JsonValue& v, const std::string& name, std::u16string* out) {
    if (v.kind != Kind::kString) {
      Problem(name, "is not a string");
      return false;
    }
    *out = Utf8ToUtf16(v.text);
    return true;
  }

  bool Object(const JsonValue& v, const std::string& name) {
    if (v.kind == Kind::kObject) return true;
    Problem(name, "is not an object");
    return false;
  }

  void Screen(const JsonValue& v) {
    if (!Object(v, "screen")) return;
    DeviceScreen s;
    for (const JsonMember& m : v.members) {
      if (m.name == "width") Whole(m.value, "screen.width", &s.width, 1, 65535);
      else if (m.name == "height") Whole(m.value, "screen.height", &s.height, 1, 65535);
      else Problem("screen." + m.name, "is not a member of screen");
    }
    d_.screen = s;
  }

  void Display(const JsonValue& v) {
    if (!Object(v, "display")) return;
    for (const JsonMember& m : v.members) {
      if (m.name == "orientation") {
        Whole(m.value, "display.orientation", &d_.display.orientation, 0, 359);
      } else if (m.name == "orientations") {
        std::vector<int32_t> list;
        bool ok = m.value.kind == Kind::kArray;
        for (const JsonValue& e : m.value.elements) {
          ok = ok && e.kind == Kind::kNumber && e.integral && e.integer >= 0 && e.integer < 360;
          if (ok) list.push_back(static_cast<int32_t>(e.integer));
        }
        if (ok) d_.display.orientations = std::move(list);
        else Problem("display.orientations", "is not an array of angles from 0 to 359");
      } else {
        Problem("display." + m.name, "is not a member of display");
      }
    }
  }

  void Os(const JsonValue& v) {
    if (!Object(v, "os")) return;
    DeviceOs& os = d_.os;
    for (const JsonMember& m : v.members) {
      const std::string name = "os." + m.name;
      if (m.name == "major") Whole(m.value, name, &os.major, 0, UINT32_MAX);
      else if (m.name == "minor") Whole(m.value, name, &os.minor, 0, UINT32_MAX);
      else if (m.name == "build") Whole(m.value, name, &os.build, 0, UINT32_MAX);
      else if (m.name == "platform") Whole(m.value, name, &os.platform, 0, UINT32_MAX);
      else if (m.name == "suite_mask") Whole(m.value, name, &os.suiteMask, 0, UINT32_MAX);
      else if (m.name == "csd") Text(m.value, name, &os.csd);
      else if (m.name == "platform_type") Text(m.value, name, &os.platformType);
      else Problem(name, "is not a member of os");
    }
  }

  std::optional<std::string> Hex(const JsonValue& v, const std::string& name) {
    if (v.kind == Kind::kString && v.text.size() % 2 == 0) {
      std::string bytes;
      bool ok = true;
      for (size_t i = 0; ok && i < v.text.size(); i += 2) {
        unsigned byte = 0;
        ok = std::sscanf(v.text.substr(i, 2).c_str(), "%2x", &byte) == 1 &&
             std::isxdigit(static_cast<unsigned char>(v.text[i])) &&
             std::isxdigit(static_cast<unsigned char>(v.text[i + 1]));
        bytes += static_cast<char>(byte);
      }
      if (ok) return bytes;
    }
    Problem(name, "is not hexadecimal bytes");
    return std::nullopt;
  }

  void DeviceId(const JsonValue& v) {
    if (v.kind == Kind::kNull) {
      d_.deviceId.reset();
      return;
    }
    if (!Object(v, "device_id")) return;
    DeviceIdentifier id = DefaultDeviceIdentifier();
    for (const JsonMember& m : v.members) {
      if (m.name == "preset") {
        if (auto b = Hex(m.value, "device_id.preset")) id.preset = *b;
      } else if (m.name == "platform") {
        if (auto b = Hex(m.value, "device_id.platform")) id.platform = *b;
      } else {
        Problem("device_id." + m.name, "is not a member of device_id");
      }
    }
    d_.deviceId = id;
  }

  void Cellular(const JsonValue& v) {
    std::vector<CellularModule> modules;
    bool ok = v.kind == Kind::kArray;
    for (const JsonValue& e : v.elements) {
      CellularModule module;
      ok = ok && e.kind == Kind::kObject;
      for (const JsonMember& m : e.members) {
        if (!ok) break;
        if (m.name == "name" && m.value.kind == Kind::kString) module.name = Utf8ToUtf16(m.value.text);
        else if (m.name == "serial" && m.value.kind == Kind::kString) module.serial = Utf8ToUtf16(m.value.text);
        else ok = false;
      }
      modules.push_back(std::move(module));
    }
    if (ok) d_.cellular = std::move(modules);
    else Problem("cellular", "is not an array of {name, serial} objects");
  }

  void StorageCards(const JsonValue& v) {
    std::vector<std::u16string> cards;
    bool ok = v.kind == Kind::kArray;
    for (const JsonValue& e : v.elements) {
      ok = ok && e.kind == Kind::kString && !e.text.empty();
      if (ok) cards.push_back(Utf8ToUtf16(e.text));
    }
    if (ok) d_.storageCards = std::move(cards);
    else Problem("storage_cards", "is not an array of folder names");
  }

  void Shares(const JsonValue& v) {
    if (!Object(v, "shares")) return;
    for (const JsonMember& share : v.members) {
      const std::string name = "shares[\"" + share.name + "\"]";
      NetworkShare s;
      bool ok = share.value.kind == Kind::kObject;
      bool hasPath = false;
      for (const JsonMember& m : share.value.members) {
        if (!ok) break;
        if (m.name == "path" && m.value.kind == Kind::kString && !m.value.text.empty()) {
          s.hostPath = m.value.text;
          hasPath = true;
        } else if (m.name == "password" && m.value.kind == Kind::kString) {
          s.password = Utf8ToUtf16(m.value.text);
        } else {
          ok = false;
        }
      }
      if (ok && hasPath) d_.shares[Utf8ToUtf16(share.name)] = std::move(s);
      else Problem(name, "is not {\"path\": HOSTDIR, \"password\": TEXT}; the share is left out");
    }
  }

  DeviceDescription& d_;
};

std::mutex gMutex;  // guards gCurrent
std::shared_ptr<const DeviceDescription> gCurrent;

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

DeviceIdentifier DefaultDeviceIdentifier() {
  DeviceIdentifier id;
  for (char b = 1; b <= 16; ++b) id.preset += b;
  id.platform = "\x0a\x0b\x0c\x0d";
  return id;
}

DeviceDescription ParseDeviceDescription(std::string_view json) {
  DeviceDescription d;
  JsonError why;
  std::optional<JsonValue> root = ParseJson(json, &why);
  if (!root) {
    d.problems.push_back("device.json is not JSON (" + why.message + " at offset " +
                         std::to_string(why.offset) + "); every default is used");
    return d;
  }
  Reader(d).Root(*root);
  return d;
}

std::string DeviceDescriptionPath() { return DeviceRoot() + "/.device/device.json"; }

std::shared_ptr<const DeviceDescription> CurrentDeviceDescription() {
  std::lock_guard lock(gMutex);
  if (!gCurrent) {
    std::optional<std::string> text = ReadWholeFile(DeviceDescriptionPath());
    auto d = std::make_shared<DeviceDescription>(text ? ParseDeviceDescription(*text)
                                                      : DeviceDescription{});
    for (const std::string& problem : d->problems) std::fprintf(stderr, "tq240: %s\n", problem.c_str());
    gCurrent = std::move(d);
  }
  return gCurrent;
}

bool WriteDisplayOrientation(int32_t degrees) {
  CurrentDeviceDescription();  // the members in force stay as read
  const std::string path = DeviceDescriptionPath();
  std::optional<std::string> text = ReadWholeFile(path);
  JsonValue root;
  root.kind = JsonValue::Kind::kObject;
  if (text) {
    std::optional<JsonValue> parsed = ParseJson(*text);
    if (!parsed || parsed->kind != Kind::kObject) return false;
    root = std::move(*parsed);
  }
  JsonValue* display = const_cast<JsonValue*>(root.find("display"));
  if (display == nullptr || display->kind != Kind::kObject) {
    if (display == nullptr) root.members.push_back(JsonMember{"display", JsonValue{}});
    display = const_cast<JsonValue*>(root.find("display"));
    *display = JsonValue{};
    display->kind = Kind::kObject;
  }
  JsonValue angle;
  angle.kind = Kind::kNumber;
  angle.integral = true;
  angle.integer = degrees;
  angle.number = degrees;
  if (JsonValue* old = const_cast<JsonValue*>(display->find("orientation")))
    *old = angle;
  else
    display->members.push_back(JsonMember{"orientation", angle});

  const std::string directory = DeviceRoot() + "/.device";
  ::mkdir(directory.c_str(), 0755);
  const std::string temporary = path + ".new" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << WriteJson(root) << "\n";
    if (!out.flush()) {
      ::unlink(temporary.c_str());
      return false;
    }
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  std::lock_guard lock(gMutex);
  auto updated = std::make_shared<DeviceDescription>(gCurrent ? *gCurrent : DeviceDescription{});
  updated->display.orientation = degrees;
  gCurrent = std::move(updated);
  return true;
}

void ResetDeviceDescriptionForTesting() {
  std::lock_guard lock(gMutex);
  gCurrent.reset();
}

}  // namespace ce
