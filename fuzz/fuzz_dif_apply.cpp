// BufferDiffApply's worker on arbitrary bytes: the input is an old buffer and DIF data. The
// first byte chooses whether the DIF's old-buffer CRC is patched to match (so that the block
// reader is reached), the next two give the old buffer's length. Whatever the bytes, applying
// must refuse cleanly or rebuild exactly what the header announces; a DIF created from the
// old buffer to the DIF bytes must rebuild them, and must still be refused cleanly or rebuild
// what it announces once one of its words is overwritten.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "services/crc32.h"
#include "services/dif_apply.h"
#include "services/dif_create.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

uint32_t Word(std::span<const uint8_t> b, size_t at) {
  uint32_t w;
  std::memcpy(&w, b.data() + at, 4);
  return w;
}

std::vector<uint8_t> Apply(std::span<const uint8_t> old, std::span<const uint8_t> dif,
                           tq::DiffOutcome& outcome) {
  std::vector<uint8_t> out;
  bool asked = false;
  outcome = tq::ApplyDifference(old, dif, [&](size_t n) {
    Require(!asked);
    asked = true;
    out.resize(n);
    return n == 0 ? reinterpret_cast<uint8_t*>(&out) : out.data();
  });
  Require(outcome.succeeded || outcome.status != tq::DiffStatus::kNone);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const bool patchCrc = (data[0] & 1) != 0;
  size_t oldSize = data[1] | size_t{data[2]} << 8;
  std::span<const uint8_t> rest(data + 3, size - 3);
  if (oldSize > rest.size()) oldSize = rest.size();
  const std::span<const uint8_t> old = rest.first(oldSize);
  std::vector<uint8_t> dif(rest.begin() + static_cast<ptrdiff_t>(oldSize), rest.end());
  if (patchCrc && dif.size() >= 20) {
    const uint32_t crc = tq::Crc32(old);
    std::memcpy(dif.data() + 16, &crc, 4);
  }

  tq::DiffOutcome applied;
  const std::vector<uint8_t> out = Apply(old, dif, applied);
  if (applied.succeeded) {
    Require(out.size() == Word(dif, 32));
    Require(tq::Crc32(out) == Word(dif, 20));
  }

  const tq::DiffCreation created = tq::CreateDifference(old, dif, data[0] >> 1, data[0] >> 3);
  if (created.outcome.succeeded) {
    tq::DiffOutcome back;
    const std::vector<uint8_t> rebuilt = Apply(old, created.dif, back);
    Require(back.succeeded && rebuilt == dif);
    // A well-formed DIF with one word replaced: the reader sees near-valid structures.
    if (dif.size() >= 4) {
      std::vector<uint8_t> damaged = created.dif;
      const size_t at = (size_t{data[0]} * 4) % (damaged.size() - 3);
      std::memcpy(damaged.data() + at, dif.data(), 4);
      const std::vector<uint8_t> out2 = Apply(old, damaged, back);
      if (back.succeeded) Require(tq::Crc32(out2) == Word(damaged, 20));
    }
  }
  return 0;
}
