// IXStream: the one stream abstraction through which the library reads and writes files, and
// FileStream, its implementation over a platform file handle.
//
// Invariants: a stream reports every failure into the error state it was given (the caller's
// CXError, referenced for the stream's life): level 3, the platform's code and text, the
// "##(IXStream)-...##" diagnostics and the operation's message naming the file (its display
// name when set). Every operation first resets that error state unless its level is 1. The
// position is the stream's own 64-bit count, moved by reads, writes and seeks. A stream
// belongs to one caller; no locking. Operations are virtual in the device's slot order.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/file_types.h"

namespace tq {

struct CXError;

class IXStream {
 public:
  virtual ~IXStream() = default;                                                      // 0
  virtual int32_t Release() = 0;                                                      // 1
  // Creation codes: 2 create always, 3 open existing, 4 open always (others passed on).
  virtual int32_t Open(std::u16string_view path, uint32_t access, uint32_t share,
                       uint32_t creation, uint32_t attributes, bool* created) = 0;    // 2
  virtual int32_t Close() = 0;                                                        // 3
  virtual int32_t Reopen(uint32_t share, uint32_t creation, uint32_t attributes) = 0; // 4
  virtual int32_t Write(const void* buffer, uint32_t count, uint32_t* written) = 0;    // 5
  virtual int32_t WriteAt(int64_t offset, const void* buffer, uint32_t count,
                          uint32_t* written) = 0;                                     // 6
  // A null `read` means that exactly `count` bytes are required.
  virtual int32_t Read(void* buffer, uint32_t count, uint32_t* read) = 0;             // 7
  virtual int32_t ReadAt(int64_t offset, void* buffer, uint32_t count,
                         uint32_t* read) = 0;                                         // 8
  virtual int32_t Seek(int64_t offset, uint32_t origin) = 0;                          // 9
  virtual int64_t GetSize() = 0;                                                      // 10
  virtual int64_t GetPosition() const = 0;                                            // 11
  virtual int32_t Flush() = 0;                                                        // 12
  virtual int32_t Truncate(int64_t offset) = 0;                                       // 13
};

class FileStream final : public IXStream {
 public:
  // `errorState` may be null (failures are then only in the platform's last error).
  explicit FileStream(CXError* errorState);
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  int32_t Release() override;
  int32_t Open(std::u16string_view path, uint32_t access, uint32_t share, uint32_t creation,
               uint32_t attributes, bool* created) override;
  int32_t Close() override;
  int32_t Reopen(uint32_t share, uint32_t creation, uint32_t attributes) override;
  int32_t Write(const void* buffer, uint32_t count, uint32_t* written) override;
  int32_t WriteAt(int64_t offset, const void* buffer, uint32_t count, uint32_t* written) override;
  int32_t Read(void* buffer, uint32_t count, uint32_t* read) override;
  int32_t ReadAt(int64_t offset, void* buffer, uint32_t count, uint32_t* read) override;
  int32_t Seek(int64_t offset, uint32_t origin) override;
  int64_t GetSize() override;
  int64_t GetPosition() const override { return position_; }
  int32_t Flush() override;
  int32_t Truncate(int64_t offset) override;

  void AddReference() { ++references_; }
  void SetDisplayName(std::u16string_view name) { displayName_ = name; }
  const std::u16string& path() const { return path_; }
  bool isOpen() const { return handle_ != ce::INVALID_HANDLE_VALUE; }
  ce::HANDLE handle() const { return handle_; }
  CXError* errorState() const { return errorState_; }
  // Whether the last Open or Reopen created the file.
  bool created() const { return lastCreated_; }

 private:
  void ResetErrorState();
  // Level 3, the last error and its text, the handle diagnostic and the message naming the
  // file; then the extra diagnostics.
  void Report(uint32_t messageId, uint32_t systemCode, std::initializer_list<std::u16string> details);
  std::u16string Name() const { return displayName_.empty() ? path_ : displayName_; }

  int32_t references_ = 1;
  CXError* errorState_;
  std::u16string path_;
  ce::HANDLE handle_ = ce::INVALID_HANDLE_VALUE;
  int64_t position_ = 0;
  uint32_t access_ = 0;
  std::u16string displayName_;
  bool lastCreated_ = false;
};

// Stream message ids.
inline constexpr uint32_t kMessageFlushFailed = 28001;
inline constexpr uint32_t kMessageOpenAlwaysFailed = 28002;
inline constexpr uint32_t kMessageReadFailed = 28003;
inline constexpr uint32_t kMessageSeekFailed = 28005;
inline constexpr uint32_t kMessageWriteFailed = 28008;
inline constexpr uint32_t kMessageElementUnreadable = 28010;
inline constexpr uint32_t kMessageHeaderTooShort = 28011;
inline constexpr uint32_t kMessageOpenExistingFailed = 28139;
inline constexpr uint32_t kMessageCreateFailed = 28140;

}  // namespace tq
