// Fuzzes the "-lh5-" coder: whatever the input and the way it is fed (the first byte chooses
// the feeding size and the block size), the test decoder must give the input back exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "files/lh5_encoder.h"
#include "tests/files/lh5_test_decoder.h"

namespace {

class Collect final : public tq::lzh::ByteSink {
 public:
  bool Put(const uint8_t* bytes, size_t count) override {
    out.insert(out.end(), bytes, bytes + count);
    return true;
  }
  std::vector<uint8_t> out;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t feed = 1 + (data[0] & 0x0f) * 97;
  const size_t blockBytes = 64 + (data[0] >> 4) * 1000;
  const std::vector<uint8_t> input(data + 1, data + size);
  Collect sink;
  tq::lzh::Lh5Encoder coder(sink, blockBytes);
  for (size_t at = 0; at < input.size(); at += feed) {
    coder.Feed(input.data() + at, std::min(feed, input.size() - at));
  }
  coder.Finish();
  const auto decoded = tqtest::DecodeLh5(sink.out, input.size());
  if (!input.empty() && (!decoded || *decoded != input)) std::abort();
  return 0;
}
