// Reading the network members of the device's description.
#include "platform/network_settings.h"

#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/device_path.h"
#include "platform/settings_json.h"
#include "platform/utf8.h"

namespace ce {
namespace {

using Kind = SettingsJson::Kind;

std::mutex gMutex;
std::shared_ptr<const NetworkSettings> gSettings;  // guarded by gMutex
std::string gSettingsRoot;                         // the root gSettings was read for
bool gForced = false;                              // set by tests

void ReadSockets(const SettingsJson& sockets, NetworkSettings* out) {
  if (sockets.kind != Kind::kObject) {
    out->problems.push_back("sockets: an object is expected");
    return;
  }
  if (const SettingsJson* library = sockets.find("library")) {
    if (library->kind == Kind::kNull) {
      out->socketLibrary.clear();
    } else if (library->kind == Kind::kString && !library->text.empty()) {
      out->socketLibrary = Utf8ToUtf16(library->text);
    } else {
      out->problems.push_back("sockets.library: a module name or null is expected");
    }
  }
  if (const SettingsJson* info = sockets.find("address_info")) {
    if (info->kind == Kind::kBoolean) {
      out->addressInfo = info->boolean;
    } else {
      out->problems.push_back("sockets.address_info: true or false is expected");
    }
  }
}

// "\\server\share" into its two names; false when the name has another shape.
bool SplitRemoteName(std::u16string_view remote, std::u16string* server, std::u16string* share) {
  auto separator = [](char16_t c) { return c == u'\\' || c == u'/'; };
  if (remote.size() < 5 || !separator(remote[0]) || !separator(remote[1])) return false;
  remote.remove_prefix(2);
  size_t cut = 0;
  while (cut < remote.size() && !separator(remote[cut])) ++cut;
  if (cut == 0 || cut + 1 >= remote.size()) return false;
  *server = std::u16string(remote.substr(0, cut));
  *share = std::u16string(remote.substr(cut + 1));
  for (char16_t c : *share) {
    if (separator(c)) return false;
  }
  return true;
}

void ReadShares(const SettingsJson& shares, NetworkSettings* out) {
  if (shares.kind == Kind::kNull) {
    out->connectionService = false;
    return;
  }
  if (shares.kind != Kind::kObject) {
    out->problems.push_back("shares: an object or null is expected");
    return;
  }
  for (const auto& [name, value] : shares.members) {
    NetworkShare share;
    const SettingsJson* path = value.find("path");
    const SettingsJson* password = value.find("password");
    if (!SplitRemoteName(Utf8ToUtf16(name), &share.server, &share.share)) {
      out->problems.push_back("shares: \"" + name + "\" is not of the form \\\\server\\share");
    } else if (value.kind != Kind::kObject || path == nullptr || path->kind != Kind::kString ||
               path->text.empty() || path->text.front() != '/') {
      out->problems.push_back("shares." + name + ".path: an absolute host directory is expected");
    } else if (password != nullptr && password->kind != Kind::kString) {
      out->problems.push_back("shares." + name + ".password: a text is expected");
    } else {
      share.hostPath = path->text;
      share.hasPassword = password != nullptr;
      if (password != nullptr) share.password = Utf8ToUtf16(password->text);
      out->shares.push_back(std::move(share));
    }
  }
}

}  // namespace

NetworkSettings ParseNetworkSettings(std::string_view deviceJson) {
  NetworkSettings settings;
  std::string problem;
  std::optional<SettingsJson> document = ParseSettingsJson(deviceJson, &problem);
  if (!document || document->kind != Kind::kObject) {
    settings.problems.push_back("device.json: " + (document ? "an object is expected" : problem));
    return settings;
  }
  if (const SettingsJson* sockets = document->find("sockets")) ReadSockets(*sockets, &settings);
  if (const SettingsJson* shares = document->find("shares")) ReadShares(*shares, &settings);
  return settings;
}

std::shared_ptr<const NetworkSettings> CurrentNetworkSettings() {
  const std::string root = DeviceRoot();
  std::lock_guard<std::mutex> lock(gMutex);
  if (gSettings && (gForced || gSettingsRoot == root)) return gSettings;
  std::ifstream file(root + "/.device/device.json", std::ios::binary);
  NetworkSettings settings;
  if (file) {
    std::ostringstream text;
    text << file.rdbuf();
    settings = ParseNetworkSettings(text.str());
    for (const std::string& problem : settings.problems) {
      std::fprintf(stderr, "tq240 device: %s; its default is used\n", problem.c_str());
    }
  }
  gSettings = std::make_shared<const NetworkSettings>(std::move(settings));
  gSettingsRoot = root;
  return gSettings;
}

void SetNetworkSettingsForTesting(std::shared_ptr<const NetworkSettings> settings) {
  std::lock_guard<std::mutex> lock(gMutex);
  gForced = settings != nullptr;
  gSettings = std::move(settings);
  gSettingsRoot.clear();
}

}  // namespace ce
