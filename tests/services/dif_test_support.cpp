// The reference creator follows the rules literally: a map from hash to the last block
// offset, the Adler-32 of every scanned window computed from scratch by zlib, byte-by-byte
// comparison. It shares no code with the library.
#include "tests/services/dif_test_support.h"

#include <zlib.h>

#include <algorithm>
#include <unordered_map>

namespace tq::testing {

Bytes RandomBuffer(std::mt19937_64& rng, size_t size, unsigned alphabet) {
  Bytes b(size);
  for (uint8_t& x : b) x = static_cast<uint8_t>(rng() % alphabet);
  return b;
}

Bytes Edited(std::mt19937_64& rng, const Bytes& old) {
  Bytes b = old;
  const int edits = 1 + static_cast<int>(rng() % 6);
  for (int e = 0; e < edits; ++e) {
    const size_t at = b.empty() ? 0 : rng() % (b.size() + 1);
    const size_t len = 1 + rng() % (rng() % 4 == 0 ? 2000 : 40);
    switch (rng() % 5) {
      case 0:  // change bytes
        for (size_t i = at; i < std::min(b.size(), at + len); ++i)
          b[i] = static_cast<uint8_t>(rng());
        break;
      case 1: {  // insert new bytes
        const Bytes fresh = RandomBuffer(rng, len);
        b.insert(b.begin() + static_cast<ptrdiff_t>(at), fresh.begin(), fresh.end());
        break;
      }
      case 2:  // delete
        b.erase(b.begin() + static_cast<ptrdiff_t>(at),
                b.begin() + static_cast<ptrdiff_t>(std::min(b.size(), at + len)));
        break;
      case 3: {  // move a range elsewhere
        if (b.size() < 2) break;
        const size_t from = rng() % b.size();
        const size_t n = std::min(len, b.size() - from);
        Bytes moved(b.begin() + static_cast<ptrdiff_t>(from),
                    b.begin() + static_cast<ptrdiff_t>(from + n));
        b.erase(b.begin() + static_cast<ptrdiff_t>(from),
                b.begin() + static_cast<ptrdiff_t>(from + n));
        const size_t to = b.empty() ? 0 : rng() % (b.size() + 1);
        b.insert(b.begin() + static_cast<ptrdiff_t>(to), moved.begin(), moved.end());
        break;
      }
      default: {  // duplicate a range
        if (b.empty()) break;
        const size_t from = rng() % b.size();
        const size_t n = std::min(len, b.size() - from);
        Bytes copy(b.begin() + static_cast<ptrdiff_t>(from),
                   b.begin() + static_cast<ptrdiff_t>(from + n));
        b.insert(b.begin() + static_cast<ptrdiff_t>(at), copy.begin(), copy.end());
        break;
      }
    }
  }
  return b;
}

Applied Apply(const Bytes& old, const Bytes& dif) {
  Applied a;
  a.outcome = ApplyDifference(old, dif, [&a](size_t n) {
    a.outputRequested = true;
    a.output.resize(n);
    return n == 0 ? reinterpret_cast<uint8_t*>(&a) : a.output.data();
  });
  return a;
}

uint32_t WordAt(const Bytes& dif, size_t offset) {
  return static_cast<uint32_t>(dif.at(offset)) | static_cast<uint32_t>(dif.at(offset + 1)) << 8 |
         static_cast<uint32_t>(dif.at(offset + 2)) << 16 |
         static_cast<uint32_t>(dif.at(offset + 3)) << 24;
}

void SetWordAt(Bytes& dif, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) dif.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

void AppendWord(Bytes& dif, uint32_t value) {
  for (int i = 0; i < 4; ++i) dif.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

ReferenceDif ReferenceCreate(const Bytes& old, const Bytes& neu) {
  ReferenceDif out;
  if (old.empty()) {
    out.status = 6;
    return out;
  }
  const uint32_t oldCrc =
      static_cast<uint32_t>(crc32(0, old.data(), static_cast<uInt>(old.size())));
  const uint32_t newCrc =
      static_cast<uint32_t>(crc32(0, neu.data(), static_cast<uInt>(neu.size())));
  if (oldCrc == newCrc) {
    out.status = 7;
    return out;
  }
  auto hash = [](const uint8_t* p) { return static_cast<uint32_t>(adler32(0, p, 128)); };
  std::unordered_map<uint32_t, size_t> last;
  for (size_t off = 0; off + 128 <= old.size(); off += 128) last[hash(&old[off])] = off;

  struct Op {
    uint32_t kind, first, last;
  };
  std::vector<Op> ops;
  Bytes data;
  size_t runStart = 0;
  auto flush = [&](size_t end) {
    if (end == runStart) return;
    ops.push_back({1, static_cast<uint32_t>(data.size()),
                   static_cast<uint32_t>(data.size() + end - runStart)});
    data.insert(data.end(), neu.begin() + static_cast<ptrdiff_t>(runStart),
                neu.begin() + static_cast<ptrdiff_t>(end));
  };
  size_t p = 0;
  while (p < neu.size()) {
    size_t m = 0, s = 0;
    if (p + 128 < neu.size()) {
      auto it = last.find(hash(&neu[p]));
      if (it != last.end()) {
        s = it->second;
        while (p + m < neu.size() && s + m < old.size() && neu[p + m] == old[s + m]) ++m;
      }
    }
    if (m >= 128) {
      flush(p);
      ops.push_back({0, static_cast<uint32_t>(s), static_cast<uint32_t>(s + m)});
      p += m;
      runStart = p;
    } else {
      ++p;
    }
  }
  flush(neu.size());

  Bytes dif;
  for (uint32_t w :
       {0x464944u, 28u, 1u, 1u, oldCrc, newCrc, 128u, 1u, static_cast<uint32_t>(neu.size())})
    AppendWord(dif, w);
  const uint32_t n = static_cast<uint32_t>(ops.size());
  const uint32_t d = static_cast<uint32_t>(data.size());
  for (uint32_t w : {d + 12 * n + 40, 36u, 0u, n, 0u, 0u, 0u, static_cast<uint32_t>(old.size()), 0u,
                     static_cast<uint32_t>(neu.size()), d})
    AppendWord(dif, w);
  for (const Op& op : ops)
    for (uint32_t w : {op.kind, op.first, op.last}) AppendWord(dif, w);
  dif.insert(dif.end(), data.begin(), data.end());
  out.dif = std::move(dif);
  return out;
}

}  // namespace tq::testing
