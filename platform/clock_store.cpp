// Reading and atomically replacing the device clock file.
#include "platform/clock_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/device_config.h"
#include "platform/device_state_files.h"
#include "platform/last_error.h"

namespace ce {
namespace {

struct FileSignature {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = -1;
  int64_t modifiedNs = -1;
  bool operator==(const FileSignature&) const = default;
};

struct Cache {
  std::string path;
  FileSignature signature;
  StoredClock state;
};

std::mutex gCacheMutex;
Cache gCache;  // guarded by gCacheMutex

std::optional<FileSignature> Signature(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileSignature{
      info.st_dev, info.st_ino, info.st_size,
      static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

StoredClock Parse(std::istream& in) {
  StoredClock state;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword == "offset-ms") {
      long long offset;
      if (words >> offset) state.offsetMs = offset;
    } else if (keyword == "frozen") {
      std::string base, value;
      if (words >> base >> value) {
        if (std::optional<SYSTEMTIME> time = ParseClockSetting(value)) {
          state.frozenBase = base;
          state.frozenValue = time;
        }
      }
    }
  }
  return state;
}

}  // namespace

std::string ClockFilePath(const std::string& deviceRoot) {
  return deviceRoot + "/.device/clock";
}

StoredClock LoadStoredClock(const std::string& deviceRoot) {
  const std::string path = ClockFilePath(deviceRoot);
  std::lock_guard<std::mutex> lock(gCacheMutex);
  std::optional<FileSignature> signature = Signature(path);
  if (!signature) {
    gCache = Cache{path, FileSignature{}, StoredClock{}};
    return gCache.state;
  }
  if (gCache.path == path && gCache.signature == *signature) return gCache.state;
  std::ifstream file(path);
  StoredClock state = file ? Parse(file) : StoredClock{};
  gCache = Cache{path, *signature, state};
  return state;
}

bool SaveStoredClock(const std::string& deviceRoot, const StoredClock& state) {
  const std::string directory = deviceRoot + "/.device";
  if (mkdir(directory.c_str(), 0755) != 0 && errno != EEXIST) {
    SetLastErrorFromErrno();
    return false;
  }
  std::string text = "offset-ms " + std::to_string(state.offsetMs) + "\n";
  if (state.frozenValue && !state.frozenBase.empty()) {
    text += "frozen " + state.frozenBase + " " + FormatClockSetting(*state.frozenValue) + "\n";
  }
  return ReplaceFileAtomically(ClockFilePath(deviceRoot), text);
}

}  // namespace ce
