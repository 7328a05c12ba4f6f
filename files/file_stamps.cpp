// Reading and setting file times as digit strings in the device's zone.
#include "files/file_stamps.h"

#include <optional>
#include <vector>

#include "files/path_ops.h"
#include "frame/error_state.h"
#include "frame/message_format.h"
#include "frame/raise_error.h"
#include "platform/civil_time.h"
#include "platform/device_clock.h"
#include "platform/file_api.h"
#include "platform/last_error.h"

namespace tq {
namespace {

constexpr uint32_t kErrorBadKind = 80050;
constexpr uint32_t kErrorBadValue = 80051;
constexpr uint32_t kErrorInvalidName = 80600;

struct FileTimes {
  ce::FILETIME stamps[3];  // last write, creation, last access
};

// Reads one field of at most `width` characters the way "%hu" does: optional blanks, then
// digits; nullopt when no digit is there.
std::optional<unsigned> ReadField(std::u16string_view text, size_t* at, size_t width) {
  size_t i = *at;
  size_t end = std::min(text.size(), *at + width);
  while (i < end && (text[i] == u' ' || text[i] == u'\t')) ++i;
  unsigned value = 0;
  size_t digits = 0;
  while (i < end && text[i] >= u'0' && text[i] <= u'9') {
    value = value * 10 + static_cast<unsigned>(text[i] - u'0');
    ++i;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  *at = i;
  return value & 0xffff;
}

std::u16string Format(const ce::SYSTEMTIME& t, StampForm form) {
  switch (form) {
    case StampForm::kDate:
      return Printf16("%04i%02i%02i", t.wYear, t.wMonth, t.wDay);
    case StampForm::kTime:
      return Printf16("%02i%02i%02i", t.wHour, t.wMinute, t.wSecond);
    case StampForm::kDateTime:
      break;
  }
  return Printf16("%04i%02i%02i%02i%02i%02i", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
}

// The new local time from the value and the current one; nullopt when it cannot be read.
std::optional<ce::SYSTEMTIME> Parse(std::u16string_view value, StampForm form, ce::SYSTEMTIME t) {
  std::vector<size_t> widths;
  if (form != StampForm::kTime) widths = {4, 2, 2};
  if (form != StampForm::kDate) widths.insert(widths.end(), {2, 2, 2});
  std::vector<unsigned> fields;
  size_t at = 0;
  for (size_t width : widths) {
    const std::optional<unsigned> field = ReadField(value, &at, width);
    if (!field) break;
    fields.push_back(*field);
  }
  if (fields.size() < 3) return std::nullopt;
  fields.resize(widths.size(), 0);
  size_t next = 0;
  if (form != StampForm::kTime) {
    if (fields[0] < 1980) return std::nullopt;
    t.wYear = static_cast<ce::WORD>(fields[next++]);
    t.wMonth = static_cast<ce::WORD>(fields[next++]);
    t.wDay = static_cast<ce::WORD>(fields[next++]);
  }
  if (form != StampForm::kDate) {
    t.wHour = static_cast<ce::WORD>(fields[next++]);
    t.wMinute = static_cast<ce::WORD>(fields[next++]);
    t.wSecond = static_cast<ce::WORD>(fields[next++]);
  }
  t.wMilliseconds = 0;
  if (!ce::IsValidSystemTime(t)) return std::nullopt;
  return t;
}

void FailWithSystemCode(ComponentProxy* proxy) {
  CXError* state = ErrorStateOf(proxy);
  Reset(state);
  RecordSystemError(state, ce::GetLastError());
  state->level = 2;
}

}  // namespace

std::u16string FileStamp(ComponentProxy* proxy, std::u16string_view file,
                         std::u16string_view newValue, int32_t kind, StampForm form) {
  if (kind < 0 || kind > 2) {
    RaiseError(proxy, kErrorBadKind);
    return {};
  }
  if (!PassesNameCheck(file)) {
    RaiseError(proxy, kErrorInvalidName, {file});
    return {};
  }
  const std::u16string path(file);
  const bool writing = !newValue.empty();
  const ce::DWORD access = writing ? ce::GENERIC_READ | ce::GENERIC_WRITE : ce::GENERIC_READ;
  const ce::DWORD share = ce::FILE_SHARE_READ | ce::FILE_SHARE_WRITE;
  ce::HANDLE handle = ce::CreateFileW(path.c_str(), access, share, nullptr, ce::OPEN_EXISTING, 0, nullptr);
  if (handle == ce::INVALID_HANDLE_VALUE) {
    handle = ce::CreateFileW(path.c_str(), access, share, nullptr, ce::OPEN_EXISTING,
                             ce::FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  }
  FileTimes times{};
  if (handle != ce::INVALID_HANDLE_VALUE) {
    ce::GetFileTime(handle, &times.stamps[1], &times.stamps[2], &times.stamps[0]);
  } else {
    ce::WIN32_FILE_ATTRIBUTE_DATA data{};
    if (writing || !ce::GetFileAttributesExW(path.c_str(), ce::GetFileExInfoStandard, &data)) {
      FailWithSystemCode(proxy);
      return {};
    }
    times = {{data.ftLastWriteTime, data.ftCreationTime, data.ftLastAccessTime}};
  }
  ce::FILETIME local{};
  ce::SYSTEMTIME current{};
  ce::FileTimeToLocalFileTime(&times.stamps[kind], &local);
  ce::FileTimeToSystemTime(&local, &current);
  if (writing) {
    const std::optional<ce::SYSTEMTIME> wanted = Parse(newValue, form, current);
    ce::FILETIME newLocal{}, newUtc{};
    if (!wanted || !ce::SystemTimeToFileTime(&*wanted, &newLocal) ||
        !ce::LocalFileTimeToFileTime(&newLocal, &newUtc)) {
      ce::CloseFileHandle(handle);
      RaiseError(proxy, kErrorBadValue);
      return {};
    }
    const ce::FILETIME* slots[3] = {nullptr, nullptr, nullptr};
    slots[kind] = &newUtc;
    if (!ce::SetFileTime(handle, slots[1], slots[2], slots[0])) {
      FailWithSystemCode(proxy);
      ce::CloseFileHandle(handle);
      return {};
    }
    current = *wanted;
  }
  if (handle != ce::INVALID_HANDLE_VALUE) ce::CloseFileHandle(handle);
  return Format(current, form);
}

}  // namespace tq
