// The library's message blocks (one per language) and the lookup of a message by id.
//
// A block is a sequence of records, ended by a record length of 0:
//   offset 0  u16  record length in bytes, header included
//   offset 2  u16  message id
//   offset 4  u8   flags: bits 0..1 for the VM (command 4), bit 6 set: the text is UTF-16LE
//   offset 5  u16  packed length
//   offset 7       packed text (see message_unpacker.h)
// all little-endian. The first record is a marker (id 0x0101, plain text "TARVEX RES BLOC UTF16
// START " and byte 1) that is never searched; the others are sorted by id.
//
// Invariants: a block's index is built once, at its first lookup, by walking the records; the
// walk stops at the end record, at a record whose header does not hold together or runs past
// the block's size (when known), or after kMaxMessageRecords records: a damaged block loses
// its tail but is never read past a bad record. Lookups never decode the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

namespace tq {

// The packed blocks, generated at build time from frame/messages/*.txt.
extern const uint8_t kMessageBlockFrench[];
extern const uint8_t kMessageBlockEnglish[];
extern const uint8_t kMessageBlockSpanish[];

inline constexpr int32_t kLanguageFrench = 12;
inline constexpr int32_t kLanguageEnglish = 9;
inline constexpr int32_t kLanguageSpanish = 10;

inline constexpr uint32_t kMessageEncodingUtf8 = 1;
inline constexpr uint32_t kMessageEncodingUtf16 = 2;

inline constexpr size_t kMessageRecordHeader = 7;
inline constexpr size_t kMaxMessageRecords = 846;
inline constexpr uint16_t kMessageMarkerId = 0x0101;
inline constexpr uint8_t kMessageFlagBits = 0x03;
inline constexpr uint8_t kMessageFlagUtf16 = 0x40;

struct MessageRequest {
  uint32_t id;            // in: the message id
  int32_t language;       // in: the language code
  const uint8_t* packed;  // out: the packed text
  uint32_t packedLength;  // out: its length in bytes
  uint32_t encoding;      // out: kMessageEncodingUtf8 or kMessageEncodingUtf16
  int32_t flags;          // in: -1; out: the record's flag bits 0..1
};

class MessageBlock {
 public:
  // Returns the requested id minus the id of the record at `record`.
  using CompareFunction = int32_t (*)(uint32_t requestedId, const uint8_t* record);

  // `size` bounds the walk; the generated blocks are trusted and walk to their end record.
  explicit MessageBlock(const uint8_t* data, size_t size = SIZE_MAX);
  MessageBlock(const MessageBlock&) = delete;
  MessageBlock& operator=(const MessageBlock&) = delete;

  // Fills the request's out fields and returns true when the block holds request->id.
  bool Find(MessageRequest* request);
  // The record's flag bits 0..1, or -1 when the block does not hold `id`.
  int32_t FlagBits(uint32_t id);
  // Records found by the walk, the marker included.
  size_t RecordCount();
  // The record at `index` (0 is the marker); null past the end.
  const uint8_t* Record(size_t index);

 private:
  void BuildIndex();
  const uint8_t* Search(uint32_t id);

  const uint8_t* data_;
  size_t size_;
  CompareFunction compare_;
  uint32_t offsets_[kMaxMessageRecords] = {};
  uint32_t count_ = 0;
  std::once_flag indexed_;  // set once the index is built
};

// The block of a language code: 12 French, 10 Spanish, anything else English.
MessageBlock& MessageBlockForLanguage(int32_t language);

// Looks request->id up in the block of request->language.
bool LookupMessage(MessageRequest* request);

// The flag bits 0..1 of message `id` in the block of `language`, or -1 when absent.
int32_t MessageFlagBits(uint32_t id, int32_t language);

}  // namespace tq
