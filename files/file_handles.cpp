// The file-handle functions over the HandleTable and the streams of files and shared zones.
#include "files/file_handles.h"
#include "files/reference_text.h"

#include <sys/uio.h>
#include <unistd.h>

#include <cstring>

#include "frame/call_context.h"
#include "frame/error_state.h"
#include "frame/raise_error.h"
#include "frame/vm_string.h"
#include "platform/file_types.h"
#include "platform/last_error.h"

namespace tq {
namespace {

constexpr uint32_t kErrorTableFull = 80021;
constexpr uint32_t kErrorInvalidHandle = 80022;
constexpr uint32_t kErrorInvalidOrigin = 80023;
constexpr uint32_t kErrorNoStream = 80041;
constexpr uint32_t kErrorUnconvertedPath = 80067;
constexpr uint32_t kErrorInvalidName = 80600;
constexpr size_t kReadAhead = 64 * 1024;
constexpr size_t kZoneReadAhead = 512;  // dropped after each line: kept small

// The stream's error state becomes the call's, at level 2.
void AdoptStreamError(ComponentProxy* proxy, CXError* streamErrors) {
  CXError* call = ErrorStateOf(proxy);
  if (streamErrors != nullptr) call->table->assignFrom(call, streamErrors);
  call->level = 2;
}

TextFileHandle* HandleOrRaise(ComponentProxy* proxy, int32_t handle) {
  TextFileHandle* file = FindTextFile(handle);
  if (file == nullptr) {
    RaiseError(proxy, kErrorInvalidHandle, {handle});
    ErrorStateOf(proxy)->level = 2;
  }
  return file;
}

// One write of the line and its end, so that a zone's readers are notified once per whole line.
bool WriteWithLineEnd(ComponentProxy* proxy, TextFileHandle* file, std::string_view bytes) {
  static constexpr char kUnicodeEnd[] = {'\r', 0, '\n', 0};
  const std::string_view end = file->unicode() ? std::string_view(kUnicodeEnd, 4) : "\r\n";
  std::string line;
  line.reserve(bytes.size() + end.size());
  line.append(bytes).append(end);
  if (!file->Synchronise() ||
      !file->stream().Write(line.data(), static_cast<uint32_t>(line.size()), nullptr)) {
    AdoptStreamError(proxy, file->streamErrors());
    return false;
  }
  return true;
}

// The first unit from `i` up to `end` (units counted from `base`) that is a CR, or a zero unit
// when `zeroEnds`; `end` when there is none. CRs are looked for with memchr, the hot path of
// reading a file.
size_t NextStop(const char* data, size_t i, size_t end, size_t base, size_t unit, bool zeroEnds) {
  if (zeroEnds) {
    for (; i < end; i += unit) {
      if ((data[i] == '\r' || data[i] == 0) && (unit == 1 || data[i + 1] == 0)) return i;
    }
    return end;
  }
  while (i < end) {
    const void* hit = std::memchr(data + i, '\r', end - i);
    if (hit == nullptr) return end;
    const auto at = static_cast<size_t>(static_cast<const char*>(hit) - data);
    if ((at - base) % unit == 0 && (unit == 1 || data[at + 1] == 0)) return at;
    i = at + 1;  // a byte inside a unit, or a CR with a high byte
  }
  return end;
}

}  // namespace

TextFileHandle::TextFileHandle(IXStream* stream, CXError* streamErrors, bool pathWasVMString,
                               int32_t kind)
    : stream_(stream),
      streamErrors_(streamErrors),
      pathWasVMString_(pathWasVMString),
      kind_(kind) {}

TextFileHandle::~TextFileHandle() {
  stream_->Close();
  stream_->Release();
}

// A file reports itself; a zone reports its stream with the zone's size.
void TextFileHandle::Report(VMObject* callback) {
  if (callback == nullptr) return;
  if (kind_ == kZoneHandleKind) {
    CallSlot<int32_t>(callback, 2, static_cast<void*>(stream_), 18,
                      static_cast<int32_t>(stream_->GetSize()), 0);
  } else {
    CallSlot<int32_t>(callback, 2, static_cast<void*>(this), 17, 522, 0);
  }
}

bool TextFileHandle::Synchronise() {
  if (consumed_ >= ahead_.size()) {
    ahead_.clear();
    consumed_ = 0;
    return true;
  }
  const int64_t logical = stream_->GetPosition() - static_cast<int64_t>(ahead_.size() - consumed_);
  ahead_.clear();
  consumed_ = 0;
  return stream_->Seek(logical, 0) != 0;
}

std::optional<std::string> TextFileHandle::ReadLineBytes(bool* failed) {
  if (kind_ != kZoneHandleKind) return ScanLine(failed, nullptr);
  // Another process may write into a zone at any time: nothing is kept ahead between two
  // calls, and a line not ended yet (its writer may be copying it) is left for the next call.
  *failed = !Synchronise();
  if (*failed) return std::nullopt;
  const int64_t start = stream_->GetPosition();
  bool unfinished = false;
  std::optional<std::string> line = ScanLine(failed, &unfinished);
  if (*failed) return std::nullopt;
  if (unfinished) {
    ahead_.clear();
    consumed_ = 0;
    *failed = !stream_->Seek(start, 0);
    return std::nullopt;
  }
  *failed = !Synchronise();
  return line;
}

std::optional<std::string> TextFileHandle::ScanLine(bool* failed, bool* unfinished) {
  *failed = false;
  const size_t unit = unicode_ ? 2 : 1;
  const bool zeroEnds = unfinished != nullptr;
  std::string line;
  bool any = false;  // whether some byte belongs to this line
  for (;;) {
    const char* data = ahead_.data();
    const size_t end = ahead_.size() - (ahead_.size() - consumed_) % unit;  // whole units
    size_t i = consumed_;
    for (; (i = NextStop(data, i, end, consumed_, unit, zeroEnds)) < end; i += unit) {
      if (data[i] == 0) {  // the end of what has been written into a zone
        *unfinished = any || i > consumed_;
        return std::nullopt;
      }
      if (i + 2 * unit > end) break;  // a CR: the LF may come with the next read
      if (data[i + unit] == '\n' && (unit == 1 || data[i + unit + 1] == 0)) {
        line.append(data + consumed_, i - consumed_);
        consumed_ = i + 2 * unit;
        return line;
      }
    }
    // No line end in the buffer: keep back what may begin one (a CR, an odd byte).
    if (i > consumed_) any = true;
    line.append(ahead_.data() + consumed_, i - consumed_);
    ahead_.erase(ahead_.begin(), ahead_.begin() + static_cast<ptrdiff_t>(i));
    consumed_ = 0;
    if (!ahead_.empty()) any = true;
    const size_t chunk = zeroEnds ? kZoneReadAhead : kReadAhead;
    const size_t had = ahead_.size();
    ahead_.resize(had + chunk);
    uint32_t got = 0;
    if (!stream_->Read(ahead_.data() + had, static_cast<uint32_t>(chunk), &got)) {
      ahead_.resize(had);
      *failed = true;
      return std::nullopt;
    }
    ahead_.resize(had + got);
    if (got == 0) {
      if (!any) return std::nullopt;  // nothing left: the end of the file
      // The last line ends with the file (an odd byte of a Unicode file is dropped).
      line.append(ahead_.data(), ahead_.size() - ahead_.size() % unit);
      ahead_.clear();
      return line;
    }
  }
}

TextFileHandle* FindTextFile(int32_t handle) {
  if (handle < 2) return nullptr;
  HandleCell* cell = Handles().Find(handle);
  if (cell == nullptr || (cell->kind != kFileHandleKind && cell->kind != kZoneHandleKind)) {
    return nullptr;
  }
  return dynamic_cast<TextFileHandle*>(cell->object);
}

int32_t OpenTextFile(ComponentProxy* proxy, const std::optional<std::u16string>& path,
                     bool pathWasVMString, int32_t mode, int32_t stringMode) {
  const std::u16string shown = path.value_or(u"");
  if (!path) {
    RaiseError(proxy, kErrorUnconvertedPath, {shown});
    return -1;
  }
  if (path->empty() || (path->front() != u'\\' && path->front() != u'/' && path->back() != u':')) {
    RaiseError(proxy, kErrorInvalidName, {shown});
    return -1;
  }
  auto* stream = new (std::nothrow) FileStream(new CXError());
  if (stream == nullptr) {
    RaiseError(proxy, kErrorNoStream);
    return -1;
  }
  // The stream holds the only reference to its own error state.
  uint32_t access = ce::GENERIC_WRITE;
  if (mode == 0 || mode == 4096 || mode == 8192 || (mode & filemode::kReadWrite) != 0) {
    access = ce::GENERIC_READ | ce::GENERIC_WRITE;
  } else if ((mode & filemode::kRead) != 0) {
    access = ce::GENERIC_READ;
  }
  const uint32_t creation = (mode & filemode::kOpenAlways) != 0     ? ce::OPEN_ALWAYS
                            : (mode & filemode::kCreateAlways) != 0 ? ce::CREATE_ALWAYS
                                                                     : ce::OPEN_EXISTING;
  const uint32_t hint = (mode & filemode::kSequential) != 0 ? ce::FILE_FLAG_SEQUENTIAL_SCAN
                                                             : ce::FILE_FLAG_RANDOM_ACCESS;
  const uint32_t share = ce::FILE_SHARE_READ | ce::FILE_SHARE_WRITE;
  bool created = false;
  int32_t opened = stream->Open(*path, access, share, creation, hint, &created);
  if (!opened && (mode & filemode::kReadWrite) != 0) {
    opened = stream->Open(*path, ce::GENERIC_WRITE, share, creation, hint, &created);
  }
  if (!opened) {
    AdoptStreamError(proxy, stream->errorState());
    stream->Release();
    return -1;
  }
  if ((mode & filemode::kAppend) != 0) stream->Seek(0, ce::FILE_END);
  auto* file = new TextFileHandle(stream, pathWasVMString);
  const intptr_t handle = Handles().Add(0, file);
  if (handle < 0 || handle > INT32_MAX) {
    if (handle >= 0) Handles().Remove(handle);
    else delete file;
    RaiseError(proxy, kErrorTableFull);
    return -1;
  }
  const bool unicode = (mode & filemode::kUnicode) != 0 ||
                       (stringMode != 1 && stringMode != 2 && (mode & filemode::kAnsi) == 0);
  file->setUnicode(unicode);
  if ((mode & filemode::kUnicode) != 0) {
    const bool fresh = (mode & filemode::kCreateAlways) != 0 && (mode & filemode::kOpenAlways) == 0;
    if (!fresh && !created) {
      if ((mode & filemode::kAppend) == 0) {
        uint8_t mark[2] = {0, 0};
        uint32_t got = 0;
        if (stream->Read(mark, 2, &got) && got == 2 && mark[0] == 0xFF && mark[1] == 0xFE) {
          uint8_t next[2] = {1, 1};
          got = 0;
          if (stream->Read(next, 2, &got) && !(got == 2 && next[0] == 0 && next[1] == 0)) {
            stream->Seek(2, ce::FILE_BEGIN);
          }
        } else {
          stream->Seek(0, ce::FILE_BEGIN);
        }
      }
    } else {
      static constexpr uint8_t kMark[2] = {0xFF, 0xFE};
      if (!stream->Write(kMark, 2, nullptr)) {
        AdoptStreamError(proxy, stream->errorState());
        Handles().Remove(handle);
        return -1;
      }
    }
  }
  return static_cast<int32_t>(handle);
}

int32_t CloseTextFile(ComponentProxy* proxy, int32_t handle) {
  if (HandleOrRaise(proxy, handle) == nullptr) return -1;
  Handles().Remove(handle);
  return 0;
}

std::u16string ReadTextLine(ComponentProxy* proxy, int32_t handle) {
  TextFileHandle* file = FindTextFile(handle);
  if (file == nullptr) {
    RaiseError(proxy, kErrorInvalidHandle, {handle});
    return {};
  }
  bool failed = false;
  const std::optional<std::string> bytes = file->ReadLineBytes(&failed);
  if (failed) {
    AdoptStreamError(proxy, file->streamErrors());
    return {};
  }
  if (!bytes) return std::u16string(1, kEndOfFileMark);
  if (!file->unicode()) return AnsiText(*bytes);
  std::u16string text(bytes->size() / 2, u'\0');
  std::memcpy(text.data(), bytes->data(), text.size() * 2);
  return text;
}

bool WriteTextLine(ComponentProxy* proxy, int32_t handle, std::u16string_view text, int64_t limit) {
  TextFileHandle* file = HandleOrRaise(proxy, handle);
  if (file == nullptr) return false;
  std::string bytes = file->unicode()
                          ? std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)
                          : AnsiBytes(text);
  if (limit >= 0 && static_cast<uint64_t>(limit) < bytes.size()) bytes.resize(static_cast<size_t>(limit));
  return WriteWithLineEnd(proxy, file, bytes);
}

bool WriteRawLine(ComponentProxy* proxy, int32_t handle, std::string_view bytes) {
  TextFileHandle* file = HandleOrRaise(proxy, handle);
  if (file == nullptr) return false;
  return WriteWithLineEnd(proxy, file, bytes);
}

bool WriteMemoryLine(ComponentProxy* proxy, int32_t handle, uintptr_t address, int32_t size) {
  TextFileHandle* file = HandleOrRaise(proxy, handle);
  if (file == nullptr) return false;
  std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (!bytes.empty()) {
    const iovec local{bytes.data(), bytes.size()};
    const iovec remote{reinterpret_cast<void*>(address), bytes.size()};
    if (process_vm_readv(getpid(), &local, 1, &remote, 1, 0) != static_cast<ssize_t>(bytes.size())) {
      RecordSystemError(ErrorStateOf(proxy), ce::ERROR_NOACCESS);
      ErrorStateOf(proxy)->level = 2;
      return false;
    }
  }
  return WriteWithLineEnd(proxy, file, bytes);
}

int64_t SeekTextFile(ComponentProxy* proxy, int32_t handle, int64_t offset, int32_t origin) {
  TextFileHandle* file = FindTextFile(handle);
  if (file == nullptr) {
    RaiseError(proxy, kErrorInvalidHandle, {handle});
    return -1;
  }
  if (origin < 0 || origin > 2) {
    RaiseError(proxy, kErrorInvalidOrigin);
    return -1;
  }
  if (!file->Synchronise() || !file->stream().Seek(offset, static_cast<uint32_t>(origin))) {
    AdoptStreamError(proxy, file->streamErrors());
    return -1;
  }
  return file->stream().GetPosition();
}

}  // namespace tq
