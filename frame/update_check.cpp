// Update settings by kind, the version check and the start of the update program.
#include "frame/update_check.h"

#include "frame/raise_error.h"
#include "frame/runtime_directory.h"
#include "frame/update_names.h"
#include "frame/update_settings.h"
#include "frame/version_file.h"
#include "platform/kernel_object.h"
#include "platform/processes.h"

namespace tq {
namespace {

// The registry value of a kind that is stored, or null.
const char16_t* StoredSettingName(int32_t kind) {
  switch (kind) {
    case 1: return u"UPDATE_HTTP";
    case 3: return u"UPDATE_URL";
    case 10: return u"VERSION";
    default: return nullptr;
  }
}

}  // namespace

std::u16string UpdateCommandLine(std::u16string_view applicationName,
                                 std::u16string_view executable,
                                 std::u16string_view applicationArguments) {
  return u" /UPDATE=\"" + std::u16string(applicationName) + u"\" /CMD=\"" +
         std::u16string(executable) + u"\" " + std::u16string(applicationArguments);
}

std::u16string UpdateInfo(ComponentProxy* proxy, int32_t kind, const char16_t* executablePath) {
  const UpdateTarget target = UpdateTargetFor(executablePath);
  if (kind == 2) return u"HTTP";
  if (kind == 11) return ServerVersion(proxy, target).value_or(u"");
  const char16_t* name = StoredSettingName(kind);
  if (name == nullptr) {
    RaiseError(proxy, 81631, {u""});
    return {};
  }
  const size_t characters = kind == 10 ? kVersionCharacters : kSettingCharacters;
  return ReadUpdateSetting(proxy, target, name, characters).value_or(u"");
}

bool UpdateSetting(ComponentProxy* proxy, int32_t kind, const char16_t* value,
                   const char16_t* executablePath) {
  const char16_t* name = StoredSettingName(kind);
  if (name == nullptr) {
    RaiseError(proxy, 81632);
    return false;
  }
  return WriteUpdateSetting(proxy, UpdateTargetFor(executablePath), name, value ? value : u"");
}

int32_t UpdateCheck(ComponentProxy* proxy, const char16_t* executablePath) {
  const UpdateTarget target = UpdateTargetFor(executablePath);
  const std::optional<uint32_t> web = ReadUpdateSwitch(target);
  if (!web || *web == 0) return 3;
  const std::optional<std::u16string> installed =
      ReadUpdateSetting(proxy, target, u"VERSION", kVersionCharacters);
  if (!installed) return 0;
  const std::optional<std::u16string> available = ServerVersion(proxy, target);
  if (!available) return 0;
  return CompareVersions(*installed, *available) < 0 ? 1 : 3;
}

bool UpdateCheckAndLaunch(ComponentProxy* proxy) {
  const int32_t check = UpdateCheck(proxy, nullptr);
  if (check == 0) return false;
  if (check == 3) return true;
  const UpdateTarget target = UpdateTargetFor(nullptr);
  const std::u16string program = RuntimeDirectory() + std::u16string(kUpdateProgram);
  // The VM names the application by its project name; the stand-in's is the executable's.
  std::u16string commandLine = UpdateCommandLine(target.application, target.executable, u"");
  ce::PROCESS_INFORMATION started{};
  if (!ce::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, ce::FALSE, 0,
                          nullptr, nullptr, nullptr, &started))
    return false;
  ce::CloseHandle(started.hProcess);
  ce::CloseHandle(started.hThread);
  return true;
}

}  // namespace tq
