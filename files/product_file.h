// CTXFile: the 20-byte header of the product's own data files ("ORV" signature, header size,
// type, version, attributes), and CEltProjetFile: project-element files whose blocks are
// chained by 8-byte offsets.
//
// Invariants: header fields are little-endian; a header is accepted only with the signature,
// an accepted type and a size of at least 20 bytes; on success the caller's offset is moved
// past the header. Failures are reported into the stream's error state (level 3) with the
// "##(CTXFile)-...##" and "##(CEltProjetFile)-...##" diagnostics.
#pragma once

#include <cstdint>
#include <vector>

#include "files/stream.h"

namespace tq {

inline constexpr uint32_t kProductSignature = 0x0056524f;  // "ORV" and a zero byte
inline constexpr uint32_t kProductHeaderSize = 20;
inline constexpr uint32_t kAnyProductType = 0;
inline constexpr uint32_t kProjectElementTypes = 0x20001;

class CTXFile {
 public:
  explicit CTXFile(uint32_t requestedType) : requestedType_(requestedType) {}
  virtual ~CTXFile() = default;

  // Reads and checks the header at `*offset`; on success advances `*offset` past it.
  int32_t ReadHeader(FileStream& stream, int64_t* offset);

  uint32_t type() const { return type_; }
  uint32_t headerSize() const { return headerSize_; }
  uint16_t version() const { return version_; }
  uint8_t attribute1() const { return attribute1_; }
  uint8_t attribute2() const { return attribute2_; }
  uint16_t extra1() const { return extra1_; }
  uint16_t extra2() const { return extra2_; }

 protected:
  // The compatibility decision for a requested type other than 0 and 0x20001: same type.
  virtual bool AcceptsType(uint32_t type) const { return type == requestedType_; }

 private:
  uint32_t requestedType_;
  uint32_t type_ = 0;
  uint32_t headerSize_ = 0;
  uint16_t version_ = 0;
  uint8_t attribute1_ = 0;
  uint8_t attribute2_ = 0;
  uint16_t extra1_ = 0;
  uint16_t extra2_ = 0;
};

// A project element: after the product header, a 4-byte word, then the chain of blocks.
class CEltProjetFile : public CTXFile {
 public:
  static constexpr uint32_t kSupportedVersion = 3;

  CEltProjetFile() : CTXFile(kProjectElementTypes) {}

  // Reads the header, the element word and the block chain starting at `offset`.
  int32_t Read(FileStream& stream, int64_t offset);
  // Accepts the element header's major version (or the element word's escape value).
  static bool AcceptsVersion(uint32_t major, uint32_t elementWord);

  uint32_t elementWord() const { return elementWord_; }
  // Offsets of the chained blocks, in chain order (each the position of its 8-byte link).
  const std::vector<int64_t>& blocks() const { return blocks_; }

 private:
  uint32_t elementWord_ = 0;
  std::vector<int64_t> blocks_;
};

}  // namespace tq
