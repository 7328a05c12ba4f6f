// The local file a download writes: created (or emptied) at a device path, opened beneath the
// device root so that nothing outside it can be reached, not even through a link swapped in
// while the file is opened; written through a buffer so that small network blocks do not each
// cost a system call.
//
// Invariants: at most kBufferBytes are held in memory; Close flushes and closes once (the
// destructor closes without reporting). A failure leaves the device error code in error().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/windows_types.h"

namespace tq::net {

class DownloadFile {
 public:
  static constexpr size_t kBufferBytes = 256 * 1024;

  DownloadFile() = default;
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;
  ~DownloadFile();

  // Creates or truncates the file (CREATE_ALWAYS, shared for reading and writing).
  bool Create(std::u16string_view devicePath);
  bool Write(const char* data, size_t size);
  bool Close();

  ce::DWORD error() const { return error_; }
  uint64_t written() const { return written_; }

 private:
  bool Flush();

  int fd_ = -1;
  std::vector<char> buffer_;
  uint64_t written_ = 0;
  ce::DWORD error_ = 0;
};

// Opens a device path beneath the device root with open(2) flags; -1 with the device error in
// the last error.
int OpenBeneathDeviceRoot(std::u16string_view devicePath, int flags, int mode);

}  // namespace tq::net
