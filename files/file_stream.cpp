// FileStream: IXStream over a platform file handle, with its own 64-bit position and the
// diagnostics it leaves in the caller's error state.
#include <initializer_list>

#include "files/stream.h"
#include "frame/error_state.h"
#include "frame/library_descriptor.h"
#include "frame/message_format.h"
#include "platform/file_api.h"
#include "platform/last_error.h"

namespace tq {
namespace {

constexpr uint32_t kIgnoredAttributes = 0x8000000;

}  // namespace

FileStream::FileStream(CXError* errorState) : errorState_(errorState) {
  if (errorState_ != nullptr) tq::AddReference(errorState_);
}

FileStream::~FileStream() {
  if (isOpen()) ce::CloseFileHandle(handle_);
  if (errorState_ != nullptr) ReleaseReference(errorState_);
}

int32_t FileStream::Release() {
  const int32_t left = --references_;
  if (left == 0) delete this;
  return left;
}

void FileStream::ResetErrorState() {
  if (errorState_ != nullptr && errorState_->level != kLevelNone) Reset(errorState_);
}

void FileStream::Report(uint32_t messageId, uint32_t systemCode,
                        std::initializer_list<std::u16string> details) {
  if (errorState_ == nullptr) return;
  errorState_->level = 3;
  RecordSystemError(errorState_, systemCode);
  AddDiagnostic(errorState_, Printf16("##(IXStream)-Handle=<%p>##", handle_));
  for (const std::u16string& detail : details) AddDiagnostic(errorState_, detail);
  const std::u16string name = Name();
  const MessageArg args[] = {MessageArg(name)};
  SetMessage(errorState_, ThisLibrary(), messageId, MessageArgs(args, 1));
  errorState_->extra.assign(path_);
}

int32_t FileStream::Open(std::u16string_view path, uint32_t access, uint32_t share,
                         uint32_t creation, uint32_t attributes, bool* created) {
  ResetErrorState();
  if (created != nullptr) *created = false;
  if (isOpen()) Close();
  path_.assign(path);
  access_ = access;
  const int32_t opened = Reopen(share, creation, attributes);
  if (created != nullptr) *created = lastCreated_;
  return opened;
}

int32_t FileStream::Reopen(uint32_t share, uint32_t creation, uint32_t attributes) {
  ResetErrorState();
  if (attributes == kIgnoredAttributes) attributes = 0;
  const std::u16string path = path_;  // zero-terminated copy
  bool createdNow = false;
  if (creation == ce::OPEN_ALWAYS) {
    handle_ = ce::CreateFileW(path.c_str(), access_, share, nullptr, ce::OPEN_EXISTING, attributes,
                              nullptr);
    if (handle_ != ce::INVALID_HANDLE_VALUE) {
      ce::SetLastError(ce::ERROR_ALREADY_EXISTS);
    } else {
      handle_ = ce::CreateFileW(path.c_str(), access_, share, nullptr, ce::OPEN_ALWAYS, attributes,
                                nullptr);
      createdNow = handle_ != ce::INVALID_HANDLE_VALUE;
    }
  } else {
    handle_ = ce::CreateFileW(path.c_str(), access_, share, nullptr, creation, attributes, nullptr);
    createdNow = creation == ce::CREATE_ALWAYS && handle_ != ce::INVALID_HANDLE_VALUE;
  }
  lastCreated_ = createdNow;
  if (handle_ != ce::INVALID_HANDLE_VALUE) {
    position_ = 0;
    return 1;
  }
  const ce::DWORD code = ce::GetLastError();
  const uint32_t message = creation == ce::CREATE_ALWAYS   ? kMessageCreateFailed
                           : creation == ce::OPEN_EXISTING ? kMessageOpenExistingFailed
                           : creation == ce::OPEN_ALWAYS   ? kMessageOpenAlwaysFailed
                                                           : kMessageOpenExistingFailed;
  Report(message, code, {});
  ce::SetLastError(code);
  return 0;
}

int32_t FileStream::Close() {
  ResetErrorState();
  if (!isOpen()) return 1;
  if (!ce::CloseFileHandle(handle_)) return 0;
  handle_ = ce::INVALID_HANDLE_VALUE;
  position_ = 0;
  access_ = 0;
  displayName_.clear();
  return 1;
}

int32_t FileStream::Write(const void* buffer, uint32_t count, uint32_t* written) {
  ResetErrorState();
  if (written != nullptr) *written = 0;
  if (count == 0) return 1;
  ce::DWORD done = 0;
  const bool ok = ce::WriteFile(handle_, buffer, count, &done, nullptr) != 0;
  position_ += done;
  if (written != nullptr) *written = done;
  if (ok && done == count) return 1;
  const ce::DWORD code = ok ? ce::ERROR_DISK_FULL : ce::GetLastError();
  Report(kMessageWriteFailed, code, {Printf16("##(IXStream)-Access=<%x>##", access_)});
  ce::SetLastError(code);
  return 0;
}

int32_t FileStream::WriteAt(int64_t offset, const void* buffer, uint32_t count, uint32_t* written) {
  if (!Seek(offset, ce::FILE_BEGIN)) return 0;
  return Write(buffer, count, written);
}

int32_t FileStream::Read(void* buffer, uint32_t count, uint32_t* read) {
  ResetErrorState();
  const int64_t before = position_;
  ce::DWORD total = 0;
  bool ok = true;
  while (total < count) {
    ce::DWORD done = 0;
    ok = ce::ReadFile(handle_, static_cast<char*>(buffer) + total, count - total, &done,
                      nullptr) != 0;
    total += done;
    if (ok) break;
    const ce::DWORD code = ce::GetLastError();
    if (code != ce::ERROR_IO_PENDING && code != 162) break;  // 162: a signal is pending
  }
  position_ += total;
  if (read != nullptr) *read = total;
  if (ok && (read != nullptr || total == count)) return 1;
  const ce::DWORD code = ok ? 0 : ce::GetLastError();
  Report(kMessageReadFailed, code,
         {Printf16("##(IXStream)-bExact=<%d>##", read == nullptr ? 1 : 0),
          Printf16("##(IXStream)-A lire=<%u>, lu=<%u>##", count, total),
          Printf16("##(IXStream)-Offset=<%llu>##", static_cast<unsigned long long>(before))});
  ce::SetLastError(code);
  return 0;
}

int32_t FileStream::ReadAt(int64_t offset, void* buffer, uint32_t count, uint32_t* read) {
  if (!Seek(offset, ce::FILE_BEGIN)) return 0;
  return Read(buffer, count, read);
}

int32_t FileStream::Seek(int64_t offset, uint32_t origin) {
  ResetErrorState();
  ce::LONG high = static_cast<ce::LONG>(static_cast<uint64_t>(offset) >> 32);
  const ce::DWORD low = ce::SetFilePointer(handle_, static_cast<ce::LONG>(offset), &high, origin);
  const ce::DWORD code = ce::GetLastError();
  if (low == ce::INVALID_SET_FILE_POINTER && code != ce::ERROR_SUCCESS) {
    Report(kMessageSeekFailed, code, {});
    ce::SetLastError(code);
    return 0;
  }
  position_ = static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) | low);
  return 1;
}

int64_t FileStream::GetSize() {
  const int64_t saved = position_;
  if (!Seek(0, ce::FILE_END)) return -1;
  const int64_t size = position_;
  if (!Seek(saved, ce::FILE_BEGIN)) return -1;
  return size;
}

int32_t FileStream::Flush() {
  ResetErrorState();
  if (ce::FlushFileBuffers(handle_)) return 1;
  const ce::DWORD code = ce::GetLastError();
  Report(kMessageFlushFailed, code, {});
  ce::SetLastError(code);
  return 0;
}

int32_t FileStream::Truncate(int64_t offset) {
  if (!Seek(offset, ce::FILE_BEGIN)) return 0;
  if (ce::SetEndOfFile(handle_)) return 1;
  const ce::DWORD code = ce::GetLastError();
  Report(kMessageWriteFailed, code, {});
  ce::SetLastError(code);
  return 0;
}

}  // namespace tq
