// Reading and checking a message source file (frame/messages/<language>.txt).
//
// Format: one message a line, ID[/fN][/u16]<TAB>TEXT. ID is decimal or 0x-hex (1..0xFFFF, not
// the block marker's 0x0101); /fN sets the flag bits 0..1 (N from 0 to 3); /u16 stores the text
// as UTF-16LE. TEXT is UTF-8 without control characters and may use the escapes \n, \r, \t and
// \\. Lines starting with # and blank lines are ignored; a UTF-8 byte order mark is skipped.
//
// Invariant: a MessageSource returned without errors holds unique ids and texts that are valid
// UTF-8 with their escapes resolved; every problem is reported as "file:line: what".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tq::tools {

struct SourceMessage {
  uint32_t id = 0;
  uint8_t flags = 0;   // bits 0..1
  bool utf16 = false;  // stored as UTF-16LE
  std::string text;    // UTF-8, escapes resolved
  int line = 0;
};

struct MessageSource {
  std::string path;
  std::vector<SourceMessage> messages;  // in file order
};

// Parses `content` read from `path`; problems are appended to `errors`.
MessageSource ParseMessageSource(const std::string& path, const std::string& content,
                                 std::vector<std::string>& errors);

// Checks that the sources of several languages agree: the same ids, and for each id the same
// insertion points (%1, %2!d! ...). Problems are appended to `errors`.
void CheckLanguagesAgree(const std::vector<MessageSource>& sources,
                         std::vector<std::string>& errors);

// The insertion points of a text, sorted: "%2!u!", "%1" ... ("%%" is not one).
std::vector<std::string> InsertionPoints(const std::string& text);

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(const std::string& bytes);

// The UTF-16LE bytes of valid UTF-8 text.
std::string Utf8ToUtf16Le(const std::string& utf8);

}  // namespace tq::tools
