// Unpacking of packed message texts: the decoder state machine described in
// message_unpacker.h, with bounds checks on every read and write.
#include "frame/message_unpacker.h"

#include "frame/message_symbols.h"

namespace tq {
namespace {

constexpr int kNoShift = -1;
constexpr unsigned kDigitBase = 40;
constexpr unsigned kFirstLock = 4;
constexpr unsigned kFirstSymbol = 8;
constexpr unsigned kLiteralEscape = 38;  // 39 is the counted escape

// Output side: stores below capacity - 1, counts everything.
class Sink {
 public:
  Sink(uint8_t* out, size_t capacity) : out_(out), capacity_(capacity) {}
  void Put(uint8_t byte) {
    if (capacity_ > 0 && count_ < capacity_ - 1) out_[count_] = byte;
    ++count_;
  }
  void Terminate() {
    if (capacity_ > 0) out_[count_ < capacity_ - 1 ? count_ : capacity_ - 1] = 0;
  }
  size_t count() const { return count_; }
  bool cut() const { return capacity_ == 0 ? count_ > 0 : count_ > capacity_ - 1; }

 private:
  uint8_t* out_;
  size_t capacity_;
  size_t count_ = 0;
};

enum class Step { kNext, kEscapeLiteral, kEscapeRun };

// The digit decoder: shift and lock state, symbol output.
class Decoder {
 public:
  explicit Decoder(Sink& sink) : sink_(sink) {}

  Step Decode(unsigned digit) {
    const int table = shift_ != kNoShift ? shift_ : locked_;
    if (digit < kFirstLock) {
      shift_ = static_cast<int>(digit);
    } else if (digit < kFirstSymbol) {
      locked_ = static_cast<int>(digit - kFirstLock);
      shift_ = kNoShift;
    } else if (digit < kDigitBase) {
      shift_ = kNoShift;
      if (table == static_cast<int>(kEscapeTable) && digit >= kLiteralEscape)
        return digit == kLiteralEscape ? Step::kEscapeLiteral : Step::kEscapeRun;
      sink_.Put(kMessageSymbolTables[table][digit - kFirstSymbol]);
    }
    return Step::kNext;
  }

 private:
  Sink& sink_;
  int locked_ = 0;
  int shift_ = kNoShift;
};

}  // namespace

int UnpackMessageText(const uint8_t* packed, size_t packedLength, uint8_t* out, size_t capacity,
                      size_t* produced) {
  Sink sink(out, capacity);
  Decoder decoder(sink);
  int result = kUnpackComplete;
  size_t pos = 0;
  if (packed == nullptr) packedLength = 0;

  while (result == kUnpackComplete && packedLength - pos >= 2) {
    const unsigned a = packed[pos];
    const unsigned b = packed[pos + 1];
    if (a == 0 || b == 0) {
      result = kUnpackZeroByte;
      break;
    }
    const unsigned v = a * 255 + b - 256;
    const unsigned digits[3] = {v / (kDigitBase * kDigitBase), v / kDigitBase % kDigitBase,
                                v % kDigitBase};
    Step step = Step::kNext;
    for (unsigned digit : digits) {
      step = decoder.Decode(digit);
      if (step != Step::kNext) break;
    }
    if (step == Step::kNext) {
      pos += 2;
    } else if (step == Step::kEscapeLiteral) {
      if (packedLength - pos < 3) {
        result = kUnpackEscapePastEnd;
        break;
      }
      sink.Put(packed[pos + 2]);
      pos += 3;
    } else {
      if (packedLength - pos < 3 || packedLength - pos - 3 < packed[pos + 2]) {
        result = kUnpackEscapePastEnd;
        break;
      }
      const size_t count = packed[pos + 2];
      for (size_t i = 0; i < count; ++i) sink.Put(packed[pos + 3 + i]);
      pos += 3 + count;
    }
  }

  if (result == kUnpackComplete && packedLength - pos == 1) {
    const unsigned digit = (packed[pos] + 255u) % 256u;
    if (decoder.Decode(digit) != Step::kNext) result = kUnpackEscapePastEnd;
  }

  sink.Terminate();
  if (produced != nullptr) *produced = sink.count();
  if (result == kUnpackComplete && sink.cut()) result = kUnpackCut;
  return result;
}

}  // namespace tq
