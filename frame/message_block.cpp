// Message blocks: index building by a walk over the records, binary search by id.
#include "frame/message_block.h"

namespace tq {
namespace {

uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

int32_t CompareMessageId(uint32_t requestedId, const uint8_t* record) {
  return static_cast<int32_t>(requestedId) - static_cast<int32_t>(ReadU16(record + 2));
}

// A record holds together when its header fits and its packed text lies inside it.
bool RecordIsSound(const uint8_t* record, size_t room) {
  if (room < kMessageRecordHeader) return false;
  const size_t length = ReadU16(record);
  return length >= kMessageRecordHeader && length <= room &&
         kMessageRecordHeader + ReadU16(record + 5) <= length;
}

}  // namespace

MessageBlock::MessageBlock(const uint8_t* data, size_t size)
    : data_(data), size_(data == nullptr ? 0 : size), compare_(CompareMessageId) {}

void MessageBlock::BuildIndex() {
  std::call_once(indexed_, [this] {
    size_t offset = 0;
    count_ = 0;
    while (count_ < kMaxMessageRecords && size_ - offset >= 2) {
      const uint8_t* record = data_ + offset;
      if (ReadU16(record) == 0 || !RecordIsSound(record, size_ - offset)) break;
      offsets_[count_++] = static_cast<uint32_t>(offset);
      offset += ReadU16(record);
    }
  });
}

const uint8_t* MessageBlock::Search(uint32_t id) {
  BuildIndex();
  // The marker (record 0) is not searched.
  size_t low = 1;
  size_t high = count_;
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    const uint8_t* record = data_ + offsets_[middle];
    const int32_t order = compare_(id, record);
    if (order == 0) return record;
    if (order < 0) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return nullptr;
}

bool MessageBlock::Find(MessageRequest* request) {
  const uint8_t* record = Search(request->id);
  if (record == nullptr) return false;
  const uint8_t flags = record[4];
  request->packed = record + kMessageRecordHeader;
  request->packedLength = ReadU16(record + 5);
  request->encoding = (flags & kMessageFlagUtf16) ? kMessageEncodingUtf16 : kMessageEncodingUtf8;
  request->flags = flags & kMessageFlagBits;
  return true;
}

int32_t MessageBlock::FlagBits(uint32_t id) {
  const uint8_t* record = Search(id);
  return record == nullptr ? -1 : record[4] & kMessageFlagBits;
}

size_t MessageBlock::RecordCount() {
  BuildIndex();
  return count_;
}

const uint8_t* MessageBlock::Record(size_t index) {
  BuildIndex();
  return index < count_ ? data_ + offsets_[index] : nullptr;
}

MessageBlock& MessageBlockForLanguage(int32_t language) {
  static MessageBlock french(kMessageBlockFrench);
  static MessageBlock english(kMessageBlockEnglish);
  static MessageBlock spanish(kMessageBlockSpanish);
  switch (language) {
    case kLanguageFrench:
      return french;
    case kLanguageSpanish:
      return spanish;
    default:
      return english;
  }
}

bool LookupMessage(MessageRequest* request) {
  return MessageBlockForLanguage(request->language).Find(request);
}

int32_t MessageFlagBits(uint32_t id, int32_t language) {
  return MessageBlockForLanguage(language).FlagBits(id);
}

}  // namespace tq
