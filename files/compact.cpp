// nfCompacte's worker: the container, the packability rule, the plain-copy fallback,
// progress and cancellation.
#include "files/compact.h"

#include <dlfcn.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "files/lh5_encoder.h"
#include "files/stream.h"
#include "frame/error_state.h"
#include "frame/text.h"
#include "platform/file_api.h"
#include "platform/last_error.h"
#include "platform/tick_count.h"

namespace tq {
namespace {

using namespace compact;

constexpr uint32_t kNameBytes = 260;
constexpr uint32_t kChunk = 8192;
constexpr uint32_t kProgressEveryMs = 500;
constexpr int64_t kTooLarge = int64_t{1} << 32;

struct StreamCloser {
  void operator()(FileStream* stream) const { stream->Release(); }
};
using StreamPtr = std::unique_ptr<FileStream, StreamCloser>;

StreamPtr NewStream() {
  return StreamPtr(new FileStream(new CXError()));
}

void PutWord(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Reads one chunk; a read refused because the file is locked (codes 5 and 33, or no code)
// takes the first byte as 'M' and reads the rest after skipping one byte of the file.
bool ReadChunk(FileStream& source, uint8_t* buffer, uint32_t count, uint32_t* got) {
  if (source.Read(buffer, count, got)) return true;
  const ce::DWORD code = ce::GetLastError();
  if (code != ce::ERROR_ACCESS_DENIED && code != ce::ERROR_LOCK_VIOLATION && code != 0) return false;
  const int64_t at = source.GetPosition() - *got;
  buffer[0] = 'M';
  uint32_t rest = 0;
  if (!source.Seek(at + 1, 0) || !source.Read(buffer + 1, count - 1, &rest)) return false;
  *got = rest + 1;
  return true;
}

// Writes the packed bytes while they stay smaller than what has been read.
class ArchiveSink final : public lzh::ByteSink {
 public:
  ArchiveSink(FileStream& destination, const uint64_t& bytesRead)
      : destination_(destination), bytesRead_(bytesRead) {}
  bool Put(const uint8_t* bytes, size_t count) override {
    if (packed_ + count + 283 >= bytesRead_) {
      notPackable = true;
      return false;
    }
    if (!destination_.Write(bytes, static_cast<uint32_t>(count), nullptr)) {
      failed = true;
      return false;
    }
    packed_ += count;
    return true;
  }
  uint64_t packed() const { return packed_; }
  bool notPackable = false;
  bool failed = false;

 private:
  FileStream& destination_;
  const uint64_t& bytesRead_;
  uint64_t packed_ = 0;
};

class Progress {
 public:
  explicit Progress(uint64_t total) : window_(FindProgressWindow()), total_(total) {}
  void Report(uint32_t percent) {
    if (window_.send != nullptr) window_.send(kProgressMessage, percent, 0);
  }
  // Reports at most every 500 ms; true when the cancel flag is set.
  bool Tick(uint64_t done) {
    const uint32_t now = ce::GetTickCount();
    if (static_cast<int32_t>(now - next_) < 0) return false;
    next_ = now + kProgressEveryMs;
    Report(total_ == 0 ? 100 : static_cast<uint32_t>(done * 100 / total_));
    return window_.cancelFlag != nullptr && window_.cancelFlag() != 0;
  }

 private:
  ProgressWindow window_;
  uint64_t total_;
  uint32_t next_ = ce::GetTickCount() + kProgressEveryMs;
};

bool VolumeNearlyFull(std::u16string_view destination) {
  std::u16string folder(destination);
  const size_t slash = folder.find_last_of(u"\\/");
  folder = slash == std::u16string::npos || slash == 0 ? u"\\" : folder.substr(0, slash);
  ce::ULARGE_INTEGER available{};
  return ce::GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) &&
         available.QuadPart < 5;
}

bool CopyPlain(FileStream& source, FileStream& destination, int64_t start) {
  if (!destination.Seek(start, 0) || !source.Seek(0, 0)) return false;
  std::vector<uint8_t> buffer(kChunk);
  for (;;) {
    uint32_t got = 0;
    if (!ReadChunk(source, buffer.data(), kChunk, &got)) return false;
    if (got == 0) break;
    if (!destination.Write(buffer.data(), got, nullptr)) return false;
  }
  return destination.Truncate(destination.GetPosition()) != 0;
}

}  // namespace

ProgressWindow FindProgressWindow() {
  ProgressWindow window;
  window.send = reinterpret_cast<void (*)(uint32_t, uintptr_t, intptr_t)>(
      dlsym(RTLD_DEFAULT, "tq240ProgressMessage"));
  window.cancelFlag = reinterpret_cast<int32_t (*)()>(dlsym(RTLD_DEFAULT, "tq240CancelFlag"));
  return window;
}

uint16_t Compact(std::u16string_view sourcePath, std::u16string_view destinationPath) {
  uint8_t header[kHeaderBytes] = {};
  header[0] = 0x20;
  std::memcpy(header + 1, "-lh5-", 6);
  const std::string name = Utf16ToCp1252(sourcePath);
  std::memcpy(header + 15, name.data(), std::min<size_t>(name.size(), kNameBytes));

  StreamPtr source = NewStream();
  if (!source->Open(sourcePath, ce::GENERIC_READ, ce::FILE_SHARE_READ | ce::FILE_SHARE_WRITE,
                    ce::OPEN_EXISTING, 0, nullptr)) {
    return kSourceUnreadable;
  }
  const int64_t size = source->GetSize();
  if (size < 0) return kSourceUnreadable;
  if (size >= kTooLarge) return kSourceTooLarge;
  StreamPtr destination = NewStream();
  if (!destination->Open(destinationPath, ce::GENERIC_READ | ce::GENERIC_WRITE, 0,
                         ce::CREATE_ALWAYS, 0, nullptr)) {
    return kDestinationNotCreated;
  }
  const auto fail = [&] {
    return VolumeNearlyFull(destinationPath) ? kFailedVolumeFull : kFailed;
  };

  uint64_t bytesRead = 0;
  ArchiveSink sink(*destination, bytesRead);
  std::unique_ptr<lzh::Lh5Encoder> coder(new (std::nothrow) lzh::Lh5Encoder(sink));
  if (!coder) return kOutOfMemory;
  Progress progress(static_cast<uint64_t>(size));
  progress.Report(0);

  const int64_t start = destination->GetPosition();
  if (!destination->Write(header, kHeaderBytes, nullptr)) return fail();
  std::vector<uint8_t> buffer(kChunk);
  bool cancelled = false;
  while (!coder->stopped()) {
    uint32_t got = 0;
    if (!ReadChunk(*source, buffer.data(), kChunk, &got)) return fail();
    if (got == 0) break;
    bytesRead += got;
    coder->Feed(buffer.data(), got);
    if (progress.Tick(bytesRead)) {
      cancelled = true;
      break;
    }
  }
  if (cancelled) {
    destination->Close();
    source->Close();
    const std::u16string doomed(destinationPath);
    ce::DeleteFileW(doomed.c_str());
    return kCancelled;
  }
  if (!coder->stopped()) coder->Finish();
  if (sink.failed) return fail();

  const uint64_t packed = sink.packed();
  if (sink.notPackable || packed + kHeaderBytes + 2 >= static_cast<uint64_t>(size)) {
    if (!CopyPlain(*source, *destination, start)) return fail();
  } else {
    PutWord(header + 7, static_cast<uint32_t>(packed));
    PutWord(header + 11, static_cast<uint32_t>(size));
    static constexpr uint8_t kZero = 0;
    if (!destination->WriteAt(start, header, kHeaderBytes, nullptr) ||
        !destination->Seek(0, ce::FILE_END) || !destination->Write(&kZero, 1, nullptr) ||
        !destination->Write(&kZero, 1, nullptr)) {
      return fail();
    }
  }
  ce::FILETIME created{}, accessed{}, written{};
  if (ce::GetFileTime(source->handle(), &created, &accessed, &written)) {
    ce::SetFileTime(destination->handle(), &created, &accessed, &written);
  }
  destination->Close();
  source->Close();
  progress.Report(100);
  return kDone;
}

}  // namespace tq
