// Process and module snapshots through the tool-help module.
#include "system/process_snapshot.h"

#include "platform/kernel_object.h"
#include "platform/modules.h"
#include "platform/strings.h"
#include "platform/toolhelp.h"

namespace tq {
namespace {

using CreateSnapshot = ce::HANDLE (*)(ce::DWORD, ce::DWORD);
using WalkProcesses = ce::BOOL (*)(ce::HANDLE, ce::PROCESSENTRY32*);
using WalkModules = ce::BOOL (*)(ce::HANDLE, ce::MODULEENTRY32*);
using CloseSnapshot = ce::BOOL (*)(ce::HANDLE);
constexpr ce::DWORD kProcessesNoHeaps = 0x40000002;
constexpr ce::DWORD kModules = 0x00000008;

template <class F>
F Procedure(ce::HMODULE module, const char* name) {
  return reinterpret_cast<F>(ce::GetProcAddress(module, name));
}

struct ToolHelp {
  ce::HMODULE module = nullptr;
  ToolHelp() {
    ce::RegisterToolHelpModule();
    module = ce::LoadLibraryW(u"TOOLHELP.DLL");
  }
  ~ToolHelp() {
    if (module != nullptr) ce::FreeLibrary(module);
  }
};

bool IsInvalid(ce::HANDLE snapshot) {
  return snapshot == nullptr || snapshot == reinterpret_cast<ce::HANDLE>(-1);
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return ce::CompareStringW(ce::LOCALE_USER_DEFAULT, ce::NORM_IGNORECASE, a.data(),
                            static_cast<int>(a.size()), b.data(),
                            static_cast<int>(b.size())) == ce::CSTR_EQUAL;
}

struct NameParts {
  std::u16string_view stem;
  std::u16string_view extension;
  bool hasExtension = false;
};

NameParts SplitName(std::u16string_view path) {
  const std::u16string_view name = FileNamePart(path);
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return {name, {}, false};
  return {name.substr(0, dot), name.substr(dot + 1), true};
}

}  // namespace

std::u16string_view FileNamePart(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

bool HasExeExtension(std::u16string_view name) {
  const NameParts parts = SplitName(name);
  return parts.hasExtension && EqualIgnoringCase(parts.extension, u"EXE");
}

bool ProgramMatches(std::u16string_view target, std::u16string_view executable) {
  const NameParts wanted = SplitName(target);
  const NameParts seen = SplitName(executable);
  if (!EqualIgnoringCase(wanted.stem, seen.stem)) return false;
  return !wanted.hasExtension || EqualIgnoringCase(wanted.extension, seen.extension);
}

std::optional<std::vector<ProcessEntry>> TakeProcessSnapshot() {
  ToolHelp toolHelp;
  if (toolHelp.module == nullptr) return std::nullopt;
  const auto create = Procedure<CreateSnapshot>(toolHelp.module, "CreateToolhelp32Snapshot");
  const auto first = Procedure<WalkProcesses>(toolHelp.module, "Process32First");
  const auto next = Procedure<WalkProcesses>(toolHelp.module, "Process32Next");
  const auto close = Procedure<CloseSnapshot>(toolHelp.module, "CloseToolhelp32Snapshot");
  if (!create || !first || !next || !close) return std::nullopt;
  const ce::HANDLE snapshot = create(kProcessesNoHeaps, 0);
  if (IsInvalid(snapshot)) return std::nullopt;
  std::vector<ProcessEntry> entries;
  ce::PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (ce::BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
    const std::u16string_view executable = entry.szExeFile;
    if (HasExeExtension(executable)) {
      entries.push_back({std::u16string(executable), entry.th32ProcessID});
    }
  }
  close(snapshot);
  return entries;
}

std::optional<std::vector<std::u16string>> TakeModuleSnapshot(uint32_t pid) {
  ToolHelp toolHelp;
  if (toolHelp.module == nullptr) return std::nullopt;
  const auto create = Procedure<CreateSnapshot>(toolHelp.module, "CreateToolhelp32Snapshot");
  const auto first = Procedure<WalkModules>(toolHelp.module, "Module32First");
  const auto next = Procedure<WalkModules>(toolHelp.module, "Module32Next");
  const auto close = Procedure<CloseSnapshot>(toolHelp.module, "CloseToolhelp32Snapshot");
  if (!create || !first || !next || !close) return std::nullopt;
  const ce::HANDLE snapshot = create(kModules, pid);
  if (IsInvalid(snapshot)) return std::nullopt;
  std::vector<std::u16string> names;
  ce::MODULEENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (ce::BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
    names.emplace_back(entry.szModule);
  }
  close(snapshot);
  return names;
}

}  // namespace tq
