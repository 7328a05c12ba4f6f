// Copies, renames, folders and documents.
#include "files/file_system.h"

#include <vector>

#include "files/path_ops.h"
#include "frame/error_state.h"
#include "frame/library_descriptor.h"
#include "frame/raise_error.h"
#include "platform/file_api.h"
#include "platform/last_error.h"
#include "platform/shell_execute.h"
#include "platform/wildcard_match.h"

namespace tq {
namespace {

constexpr uint32_t kErrorDestinationTooLong = 80058;
constexpr uint32_t kErrorEmptyName = 80059;
constexpr uint32_t kErrorInvalidDirectory = 80062;
constexpr uint32_t kErrorNotRemoved = 80063;
constexpr uint32_t kErrorCopyFailed = 80065;
constexpr uint32_t kErrorWildcardDestination = 80066;
constexpr uint32_t kErrorNotFound = 80067;
constexpr uint32_t kErrorInvalidName = 80600;
constexpr uint32_t kErrorDocumentNotFound = 80102;
constexpr uint32_t kErrorNoAssociation = 80105;
constexpr uint32_t kErrorNotAProgram = 80103;
constexpr uint32_t kErrorAccessDenied = 80104;
constexpr uint32_t kErrorNoAnswer = 80106;
constexpr uint32_t kErrorNoMemory = 80107;
constexpr uint32_t kErrorSharing = 80108;
constexpr uint32_t kMessageNotRemoved = 4866;
constexpr uint32_t kShellArgument = 79872;

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

// The platform's code at level 2, after the error state is reset.
void FailWithSystemCode(ComponentProxy* proxy, ce::DWORD code) {
  CXError* state = ErrorStateOf(proxy);
  Reset(state);
  RecordSystemError(state, code);
  state->level = 2;
}

ce::DWORD AttributesOf(const std::u16string& path) {
  return ce::GetFileAttributesW(path.c_str());
}

bool IsFolder(ce::DWORD attributes) {
  return attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::u16string WithoutTrailingSeparators(std::u16string_view path) {
  std::u16string out(path);
  while (out.size() > 1 && IsSeparator(out.back())) out.pop_back();
  return out;
}

// Creates `folder` and every missing level above it.
bool CreateLevels(const std::u16string& folder) {
  if (folder.empty() || IsFolder(AttributesOf(folder))) return true;
  const size_t slash = folder.find_last_of(u"\\/");
  if (slash != std::u16string::npos && slash > 0 && !CreateLevels(folder.substr(0, slash))) return false;
  return ce::CreateDirectoryW(folder.c_str(), nullptr) || ce::GetLastError() == ce::ERROR_ALREADY_EXISTS;
}

bool CopyOne(const std::u16string& source, const std::u16string& destination, ce::DWORD* code) {
  if (ce::CopyFileW(source.c_str(), destination.c_str(), ce::FALSE)) return true;
  if (ce::GetLastError() == ce::ERROR_ACCESS_DENIED) {
    ce::SetFileAttributesW(destination.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
    if (ce::CopyFileW(source.c_str(), destination.c_str(), ce::FALSE)) return true;
  }
  *code = ce::GetLastError();
  return false;
}

// The files of `folder` matching `mask`, copied into `target`; subfolders too with recursion.
bool Walk(ComponentProxy* proxy, const std::u16string& folder, const std::u16string& mask,
          const std::u16string& target, bool recurse, const CopyProcedure& procedure) {
  std::vector<ce::WIN32_FIND_DATAW> entries;
  ce::WIN32_FIND_DATAW data{};
  const std::u16string pattern = folder + u"\\*";
  ce::HANDLE find = ce::FindFirstFileW(pattern.c_str(), &data);
  if (find != ce::INVALID_HANDLE_VALUE) {
    do entries.push_back(data);
    while (ce::FindNextFileW(find, &data));
    ce::FindClose(find);
  }
  if (!CreateLevels(target)) {
    FailWithSystemCode(proxy, ce::GetLastError());
    return false;
  }
  for (const ce::WIN32_FIND_DATAW& entry : entries) {
    const std::u16string name(entry.cFileName);
    const std::u16string from = folder + u"\\" + name;
    const std::u16string to = target + u"\\" + name;
    if ((entry.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0) {
      if (recurse && !Walk(proxy, from, mask, to, recurse, procedure)) return false;
      continue;
    }
    if (!ce::MatchesFileMask(mask, name)) continue;
    ce::DWORD code = 0;
    if (!CopyOne(from, to, &code)) {
      RaiseError(proxy, kErrorCopyFailed, {from, to});
      RecordSystemError(proxy, code);
      return false;
    }
    if (!procedure(from, to)) return false;
  }
  return true;
}

bool RemoveContent(const std::u16string& folder, int32_t options) {
  std::vector<ce::WIN32_FIND_DATAW> entries;
  ce::WIN32_FIND_DATAW data{};
  const std::u16string pattern = folder + u"\\*.*";
  ce::HANDLE find = ce::FindFirstFileW(pattern.c_str(), &data);
  if (find != ce::INVALID_HANDLE_VALUE) {
    do entries.push_back(data);
    while (ce::FindNextFileW(find, &data));
    ce::FindClose(find);
  }
  for (const ce::WIN32_FIND_DATAW& entry : entries) {
    const std::u16string path = folder + u"\\" + entry.cFileName;
    if ((entry.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0) {
      if (!RemoveContent(path, options)) return false;
      if ((options & kRemoveReadOnly) != 0) ce::SetFileAttributesW(path.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
      if (!ce::RemoveDirectoryW(path.c_str())) return false;
      continue;
    }
    if ((options & kRemoveReadOnly) != 0) ce::SetFileAttributesW(path.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
    if (!ce::DeleteFileW(path.c_str())) return false;
  }
  return true;
}

}  // namespace

bool CreateParentLevels(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  if (slash == std::u16string_view::npos || slash == 0) return true;
  return CreateLevels(std::u16string(path.substr(0, slash)));
}

bool CopyFiles(ComponentProxy* proxy, std::u16string_view source, std::u16string_view destination,
               int32_t options, const CopyProcedure& procedure, std::u16string* finalDestination) {
  if (source.empty() || destination.empty()) {
    RaiseError(proxy, kErrorEmptyName);
    return false;
  }
  if (ce::HasWildcards(destination)) {
    RaiseError(proxy, kErrorWildcardDestination);
    return false;
  }
  if (destination.size() > kMaxPath) {
    RaiseError(proxy, kErrorDestinationTooLong);
    return false;
  }
  if (!PassesNameCheck(source)) {
    RaiseError(proxy, kErrorInvalidName, {source});
    return false;
  }
  const std::u16string from(source);
  const bool wildcards = ce::HasWildcards(source);
  const ce::DWORD attributes = wildcards ? ce::INVALID_FILE_ATTRIBUTES : AttributesOf(from);
  if (!wildcards && attributes == ce::INVALID_FILE_ATTRIBUTES) {
    RaiseError(proxy, kErrorNotFound, {source});
    return false;
  }
  if (wildcards || IsFolder(attributes)) {
    if (!procedure) {
      RaiseError(proxy, kErrorCopyFailed, {source});
      return false;
    }
    std::u16string folder = from;
    std::u16string mask = u"*";
    if (wildcards) {
      const size_t slash = from.find_last_of(u"\\/");
      mask = from.substr(slash + 1);
      folder = slash == std::u16string::npos ? std::u16string() : from.substr(0, slash);
    }
    return Walk(proxy, WithoutTrailingSeparators(folder), mask, WithoutTrailingSeparators(destination),
                (options & kCopyRecurse) != 0, procedure);
  }
  std::u16string to(destination);
  if (IsSeparator(to.back()) || IsFolder(AttributesOf(to))) {
    if (!IsSeparator(to.back())) to += u'\\';
    to += from.substr(from.find_last_of(u"\\/") + 1);
  }
  if (finalDestination != nullptr) *finalDestination = to;
  if (!CreateParentLevels(to)) {
    FailWithSystemCode(proxy, ce::GetLastError());
    return false;
  }
  ce::DWORD code = 0;
  if (!CopyOne(from, to, &code)) {
    RaiseError(proxy, kErrorCopyFailed, {from, to});
    RecordSystemError(proxy, code);
    return false;
  }
  return true;
}

bool RenameFile(ComponentProxy* proxy, std::u16string_view source, std::u16string_view destination) {
  if (source.empty() || destination.empty()) {
    RaiseError(proxy, kErrorEmptyName);
    return false;
  }
  const std::u16string from(source);
  const std::u16string to(destination);
  if (!ce::MoveFileW(from.c_str(), to.c_str())) {
    FailWithSystemCode(proxy, ce::GetLastError());
    return false;
  }
  return true;
}

int32_t MakeDirectory(ComponentProxy* proxy, std::u16string_view path) {
  if (path.empty() || path.size() > kMaxPath) {
    FailWithSystemCode(proxy, path.empty() ? ce::ERROR_INVALID_NAME : ce::ERROR_FILENAME_EXCED_RANGE);
    return -1;
  }
  std::u16string folder(path);
  if (folder.size() > 1 && folder.back() == u'\\') folder.pop_back();
  if (IsFolder(AttributesOf(folder))) return 0;
  if (!CreateLevels(folder)) {
    FailWithSystemCode(proxy, ce::GetLastError());
    return -1;
  }
  return 1;
}

bool RemoveDirectory(ComponentProxy* proxy, std::u16string_view path, int32_t options) {
  std::u16string folder(path.substr(0, path.find(u'*')));
  if (folder.empty() || !PassesNameCheck(folder)) {
    RaiseError(proxy, kErrorInvalidDirectory, {folder});
    return false;
  }
  if ((options & kRemoveThroughShell) != 0) options |= kRemoveContent | kRemoveReadOnly;
  folder = WithoutTrailingSeparators(folder);
  bool removed = (options & kRemoveContent) == 0 || RemoveContent(folder, options);
  if (removed && (options & kRemoveReadOnly) != 0) ce::SetFileAttributesW(folder.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
  removed = removed && ce::RemoveDirectoryW(folder.c_str());
  if (removed) return true;
  const ce::DWORD code = ce::GetLastError();
  RaiseError(proxy, kErrorNotRemoved, {folder});
  RecordSystemError(proxy, code);
  if (ErrorStateOf(proxy)->message.empty()) {
    SetMessage(ErrorStateOf(proxy), ThisLibrary(), kMessageNotRemoved, {});
  }
  return false;
}

bool OpenDocument(ComponentProxy* proxy, std::u16string_view path, std::u16string_view verb) {
  if (path.empty()) return false;
  // The shell opens the document with the program its class names in the registry. Without a
  // verb it tries "open", then no verb, which on the device also means "open".
  const std::u16string document(path), chosen(verb);
  const intptr_t result =
      ce::ShellExecuteDocument(document.c_str(), chosen.empty() ? u"open" : chosen.c_str());
  if (result > 32) return true;
  uint32_t error = 0;
  switch (result) {
    case 2: case 3: case 32: error = kErrorDocumentNotFound; break;
    case 5: error = kErrorAccessDenied; break;
    case 8: error = kErrorNoMemory; break;
    case 11: error = kErrorNotAProgram; break;
    case 26: error = kErrorSharing; break;
    case 27: case 31: error = kErrorNoAssociation; break;
    case 28: case 29: case 30: error = kErrorNoAnswer; break;
    default: return false;  // 0, 1 and the other codes below 32: false, no error
  }
  RaiseError(proxy, error, {kShellArgument});
  return false;
}

}  // namespace tq
