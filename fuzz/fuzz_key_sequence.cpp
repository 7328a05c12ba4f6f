// Key sequences are untrusted text: any bytes, read as UTF-16, must parse into a queue or fail
// cleanly, within the queue bound, under every option.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "system/key_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  tq::KeySequenceContext context;
  context.options = data[0] & 0x17;
  context.screenWidth = 1 + data[0] % 3;  // tiny screens exercise the -1 scaling
  if (data[0] & 0x80) context.toScreen = [](ce::POINT p) { return ce::POINT{p.x * 3, p.y - 7}; };
  std::u16string text((size - 1) / 2, u'\0');
  std::memcpy(text.data(), data + 1, text.size() * 2);
  auto queue = tq::BuildInputQueue(text, context);
  if (queue && queue->size() > tq::kMaxQueuedRecords) __builtin_trap();
  return 0;
}
