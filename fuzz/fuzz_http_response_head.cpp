// The HTTP answer's head scanner on arbitrary bytes cut into arbitrary blocks: the first byte
// chooses the block size. Whatever the cut, the body must start at the same byte of the
// answer as when the answer is fed whole, the head's length must agree, and the announced
// length and progress range must be the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/http_response_head.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

struct Outcome {
  bool complete;
  uint64_t bodyStart;  // offset in the whole answer
  std::optional<int64_t> length;
};

Outcome Scan(std::string_view answer, size_t blockSize) {
  tq::net::ResponseHeadScanner scanner;
  uint64_t offset = 0;
  while (offset < answer.size()) {
    const std::string_view block = answer.substr(offset, blockSize);
    const size_t start = scanner.Feed(block);
    if (start != tq::net::ResponseHeadScanner::kInHead) {
      Require(start <= block.size());
      return {true, offset + start, scanner.ContentLength()};
    }
    offset += block.size();
  }
  return {false, answer.size(), scanner.ContentLength()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t blockSize = 1 + data[0] % 17;
  const std::string_view answer(reinterpret_cast<const char*>(data + 1), size - 1);
  const Outcome whole = Scan(answer, answer.size() + 1);
  const Outcome cut = Scan(answer, blockSize);
  Require(whole.complete == cut.complete);
  Require(whole.bodyStart == cut.bodyStart);
  Require(whole.length == cut.length);
  if (whole.complete) {
    Require(answer.substr(0, whole.bodyStart).ends_with("\r\n\r\n"));
    Require(answer.substr(0, whole.bodyStart - 1).find("\r\n\r\n") == std::string_view::npos);
  }
  if (whole.length) {
    const int32_t range = tq::net::ProgressRangeOf(*whole.length);
    Require(range >= 0);
  }
  return 0;
}
