// The shell's document launch over the device registry and its processes.
#include "platform/shell_execute.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_api.h"
#include "platform/kernel_object.h"
#include "platform/last_error.h"
#include "platform/processes.h"
#include "platform/registry.h"

namespace ce {
namespace {

struct ClassRoot {
  HKEY key;
  const char16_t* path;
};
// Where file classes are looked for, in order: the user's, the machine's, the classic root.
const ClassRoot kClassRoots[] = {{HKEY_CURRENT_USER, u"Software\\Classes\\"},
                                 {HKEY_LOCAL_MACHINE, u"Software\\Classes\\"},
                                 {HKEY_CLASSES_ROOT, u""}};

// The default text value of `root\path`, if the key and a text value exist.
std::optional<std::u16string> DefaultText(HKEY root, const std::u16string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0, size = 0;
  std::optional<std::u16string> text;
  if (RegQueryValueExW(key, u"", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && size >= sizeof(char16_t)) {
    std::u16string value(size / sizeof(char16_t), u'\0');
    if (RegQueryValueExW(key, u"", nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) ==
        ERROR_SUCCESS) {
      value.resize(size / sizeof(char16_t));
      while (!value.empty() && value.back() == u'\0') value.pop_back();
      text = value;
    }
  }
  RegCloseKey(key);
  return text;
}

// The command the document's class names for `verb`, from the first root that has the class.
std::optional<std::u16string> AssociatedCommand(std::u16string_view file,
                                                std::u16string_view verb) {
  const size_t dot = file.rfind(u'.');
  const size_t separator = file.find_last_of(u"\\/");
  if (dot == std::u16string_view::npos ||
      (separator != std::u16string_view::npos && dot < separator))
    return std::nullopt;
  const std::u16string extension(file.substr(dot));
  for (const ClassRoot& root : kClassRoots) {
    const std::optional<std::u16string> fileClass = DefaultText(root.key, root.path + extension);
    if (!fileClass || fileClass->empty()) continue;
    return DefaultText(root.key,
                       root.path + *fileClass + u"\\shell\\" + std::u16string(verb) + u"\\command");
  }
  return std::nullopt;
}

// The command with the document in place of "%1" (appended in quotes when it has none).
std::u16string WithDocument(std::u16string command, std::u16string_view file) {
  const size_t at = command.find(u"%1");
  if (at == std::u16string::npos) return command + u" \"" + std::u16string(file) + u"\"";
  return command.replace(at, 2, file);
}

// The shell's code for a system error; `other` for the errors it has no code of its own for.
intptr_t ShellCodeOf(DWORD error, intptr_t other) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND:
      return SE_ERR_PNF;
    case ERROR_ACCESS_DENIED:
      return SE_ERR_ACCESSDENIED;
    default:
      return other;
  }
}

// Starts a command line: the program up to the first blank (or between quotes), the rest as
// its argument string.
intptr_t Start(std::u16string_view commandLine) {
  std::u16string program, arguments;
  if (!commandLine.empty() && commandLine.front() == u'"') {
    const size_t close = commandLine.find(u'"', 1);
    program = commandLine.substr(1, close == std::u16string_view::npos ? close : close - 1);
    if (close != std::u16string_view::npos) arguments = commandLine.substr(close + 1);
  } else {
    const size_t blank = commandLine.find(u' ');
    program = commandLine.substr(0, blank);
    if (blank != std::u16string_view::npos) arguments = commandLine.substr(blank + 1);
  }
  while (!arguments.empty() && arguments.front() == u' ') arguments.erase(0, 1);
  PROCESS_INFORMATION information{};
  if (!CreateProcessW(program.c_str(), arguments.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, nullptr, &information))
    return ShellCodeOf(GetLastError(), SE_ERR_BADFORMAT);  // 193: not a program
  CloseHandle(information.hProcess);
  if (information.hThread != nullptr && information.hThread != information.hProcess)
    CloseHandle(information.hThread);
  return kShellSuccess;
}

bool EndsWithProgramExtension(std::u16string_view file) {
  if (file.size() < 4) return false;
  std::u16string tail(file.substr(file.size() - 4));
  for (char16_t& c : tail)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return tail == u".exe";
}

}  // namespace

intptr_t ShellExecuteDocument(LPCWSTR file, LPCWSTR verb) {
  if (file == nullptr || *file == u'\0') return SE_ERR_FNF;
  const std::u16string_view document(file);
  // A name that cannot name a file (wildcards) is not found either.
  if (GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES)
    return ShellCodeOf(GetLastError(), SE_ERR_FNF);
  if (EndsWithProgramExtension(document)) return Start(u"\"" + std::u16string(document) + u"\"");
  const std::u16string_view chosen = verb != nullptr && *verb != u'\0' ? verb : u"open";
  const std::optional<std::u16string> command = AssociatedCommand(document, chosen);
  if (!command || command->empty()) return SE_ERR_NOASSOC;
  return Start(WithDocument(*command, document));
}

}  // namespace ce
