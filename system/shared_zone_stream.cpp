// SharedZoneStream: reads, writes and seeks on a shared zone's view, with the diagnostics a
// file stream leaves in the caller's error state.
#include "system/shared_zone_stream.h"

#include <cstdint>

#include "frame/error_state.h"
#include "frame/library_descriptor.h"
#include "frame/message_format.h"
#include "platform/file_mapping.h"
#include "platform/file_types.h"
#include "platform/last_error.h"

namespace tq {

SharedZoneStream::SharedZoneStream(std::unique_ptr<SharedZone> zone, CXError* errorState)
    : zone_(std::move(zone)), errorState_(errorState) {
  if (errorState_ != nullptr) AddReference(errorState_);
}

SharedZoneStream::~SharedZoneStream() {
  if (errorState_ != nullptr) ReleaseReference(errorState_);
}

int32_t SharedZoneStream::Release() {
  const int32_t left = --references_;
  if (left == 0) delete this;
  return left;
}

void SharedZoneStream::ResetErrorState() {
  if (errorState_ != nullptr && errorState_->level != kLevelNone) Reset(errorState_);
}

int32_t SharedZoneStream::Fail(uint32_t messageId, uint32_t code,
                               std::initializer_list<std::u16string> details) {
  if (errorState_ != nullptr) {
    errorState_->level = 3;
    RecordSystemError(errorState_, code);
    AddDiagnostic(errorState_, Printf16("##(IXStream)-Handle=<%p>##", zone_->data()));
    for (const std::u16string& detail : details) AddDiagnostic(errorState_, detail);
    const MessageArg args[] = {MessageArg(zone_->name())};
    SetMessage(errorState_, ThisLibrary(), messageId, MessageArgs(args, 1));
    errorState_->extra.assign(zone_->name());
  }
  ce::SetLastError(code);
  return 0;
}

int32_t SharedZoneStream::Open(std::u16string_view, uint32_t, uint32_t, uint32_t, uint32_t,
                               bool* created) {
  ResetErrorState();
  if (created != nullptr) *created = false;
  return Fail(kMessageOpenExistingFailed, ce::ERROR_NOT_SUPPORTED, {});
}

int32_t SharedZoneStream::Reopen(uint32_t, uint32_t, uint32_t) {
  ResetErrorState();
  return Fail(kMessageOpenExistingFailed, ce::ERROR_NOT_SUPPORTED, {});
}

int32_t SharedZoneStream::Close() {
  ResetErrorState();
  return 1;
}

int32_t SharedZoneStream::Write(const void* buffer, uint32_t count, uint32_t* written) {
  ResetErrorState();
  if (written != nullptr) *written = 0;
  if (count == 0) return 1;
  const uint32_t access = zone_->writable() ? ce::FILE_MAP_ALL_ACCESS : ce::FILE_MAP_READ;
  if (!zone_->writable()) {
    return Fail(kMessageWriteFailed, ce::ERROR_ACCESS_DENIED,
                {Printf16("##(IXStream)-Access=<%x>##", access)});
  }
  const auto done = static_cast<uint32_t>(
      zone_->Write({static_cast<const uint8_t*>(buffer), static_cast<size_t>(count)}));
  if (written != nullptr) *written = done;
  if (done == count) return 1;
  // Cut at the end of the zone: what fitted is written, the rest is reported as lost.
  return Fail(kMessageWriteFailed, ce::ERROR_HANDLE_EOF,
              {Printf16("##(IXStream)-Access=<%x>##", access),
               Printf16("##(IXStream)-A ecrire=<%u>, ecrit=<%u>##", count, done)});
}

int32_t SharedZoneStream::WriteAt(int64_t offset, const void* buffer, uint32_t count,
                                  uint32_t* written) {
  if (!Seek(offset, ce::FILE_BEGIN)) return 0;
  return Write(buffer, count, written);
}

int32_t SharedZoneStream::Read(void* buffer, uint32_t count, uint32_t* read) {
  ResetErrorState();
  const uint64_t before = zone_->position();
  const auto done = static_cast<uint32_t>(
      zone_->Read({static_cast<uint8_t*>(buffer), static_cast<size_t>(count)}));
  if (read != nullptr) *read = done;
  if (read != nullptr || done == count) return 1;
  return Fail(kMessageReadFailed, 0,
              {Printf16("##(IXStream)-bExact=<%d>##", 1),
               Printf16("##(IXStream)-A lire=<%u>, lu=<%u>##", count, done),
               Printf16("##(IXStream)-Offset=<%llu>##", static_cast<unsigned long long>(before))});
}

int32_t SharedZoneStream::ReadAt(int64_t offset, void* buffer, uint32_t count, uint32_t* read) {
  if (!Seek(offset, ce::FILE_BEGIN)) return 0;
  return Read(buffer, count, read);
}

int32_t SharedZoneStream::Seek(int64_t offset, uint32_t origin) {
  ResetErrorState();
  const auto size = static_cast<int64_t>(zone_->size());
  int64_t base = 0;
  if (origin == ce::FILE_CURRENT) {
    base = static_cast<int64_t>(zone_->position());
  } else if (origin == ce::FILE_END) {
    base = size;
  } else if (origin != ce::FILE_BEGIN) {
    return Fail(kMessageSeekFailed, ce::ERROR_INVALID_PARAMETER, {});
  }
  // The zone cannot grow: a position past its end is refused like one before its start.
  const int64_t target = offset > 0 && base > INT64_MAX - offset ? INT64_MAX : base + offset;
  if (target < 0) return Fail(kMessageSeekFailed, ce::ERROR_NEGATIVE_SEEK, {});
  if (target > size) return Fail(kMessageSeekFailed, ce::ERROR_HANDLE_EOF, {});
  zone_->set_position(static_cast<uint64_t>(target));
  return 1;
}

int64_t SharedZoneStream::GetSize() {
  ResetErrorState();
  return static_cast<int64_t>(zone_->size());
}

int64_t SharedZoneStream::GetPosition() const {
  return static_cast<int64_t>(zone_->position());
}

int32_t SharedZoneStream::Flush() {
  ResetErrorState();
  return 1;  // the view is the memory every process sees: nothing is held back
}

int32_t SharedZoneStream::Truncate(int64_t offset) {
  if (!Seek(offset, ce::FILE_BEGIN)) return 0;
  return Fail(kMessageWriteFailed, ce::ERROR_NOT_SUPPORTED, {});
}

}  // namespace tq
