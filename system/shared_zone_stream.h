// SharedZoneStream: the stream interface over an opened shared zone, so that the text-file
// functions read and write a zone as they do a file. It owns the zone: releasing the stream's
// last reference closes the zone.
//
// Invariants: the position is the zone's own (one per opening process) and stays within
// [0, zone size]; reads stop at the end of the zone; writes go through the zone's protocol
// (the mutex, the other processes' acknowledgements, their notifications) and are cut at its
// end. A write that does not fit whole, a write into a read-only zone, a seek outside the
// zone and the operations a zone cannot do (open by path, truncate) fail the way a file
// stream does: level 3, the platform code and text, the "##(IXStream)-...##" diagnostics and
// the operation's message naming the zone. Every operation first resets the error state unless
// its level is 1.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "files/stream.h"
#include "system/shared_zone.h"

namespace tq {

struct CXError;

class SharedZoneStream final : public IXStream {
 public:
  // `errorState` may be null (failures are then only in the platform's last error).
  SharedZoneStream(std::unique_ptr<SharedZone> zone, CXError* errorState);
  ~SharedZoneStream() override;
  SharedZoneStream(const SharedZoneStream&) = delete;
  SharedZoneStream& operator=(const SharedZoneStream&) = delete;

  int32_t Release() override;
  // A zone is opened by name with SharedZoneOpen, never by path: both fail (not supported).
  int32_t Open(std::u16string_view path, uint32_t access, uint32_t share, uint32_t creation,
               uint32_t attributes, bool* created) override;
  int32_t Reopen(uint32_t share, uint32_t creation, uint32_t attributes) override;
  // The zone stays open until the stream is released.
  int32_t Close() override;
  int32_t Write(const void* buffer, uint32_t count, uint32_t* written) override;
  int32_t WriteAt(int64_t offset, const void* buffer, uint32_t count, uint32_t* written) override;
  int32_t Read(void* buffer, uint32_t count, uint32_t* read) override;
  int32_t ReadAt(int64_t offset, void* buffer, uint32_t count, uint32_t* read) override;
  int32_t Seek(int64_t offset, uint32_t origin) override;
  int64_t GetSize() override;
  int64_t GetPosition() const override;
  int32_t Flush() override;
  int32_t Truncate(int64_t offset) override;

  SharedZone& zone() { return *zone_; }
  CXError* errorState() const { return errorState_; }

 private:
  void ResetErrorState();
  // Level 3, the code and its text, the view diagnostic and the message naming the zone; then
  // the extra diagnostics. Leaves `code` as the platform's last error.
  int32_t Fail(uint32_t messageId, uint32_t code, std::initializer_list<std::u16string> details);

  int32_t references_ = 1;
  std::unique_ptr<SharedZone> zone_;
  CXError* errorState_;
};

}  // namespace tq
