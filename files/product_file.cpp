// Product file headers and project-element block chains.
#include "files/product_file.h"

#include <cstring>
#include <unordered_set>

#include "frame/error_state.h"
#include "frame/library_descriptor.h"
#include "frame/message_format.h"

namespace tq {
namespace {

uint32_t Word32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Word16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

bool IsProjectElementType(uint32_t type) {
  return type == 2 || type == 8 || type == 18 || type == 20 || (type >= 258 && type <= 261);
}

void Fail(FileStream& stream, std::u16string_view diagnostic) {
  CXError* state = stream.errorState();
  if (state == nullptr) return;
  if (state->level == kLevelNone) state->level = 3;
  AddDiagnostic(state, diagnostic);
  state->extra.assign(stream.path());
}

}  // namespace

int32_t CTXFile::ReadHeader(FileStream& stream, int64_t* offset) {
  uint8_t header[kProductHeaderSize];
  if (!stream.Seek(*offset, 0) || !stream.Read(header, sizeof header, nullptr)) return 0;
  const uint32_t signature = Word32(header);
  if (signature != kProductSignature) {
    Fail(stream, Printf16("##(CTXFile)-Signature geree=<%u>, signature lue=<%u>##",
                          kProductSignature, signature));
    return 0;
  }
  version_ = Word16(header + 12);
  attribute1_ = header[14];
  attribute2_ = header[15];
  extra1_ = Word16(header + 16);
  extra2_ = Word16(header + 18);
  const uint32_t type = Word32(header + 8);
  const bool accepted = requestedType_ == kAnyProductType ||
                        (requestedType_ == kProjectElementTypes ? IsProjectElementType(type)
                                                                : AcceptsType(type));
  if (!accepted) {
    Fail(stream, Printf16("##(CTXFile)-Type demande=<%u>, type lu=<%u>##", requestedType_, type));
    return 0;
  }
  type_ = type;
  const uint32_t size = Word32(header + 4);
  if (size < kProductHeaderSize) {
    CXError* state = stream.errorState();
    if (state != nullptr) {
      state->level = 3;
      AddDiagnostic(state, Printf16("##(CTXFile)-Taille entete attendue=<%u>, Taille entete lue=<%u>##",
                                    kProductHeaderSize, size));
      const std::u16string name = stream.path();
      const MessageArg args[] = {MessageArg(name)};
      SetMessage(state, ThisLibrary(), kMessageHeaderTooShort, MessageArgs(args, 1));
    }
    return 0;
  }
  headerSize_ = size;
  *offset += size;
  return 1;
}

bool CEltProjetFile::AcceptsVersion(uint32_t major, uint32_t elementWord) {
  if (major >= 4 || (major >= 1 && major <= kSupportedVersion)) return true;
  return (elementWord & ~0xfu) == 0x2fff0;
}

int32_t CEltProjetFile::Read(FileStream& stream, int64_t offset) {
  blocks_.clear();
  const auto unreadable = [&stream] {
    CXError* state = stream.errorState();
    if (state == nullptr) return;
    SetMessage(state, ThisLibrary(), kMessageElementUnreadable, {});
    state->level = 2;
  };
  if (!ReadHeader(stream, &offset)) return 0;
  uint8_t word[4];
  if (!stream.Seek(offset, 0) || !stream.Read(word, sizeof word, nullptr)) {
    unreadable();
    return 0;
  }
  elementWord_ = Word32(word);
  if (!AcceptsVersion(version() >> 8, elementWord_)) {
    Fail(stream, Printf16("##(CEltProjetFile)-Version entete majeure attendu=<%u>, Version entete "
                          "majeure lu=<%u>##",
                          kSupportedVersion, static_cast<uint32_t>(version() >> 8)));
    return 0;
  }
  // The chain: each link is an 8-byte offset; a non-zero link, less 8, is the next block.
  int64_t link = offset + 4;
  std::unordered_set<int64_t> seen;
  for (;;) {
    uint8_t bytes[8];
    uint32_t got = 0;
    if (!stream.Seek(link, 0) || !stream.Read(bytes, sizeof bytes, &got)) return 0;
    if (got != sizeof bytes) {
      Fail(stream, Printf16("##(CEltProjetFile)-Octet attendu=<%u>, octet lu=<%u>##", 8u, got));
      return 0;
    }
    uint64_t next = 0;
    std::memcpy(&next, bytes, sizeof next);  // little-endian host
    blocks_.push_back(link);
    if (next == 0) return 1;
    if (next < 8 || next > static_cast<uint64_t>(INT64_MAX) ||
        !seen.insert(static_cast<int64_t>(next)).second) {
      Fail(stream, Printf16("##(CEltProjetFile)-Octet attendu=<%u>, octet lu=<%u>##", 8u, 0u));
      return 0;  // a chain that loops or points before the file
    }
    link = static_cast<int64_t>(next) - 8;
  }
}

}  // namespace tq
