// The device's process table, kept as one record file per member under ".device/processes".
#include "platform/process_table.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/device_config.h"
#include "platform/device_path.h"
#include "platform/utf8.h"

namespace ce {
namespace {

std::string RecordFolder() {
  static std::mutex lock;
  static std::string made;  // the last folder created, guarded by lock
  const std::string root = DeviceRoot();
  const std::string folder = root + "/.device/processes";
  std::lock_guard<std::mutex> guard(lock);
  if (made != folder) {
    mkdir((root + "/.device").c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    made = folder;
  }
  return folder;
}

std::optional<DeviceProcess> ReadRecord(const std::string& folder, pid_t pid) {
  std::ifstream in(folder + "/" + std::to_string(pid));
  DeviceProcess record;
  std::string path;
  if (!(in >> record.startTime) || !std::getline(in >> std::ws, path) || path.empty()) {
    return std::nullopt;
  }
  record.pid = static_cast<DWORD>(pid);
  record.devicePath = Utf8ToUtf16(path);
  return record;
}

bool IsLive(const DeviceProcess& record) {
  const std::optional<ProcessState> state = ReadProcessState(static_cast<pid_t>(record.pid));
  return state && !state->ended && state->startTime == record.startTime;
}

std::optional<pid_t> PidOfName(const char* name) {
  char* end = nullptr;
  const long value = std::strtol(name, &end, 10);
  if (end == name || *end != '\0' || value <= 0 || value > INT32_MAX) return std::nullopt;
  return static_cast<pid_t>(value);
}

}  // namespace

std::optional<ProcessState> ReadProcessState(pid_t pid) {
  char path[32];
  std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  char buffer[1024];
  const ssize_t length = read(fd, buffer, sizeof buffer - 1);
  close(fd);
  if (length <= 0) return std::nullopt;
  const std::string_view stat(buffer, static_cast<size_t>(length));
  // The command name (field 2) may hold spaces and parentheses: fields resume after the last ')'.
  const size_t close = stat.rfind(')');
  if (close == std::string_view::npos) return std::nullopt;
  ProcessState state;
  size_t at = close + 1;
  for (int number = 3; number <= 22; ++number) {
    at = stat.find_first_not_of(' ', at);
    if (at == std::string_view::npos) return std::nullopt;
    const size_t end = std::min(stat.find(' ', at), stat.size());
    const std::string_view field = stat.substr(at, end - at);
    if (number == 3) state.ended = field == "Z" || field == "X" || field == "x";
    if (number == 22) {
      state.startTime = std::strtoull(std::string(field).c_str(), nullptr, 10);
      return state;
    }
    at = end;
  }
  return std::nullopt;
}

std::u16string ApplicationDevicePath() {
  return CurrentDeviceConfig()->applicationPath;
}

bool RecordDeviceProcess(pid_t pid, uint64_t startTime, std::u16string_view devicePath) {
  const std::string folder = RecordFolder();
  const std::string name = folder + "/" + std::to_string(pid);
  const std::string temporary = name + ".new";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << startTime << '\n' << Utf16ToUtf8(devicePath) << '\n';
    if (!out.flush()) return false;
  }
  return rename(temporary.c_str(), name.c_str()) == 0;
}

void RecordRunningApplication() {
  const pid_t self = getpid();
  if (const std::optional<ProcessState> state = ReadProcessState(self)) {
    RecordDeviceProcess(self, state->startTime, ApplicationDevicePath());
  }
}

void ForgetRunningApplication() {
  unlink((DeviceRoot() + "/.device/processes/" + std::to_string(getpid())).c_str());
}

std::vector<DeviceProcess> DeviceProcesses() {
  const std::string folder = RecordFolder();
  std::vector<DeviceProcess> members;
  DIR* directory = opendir(folder.c_str());
  if (directory == nullptr) return members;
  while (const dirent* entry = readdir(directory)) {
    const std::optional<pid_t> pid = PidOfName(entry->d_name);
    if (!pid) continue;
    const std::optional<DeviceProcess> record = ReadRecord(folder, *pid);
    if (record && IsLive(*record)) {
      members.push_back(*record);
    } else {
      unlinkat(dirfd(directory), entry->d_name, 0);
    }
  }
  closedir(directory);
  std::sort(members.begin(), members.end(),
            [](const DeviceProcess& a, const DeviceProcess& b) { return a.pid < b.pid; });
  return members;
}

std::optional<DeviceProcess> FindDeviceProcess(DWORD pid) {
  if (pid == 0 || pid > INT32_MAX) return std::nullopt;
  const std::optional<DeviceProcess> record =
      ReadRecord(RecordFolder(), static_cast<pid_t>(pid));
  if (!record || !IsLive(*record)) return std::nullopt;
  return record;
}

}  // namespace ce
