// File handles: integer indexes into the library's HandleTable designating open text files,
// read and written line by line (FileOpen, FileCreate, FileReadLine, FileWriteLine, FileSeek,
// FileClose), and the C++ API that other families use to read lines through the same handles.
// A handle reads and writes any stream: a file (kind 0) or a shared zone (kind 1, opened by
// SharedZoneOpen), so the line functions work on a zone's index as on a file's.
//
// Invariants: a valid handle is 2 or more and designates a kind-0 or kind-1 entry in use;
// every function refuses any other number with error 80022. A line ends only at CR LF (0D 0A,
// or 0D 00 0A 00 in a Unicode file); a CR or LF alone stays in the text. The end of the file
// reads as the one-character text U+0004. A zone's text also ends at its first zero unit (the
// part nobody has written yet): a line is read once its CR LF is there (or it ends with the
// zone); before that the read gives U+0004 and the position stays at the line's start, so the
// lines that another process writes later are read next. Lines are read through a read-ahead buffer
// of the handle; any other operation on the handle first moves the stream back to the logical
// position, so the position seen by the application is always just behind the last line read.
// A zone keeps nothing read ahead between two calls, since other processes change it. Stream
// failures become the call's error state with level 2.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/stream.h"
#include "frame/handle_table.h"

namespace tq {

struct ComponentProxy;

// Open mode bits.
namespace filemode {
inline constexpr int32_t kRead = 0x1;
inline constexpr int32_t kReadWrite = 0x2;
inline constexpr int32_t kOpenAlways = 0x100;
inline constexpr int32_t kCreateAlways = 0x200;
inline constexpr int32_t kSequential = 0x400;
inline constexpr int32_t kAppend = 0x800;
inline constexpr int32_t kUnicode = 0x1000;
inline constexpr int32_t kAnsi = 0x2000;
}  // namespace filemode

inline constexpr char16_t kEndOfFileMark = u'\u0004';

// HandleTable kinds of the handles.
inline constexpr int32_t kFileHandleKind = 0;
inline constexpr int32_t kZoneHandleKind = 1;

class TextFileHandle final : public HandleObject {
 public:
  // Takes the caller's reference on `stream`, closed and released with the handle; the
  // stream reports its failures into `streamErrors`.
  TextFileHandle(IXStream* stream, CXError* streamErrors, bool pathWasVMString, int32_t kind);
  TextFileHandle(FileStream* stream, bool pathWasVMString)
      : TextFileHandle(stream, stream->errorState(), pathWasVMString, kFileHandleKind) {}
  ~TextFileHandle() override;
  TextFileHandle(const TextFileHandle&) = delete;
  TextFileHandle& operator=(const TextFileHandle&) = delete;
  void Report(VMObject* callback) override;

  IXStream& stream() { return *stream_; }
  CXError* streamErrors() const { return streamErrors_; }
  int32_t kind() const { return kind_; }
  // The file behind the handle; null for a zone (functions that need a real file, its name
  // or its size on disk, refuse a zone's index as a bad handle).
  FileStream* fileStream() { return dynamic_cast<FileStream*>(stream_); }
  bool unicode() const { return unicode_; }
  void setUnicode(bool unicode) { unicode_ = unicode; }
  bool pathWasVMString() const { return pathWasVMString_; }

  // The next line's bytes without the line end; nullopt at the end of the file; false in
  // `*failed` when the stream failed (its error state says why).
  std::optional<std::string> ReadLineBytes(bool* failed);
  // Puts the stream back at the logical position (before writes, seeks and closes).
  bool Synchronise();

 private:
  // The next line; with `unfinished`, the text also ends at a zero unit, and a line that
  // reaches one before its CR LF sets `*unfinished` (nullopt is returned).
  std::optional<std::string> ScanLine(bool* failed, bool* unfinished);

  IXStream* stream_;
  CXError* streamErrors_;
  bool unicode_ = false;
  bool pathWasVMString_;
  int32_t kind_;
  std::vector<char> ahead_;  // bytes read from the stream but not yet consumed
  size_t consumed_ = 0;
};

// FileOpen / FileCreate: the handle, or -1 with the error raised.
int32_t OpenTextFile(ComponentProxy* proxy, const std::optional<std::u16string>& path,
                     bool pathWasVMString, int32_t mode, int32_t stringMode);
// FileClose: 0, or -1 with error 80022.
int32_t CloseTextFile(ComponentProxy* proxy, int32_t handle);
// FileReadLine: the line, U+0004 at the end of the file, empty after an error.
std::u16string ReadTextLine(ComponentProxy* proxy, int32_t handle);
// FileWriteLine with text (converted to the file's encoding, cut to `limit` bytes when
// limit >= 0) or raw bytes; true when both writes succeeded.
bool WriteTextLine(ComponentProxy* proxy, int32_t handle, std::u16string_view text, int64_t limit);
bool WriteRawLine(ComponentProxy* proxy, int32_t handle, std::string_view bytes);
// FileWriteLine with (address, size): the bytes at a memory address the application gives.
// The memory is read through the kernel, so an address that is not readable fails with the
// system code 998 (invalid access) instead of crashing.
bool WriteMemoryLine(ComponentProxy* proxy, int32_t handle, uintptr_t address, int32_t size);
// FileSeek: the new position, or -1.
int64_t SeekTextFile(ComponentProxy* proxy, int32_t handle, int64_t offset, int32_t origin);

// For other families: the open text file or zone behind a handle, or null (no error raised).
TextFileHandle* FindTextFile(int32_t handle);

}  // namespace tq
