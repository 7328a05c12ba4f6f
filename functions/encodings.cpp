// Implementation entries of the random identifiers and byte encodings: NewUuid, RandomBuffer,
// GetGuid, BufferToHex, HexToBuffer, BufferToInteger, BufferToReal, UrlEncode and UrlDecode.
//
// 8-bit text (type code 19) crosses the border as a word holding a pointer to zero-terminated
// code page text, in both directions; the identifier results (154, 155) as a pointer to their
// 16 or 32 bytes.
#include <span>
#include <string>
#include <vector>

#include "frame/call_context.h"
#include "frame/library_state.h"
#include "frame/raise_error.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "numtext/buffer_numbers.h"
#include "numtext/hex_text.h"
#include "numtext/random_identifiers.h"
#include "numtext/url_encoding.h"
#include "services/vm_buffer.h"

namespace tq::entries {
namespace {

constexpr uint32_t kIdentifierTypeCode = 154;
constexpr uint32_t kRandomBufferTypeCode = 155;
constexpr uint32_t kAnsiTextTypeCode = 19;
constexpr uint32_t kErrorBadParameter = 80700;
constexpr uint32_t kErrorNotHexadecimal = 81833;
constexpr uint32_t kErrorNegativeOffset = 81837;
constexpr uint32_t kErrorBeyondBuffer = 81838;
constexpr uint32_t kErrorOutOfMemory = 80041;
constexpr int kTextServicesCodePageOf = 3;

std::span<const uint8_t> BufferArgument(void** args, int i) {
  return BufferBytes(*static_cast<const VMString*>(args[i]));
}

std::u16string_view TextOrEmpty(void** args, int i) {
  const char16_t* text = TextArgument(args, i);
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

std::string_view AnsiTextArgument(void** args, int i) {
  const char* text = *static_cast<const char* const*>(args[i]);
  return text != nullptr ? std::string_view(text) : std::string_view();
}

// The VM's code page for 8-bit text, asked of its text services (1252 when it has none).
uint32_t VMCodePage(std::string_view sample) {
  VMObject* services = TextServices();
  if (services == nullptr) return 1252;
  const int32_t page = CallSlot<int32_t>(services, kTextServicesCodePageOf, sample.data(),
                                         static_cast<int32_t>(sample.size()));
  return page > 0 ? static_cast<uint32_t>(page) : 1252;
}

int32_t HexEntry(CallContext* c, ComponentProxy* p, void** args, int32_t grouping,
                 int32_t lineWidth) {
  std::u16string text;
  if (BufferToHex(BufferArgument(args, 0), grouping, lineWidth, text) != HexStatus::kOk)
    RaiseError(p, kErrorBadParameter);
  return SetTextResult(c, text, typecode::kText126);
}

int32_t BufferEntry(CallContext* c, ComponentProxy* p, void** args, int32_t grouping,
                    int32_t options) {
  std::vector<uint8_t> bytes;
  std::u16string badGroup;
  const HexStatus status = HexToBuffer(TextOrEmpty(args, 0), grouping, options, bytes, &badGroup);
  LocalString result;
  if (status == HexStatus::kBadGrouping) {
    RaiseError(p, kErrorBadParameter);
  } else if (status == HexStatus::kNotHexadecimal) {
    RaiseError(p, kErrorNotHexadecimal, {badGroup});
  } else if (uint8_t* out = NewBuffer(result.get(), bytes.size()); out == nullptr) {
    RaiseError(p, kErrorOutOfMemory);
  } else if (!bytes.empty()) {
    std::copy(bytes.begin(), bytes.end(), out);
  }
  SetResult(c, result.address(), kBufferTypeCode);
  return 0;
}

template <typename Number>
Number CheckedRead(ComponentProxy* p, const BufferRead<Number>& read, int32_t size) {
  switch (read.status) {
    case BufferReadStatus::kNegativeOffset: RaiseError(p, kErrorNegativeOffset); break;
    case BufferReadStatus::kBadSize: RaiseError(p, kErrorBadParameter, {size}); break;
    case BufferReadStatus::kBeyondEnd: RaiseError(p, kErrorBeyondBuffer); break;
    case BufferReadStatus::kOk: break;
  }
  return read.value;
}

int32_t IntegerEntry(CallContext* c, ComponentProxy* p, void** args, int32_t offset,
                     int32_t size) {
  const int64_t value = CheckedRead(p, ReadBufferInteger(BufferArgument(args, 0), offset, size), size);
  SetResult(c, &value, typecode::kInteger64);
  return 0;
}

int32_t RealEntry(CallContext* c, ComponentProxy* p, void** args, int32_t offset, int32_t size) {
  const double value = CheckedRead(p, ReadBufferReal(BufferArgument(args, 0), offset, size), size);
  SetResult(c, &value, typecode::kReal);
  return 0;
}

int32_t UrlEncodeEntry(CallContext* c, void** args, int32_t encoding) {
  const std::string_view text = AnsiTextArgument(args, 0);
  return SetTextResult(c, UrlEncode(text, encoding, VMCodePage(text)), typecode::kText);
}

int32_t UrlDecodeEntry(CallContext* c, void** args, int32_t encoding) {
  const std::string bytes = UrlDecode(TextOrEmpty(args, 0), encoding, VMCodePage({}));
  const char* text = bytes.c_str();
  SetResult(c, &text, kAnsiTextTypeCode);
  return 0;
}

}  // namespace

TQ_ENTRY(NewUuid_Unit) {
  const Uuid id = NewUuid();
  SetResult(context, id.data(), kIdentifierTypeCode);
  return 0;
}

TQ_ENTRY(RandomBuffer_Unit) {
  const std::array<uint8_t, 32> bytes = RandomBuffer();
  SetResult(context, bytes.data(), kRandomBufferTypeCode);
  return 0;
}

TQ_ENTRY(GetGuid_Default) { return SetTextResult(context, GuidText(1), typecode::kText); }
TQ_ENTRY(GetGuid_Format) {
  return SetTextResult(context, GuidText(IntegerArgument(args, 0)), typecode::kText);
}

TQ_ENTRY(BufferToHex_Buffer) { return HexEntry(context, proxy, args, 1, 16); }
TQ_ENTRY(BufferToHex_Grouping) {
  return HexEntry(context, proxy, args, IntegerArgument(args, 1), 16);
}
TQ_ENTRY(BufferToHex_LineWidth) {
  return HexEntry(context, proxy, args, IntegerArgument(args, 1), IntegerArgument(args, 2));
}

TQ_ENTRY(HexToBuffer_Text) { return BufferEntry(context, proxy, args, 1, 0); }
TQ_ENTRY(HexToBuffer_Grouping) {
  return BufferEntry(context, proxy, args, IntegerArgument(args, 1), 0);
}
TQ_ENTRY(HexToBuffer_Options) {
  return BufferEntry(context, proxy, args, IntegerArgument(args, 1), IntegerArgument(args, 2));
}

TQ_ENTRY(BufferToInteger_Size) {
  return IntegerEntry(context, proxy, args, IntegerArgument(args, 1), IntegerArgument(args, 2));
}
TQ_ENTRY(BufferToInteger_Buffer) {
  return IntegerEntry(context, proxy, args, 0, kBufferReadDefaultSize);
}
TQ_ENTRY(BufferToInteger_Offset) {
  return IntegerEntry(context, proxy, args, IntegerArgument(args, 1), kBufferReadDefaultSize);
}

TQ_ENTRY(BufferToReal_Size) {
  return RealEntry(context, proxy, args, IntegerArgument(args, 1), IntegerArgument(args, 2));
}
TQ_ENTRY(BufferToReal_Offset) {
  return RealEntry(context, proxy, args, IntegerArgument(args, 1), kBufferReadDefaultSize);
}
TQ_ENTRY(BufferToReal_Buffer) { return RealEntry(context, proxy, args, 0, kBufferReadDefaultSize); }

TQ_ENTRY(UrlEncode_Text) { return UrlEncodeEntry(context, args, kUrlDefaultEncoding); }
TQ_ENTRY(UrlEncode_Encoding) { return UrlEncodeEntry(context, args, IntegerArgument(args, 1)); }

TQ_ENTRY(UrlDecode_Text) { return UrlDecodeEntry(context, args, kUrlDefaultEncoding); }
TQ_ENTRY(UrlDecode_Encoding) { return UrlDecodeEntry(context, args, IntegerArgument(args, 1)); }

}  // namespace tq::entries
