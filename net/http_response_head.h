// The head of an HTTP answer as the download reads it: everything up to the first blank line
// ("\r\n\r\n"), whatever the status line and header lines look like, fed block by block as the
// bytes arrive. The only header read is "Content-Length: " (exactly so written), whose
// decimal value gives the progress range.
//
// Invariants: memory is bounded: only the first kKeptHeadBytes of the head are kept for the
// header search; the blank line is still found however long the head is, also when it is split
// across blocks. The status line is never judged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq::net {

class ResponseHeadScanner {
 public:
  static constexpr size_t kKeptHeadBytes = 64 * 1024;
  static constexpr size_t kInHead = static_cast<size_t>(-1);

  // Feeds the next block of the answer while the head is not complete. Returns kInHead when
  // the whole block belongs to the head, otherwise the offset in `block` of the body's first
  // byte (the block's size when the body starts with the next block).
  size_t Feed(std::string_view block);

  bool complete() const { return complete_; }
  // Bytes of the head seen so far, blank line included once complete.
  uint64_t headBytes() const { return headBytes_; }
  // The value of the first "Content-Length: " line of the kept head, read like atoi (leading
  // blanks, a sign, digits; saturated); nullopt when there is none.
  std::optional<int64_t> ContentLength() const;

 private:
  std::string kept_;   // the head's first bytes, at most kKeptHeadBytes
  std::string carry_;  // the head's last bytes (at most 3), to find a split blank line
  uint64_t headBytes_ = 0;
  bool complete_ = false;
};

// The progress range for an announced length: whole 128-byte blocks, within 0..INT32_MAX.
int32_t ProgressRangeOf(int64_t contentLength);

}  // namespace tq::net
