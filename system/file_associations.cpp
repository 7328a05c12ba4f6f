// Creating, removing and reading file associations with the registry workers.
#include "system/file_associations.h"

#include "frame/raise_error.h"
#include "platform/registry.h"
#include "system/registry_keys.h"

namespace tq {
namespace {

constexpr uint32_t kExtensionTooLong = 81850;
constexpr uint32_t kExtensionWithoutDot = 81851;
constexpr uint32_t kAssociationFailed = 81852;
constexpr int32_t kAssociationArgument = 80896;
constexpr int32_t kLongestExtension = 182;
// Key paths are built in buffers of this many characters (terminator included).
constexpr size_t kKeyPathBuffer = 256;

bool CheckExtension(ComponentProxy* proxy, std::u16string_view extension) {
  if (extension.empty() || extension.front() != u'.') {
    RaiseError(proxy, kExtensionWithoutDot, {extension});
    return false;
  }
  if (extension.size() > static_cast<size_t>(kLongestExtension)) {
    RaiseError(proxy, kExtensionTooLong, {extension, kLongestExtension});
    return false;
  }
  return true;
}

bool Fits(const std::u16string& path) {
  return path.size() < kKeyPathBuffer;
}

std::u16string CommandKey(std::u16string_view extension, int32_t scope) {
  return std::u16string(AssociationRoot(scope)) + AssociationProgramId(extension) +
         u"\\shell\\open\\command\\";
}

bool RemoveKeys(ComponentProxy* proxy, std::u16string_view extension, int32_t scope) {
  const std::u16string root(AssociationRoot(scope));
  const std::u16string extensionKey = root + std::u16string(extension);
  const std::u16string programKey = root + AssociationProgramId(extension);
  if (!Fits(extensionKey) || !Fits(programKey)) return false;
  return DeleteRegistryKey(proxy, extensionKey) && DeleteRegistryKey(proxy, programKey);
}

bool WriteKeys(ComponentProxy* proxy, std::u16string_view extension, std::u16string_view command,
               int32_t scope) {
  const std::u16string root(AssociationRoot(scope));
  const std::u16string program = AssociationProgramId(extension);
  const std::u16string extensionKey = root + std::u16string(extension);
  const std::u16string programKey = root + program;
  const std::u16string commandKey = CommandKey(extension, scope);
  if (!Fits(extensionKey) || !Fits(commandKey)) return false;
  return CreateRegistryKey(proxy, extensionKey) &&
         WriteRegistryValue(proxy, extensionKey, u"", ce::REG_SZ, StringBytes(program, true)) &&
         CreateRegistryKey(proxy, programKey) && CreateRegistryKey(proxy, commandKey) &&
         WriteRegistryValue(proxy, commandKey, u"", ce::REG_SZ, StringBytes(command, true));
}

}  // namespace

std::u16string_view AssociationRoot(int32_t scope) {
  return scope == kMachineScope ? u"HKEY_LOCAL_MACHINE\\Software\\Classes\\"
                                : u"HKEY_CURRENT_USER\\Software\\Classes\\";
}

std::u16string AssociationProgramId(std::u16string_view extension) {
  return u"Tarvex/autogen-ext" + std::u16string(extension);
}

bool CreateFileAssociation(ComponentProxy* proxy, std::u16string_view extension,
                           std::u16string_view command, int32_t scope) {
  if (!CheckExtension(proxy, extension)) return false;
  if (RemoveKeys(proxy, extension, scope) && WriteKeys(proxy, extension, command, scope))
    return true;
  RaiseError(proxy, kAssociationFailed, {kAssociationArgument});
  return false;
}

bool DeleteFileAssociation(ComponentProxy* proxy, std::u16string_view extension, int32_t scope) {
  if (!CheckExtension(proxy, extension)) return false;
  if (RemoveKeys(proxy, extension, scope)) return true;
  RaiseError(proxy, kAssociationFailed, {kAssociationArgument});
  return false;
}

RegistryData FileAssociationCommand(ComponentProxy* proxy, std::u16string_view extension,
                                    int32_t scope) {
  if (!CheckExtension(proxy, extension)) return {};
  return ReadRegistryValue(CommandKey(extension, scope), u"");
}

}  // namespace tq
