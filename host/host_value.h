// The VM stand-in's values: what arguments are built from and what results are read back
// into, with their VM type code, and their rendering as plain text and JSON.
//
// VM layouts used by the stand-in (the VM's business, documented here once):
// - currency (type 10): 10-byte little-endian two's-complement integer of ten-thousandths;
// - date (24): UTF-16 "YYYYMMDD"; time (25): UTF-16 "HHMMSSmmm";
// - date-time (26): 64-bit integer whose decimal digits are YYYYMMDDHHMMSSmmm;
// - duration (27): 64-bit signed milliseconds;
// - array (140): a pointer-sized word holding the VM array object;
// - 8-bit text (19): a pointer-sized word holding a pointer to zero-terminated code page 1252
//   bytes;
// - control reference (57): a pointer-sized word holding a pointer to the control's name
//   (zero-terminated UTF-16), which the VM's control lookup resolves (frame/vm_controls.h);
// - procedure (67): a pointer-sized word holding the VM procedure object (frame/vm_procedure.h);
// - the duration that SharedZoneWait declares (0x150084): as 27, 64-bit milliseconds;
// - the VM's text object (110): a 4-byte handle of a text that the VM keeps for the run;
// - identifier (154): 16 bytes; random buffer (155): 32 bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tqhost {

enum class ValueKind {
  kNone,       // no result
  kText,       // UTF-16 text
  kNullText,   // a null text pointer
  kInteger,    // 4-byte integer
  kInteger64,  // 8-byte integer
  kReal,
  kBoolean,
  kCurrency,   // `integer` holds ten-thousandths (fits 64 bits for what we render)
  kBuffer,     // `bytes`
  kDate,       // `text` YYYYMMDD
  kTime,       // `text` HHMMSSmmm
  kDateTime,   // `text` YYYYMMDDHHMMSSmmm
  kDuration,   // `integer` milliseconds
  kArray,      // `elements`
  kAnsiText,   // `bytes`: code page 1252 text
  kProcedure,  // `text`: the procedure's name
  kControl,    // `text`: the name of the control referred to
};

struct HostValue {
  ValueKind kind = ValueKind::kNone;
  uint32_t typeCode = 0;  // the VM type code (SetResult's code for results)
  uint32_t valueType = 0;  // for a dynamic value (code 31): the type it holds
  std::u16string text;
  int64_t integer = 0;
  double real = 0;
  std::string bytes;
  std::vector<HostValue> elements;

  static HostValue Text(std::u16string t, uint32_t code = 122);
  static HostValue Integer(int32_t n, uint32_t code = 8);
  static HostValue Integer64(int64_t n, uint32_t code = 9);
  static HostValue Real(double x, uint32_t code = 12);
  static HostValue Boolean(bool b, uint32_t code = 1);
};

// Plain rendering: texts as UTF-8, numbers in decimal, reals shortest exact, booleans
// true/false, buffers lower-case hex, currency decimal text, dates as digits.
std::string RenderPlain(const HostValue& value);
// JSON rendering of `value` (the "value" field of a result).
std::string RenderJson(const HostValue& value);

// Shortest decimal text that reads back to exactly `x`.
std::string ShortestReal(double x);

// Currency text <-> ten-thousandths.
std::optional<int64_t> ParseCurrency(std::string_view text);
std::string CurrencyText(int64_t tenThousandths);

// Hexadecimal bytes ("0102ff") <-> bytes.
std::optional<std::string> ParseHex(std::string_view text);
std::string HexText(std::string_view bytes);

// Code page 1252 bytes <-> UTF-16 (characters outside the page become '?').
std::u16string DecodeAnsi(std::string_view bytes);
std::string EncodeAnsi(std::u16string_view text);

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace tqhost
