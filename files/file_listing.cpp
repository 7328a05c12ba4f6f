// Recursive file listings.
#include "files/file_listing.h"

#include <vector>

#include "frame/message_format.h"
#include "platform/device_clock.h"
#include "platform/file_api.h"

namespace tq {
namespace {

std::vector<ce::WIN32_FIND_DATAW> Search(const std::u16string& pattern) {
  std::vector<ce::WIN32_FIND_DATAW> entries;
  ce::WIN32_FIND_DATAW data{};
  ce::HANDLE find = ce::FindFirstFileW(pattern.c_str(), &data);
  if (find == ce::INVALID_HANDLE_VALUE) return entries;
  do entries.push_back(data);
  while (ce::FindNextFileW(find, &data));
  ce::FindClose(find);
  return entries;
}

bool Hidden(const ce::WIN32_FIND_DATAW& entry) {
  return (entry.dwFileAttributes & ce::FILE_ATTRIBUTE_HIDDEN) != 0;
}

// Lists `folder` (which ends with a separator or is empty) and returns false when stopped.
bool Walk(const std::u16string& folder, const std::u16string& mask, int32_t options, int32_t* count,
          const std::function<bool(const std::u16string&, const ce::WIN32_FIND_DATAW&)>& visit) {
  for (const ce::WIN32_FIND_DATAW& entry : Search(folder + mask)) {
    if (Hidden(entry) && (options & kListHidden) == 0) continue;
    ++*count;
    if (!visit(folder + entry.cFileName, entry)) return false;
  }
  if ((options & kListNoRecursion) != 0) return true;
  for (const ce::WIN32_FIND_DATAW& entry : Search(folder + u"*")) {
    if ((entry.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
    if (Hidden(entry) && (options & kListHiddenFolders) == 0) continue;
    if (!Walk(folder + entry.cFileName + u"\\", mask, options, count, visit)) return false;
  }
  return true;
}

}  // namespace

int32_t WalkFiles(std::u16string_view pattern, int32_t options,
                  const std::function<bool(const std::u16string&, const ce::WIN32_FIND_DATAW&)>& visit) {
  const size_t split = pattern.find_last_of(u"\\/");
  std::u16string folder(split == std::u16string_view::npos ? u"" : pattern.substr(0, split + 1));
  std::u16string mask(split == std::u16string_view::npos ? pattern : pattern.substr(split + 1));
  if (mask.empty()) mask = u"*";
  if (folder.empty()) folder = u"\\";
  int32_t count = 0;
  Walk(folder, mask, options, &count, visit);
  return count;
}

std::u16string ListingLine(const std::u16string& path, const ce::WIN32_FIND_DATAW& entry) {
  ce::FILETIME local{};
  ce::SYSTEMTIME t{};
  ce::FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local);
  ce::FileTimeToSystemTime(&local, &t);
  static constexpr struct {
    ce::DWORD bit;
    char16_t letter;
  } kLetters[] = {{ce::FILE_ATTRIBUTE_ARCHIVE, u'A'},  {ce::FILE_ATTRIBUTE_DIRECTORY, u'D'},
                  {ce::FILE_ATTRIBUTE_HIDDEN, u'H'},   {ce::FILE_ATTRIBUTE_READONLY, u'R'},
                  {ce::FILE_ATTRIBUTE_SYSTEM, u'S'},   {ce::FILE_ATTRIBUTE_COMPRESSED, u'C'}};
  std::u16string letters;
  for (const auto& l : kLetters) {
    if ((entry.dwFileAttributes & l.bit) != 0) letters += l.letter;
  }
  const uint64_t size = (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  return path + Printf16("\t%lld\t%04i%02i%02i%02i%02i%02i\t", static_cast<long long>(size), t.wYear,
                         t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond) +
         letters;
}

std::u16string ListFiles(std::u16string_view pattern, int32_t options) {
  std::u16string list;
  WalkFiles(pattern, options, [&list](const std::u16string& path, const ce::WIN32_FIND_DATAW& entry) {
    if (!list.empty()) list += u"\r\n";
    list += ListingLine(path, entry);
    return true;
  });
  return list;
}

}  // namespace tq
