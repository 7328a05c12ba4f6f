// The persistent-parameter store of an execution context: named values kept between runs in
// the registry (mode 0, under a key of the current user or the machine) or in an INI file
// (mode 3, written with the profile engine).
//
// Defaults (the VM's own choices, which the stand-in makes here): the application is the
// device path in TQ_APP ("\Program Files\App\App.exe" when unset); the registry location is
// "HKEY_CURRENT_USER\Software\<application name>"; the INI file is "<application name>.ini"
// in the application's folder. Values are compared before an INI write, and nothing is
// written when the stored text is the same.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace tq {

struct ComponentProxy;

inline constexpr int32_t kParameterRegistryMode = 0;
inline constexpr int32_t kParameterIniMode = 3;
// The default a read uses to tell whether a name denotes a stored value.
inline constexpr std::u16string_view kParameterAbsent = u"***(NULL/VALEURNONRESEIGNEE)***";
// The default of the read before an INI write (compare before writing).
inline constexpr std::u16string_view kParameterUnset = u"****DEFAULT****";

class ParameterStore {
 public:
  // The store of the proxy's execution context, created on first use.
  static ParameterStore& Of(ComponentProxy* proxy);

  // "<previous mode>\t<previous location>", or nullopt when the mode is refused (80700).
  std::optional<std::u16string> SwitchMode(ComponentProxy* proxy, int32_t mode,
                                           std::optional<std::u16string_view> location);
  void Save(ComponentProxy* proxy, std::u16string_view name, std::u16string_view text);
  // nullopt when the name denotes no stored value.
  std::optional<std::u16string> Load(std::u16string_view name);
  bool Delete(ComponentProxy* proxy, std::u16string_view name);
  bool DeleteAll();

  int32_t mode() const { return mode_; }
  const std::u16string& iniFile() const { return iniFile_; }

 private:
  void Initialise(ComponentProxy* proxy);
  std::u16string CurrentLocation() const;
  bool DeleteGroup(std::u16string_view group);
  std::u16string GroupKeyPath(std::u16string_view group) const;

  int32_t mode_ = kParameterRegistryMode;
  std::u16string registryLocation_;  // as given
  std::u16string registrySubPath_;   // without its root prefix
  ce::HKEY root_ = ce::HKEY_CURRENT_USER;
  std::u16string iniLocation_;  // as given
  std::u16string iniFile_;      // device path
  bool initialised_ = false;
  bool compareBeforeWriting_ = true;
};

// The running application's device path, folder and name (without extension).
std::u16string ApplicationPath();
std::u16string ApplicationFolder();
std::u16string ApplicationName();

}  // namespace tq
