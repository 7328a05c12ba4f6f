// SHA-256 (FIPS 180-2): the hash behind the library's random bytes.
//
// Invariants: Update may be called any number of times with any split of the message; Final
// pads the message (0x80, zeros, the 64-bit bit length big-endian) and writes the 32-byte
// digest; the object is then spent until Init.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tq {

class Sha256 {
 public:
  static constexpr size_t kDigestBytes = 32;
  using Digest = std::array<uint8_t, kDigestBytes>;

  Sha256() { Init(); }
  void Init();
  void Update(const void* data, size_t count);
  Digest Final();

 private:
  void Compress(const uint8_t* block);

  std::array<uint32_t, 8> state_{};
  uint64_t lengthBits_ = 0;
  std::array<uint8_t, 64> pending_{};
  size_t pendingCount_ = 0;
};

}  // namespace tq
