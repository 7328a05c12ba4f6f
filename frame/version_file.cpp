// Downloading and reading the server's version file.
#include "frame/version_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <mutex>

#include "frame/error_state.h"
#include "frame/raise_error.h"
#include "frame/text.h"
#include "frame/update_names.h"
#include "net/download_file.h"
#include "net/http_download.h"
#include "platform/tick_count.h"
#include "system/profile_engine.h"

namespace tq {
namespace {

struct VersionFileCache {
  bool valid = false;
  ce::DWORD tick = 0;
  bool written = false;
  std::u16string application;
  std::u16string file;
};

std::mutex gMutex;
VersionFileCache gCache;  // guarded by gMutex
int gDownloads = 0;       // guarded by gMutex

bool ReadWhole(const std::u16string& devicePath, std::string* out) {
  const int fd = net::OpenBeneathDeviceRoot(devicePath, O_RDONLY, 0);
  if (fd < 0) return false;
  char buffer[65536];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) out->append(buffer, static_cast<size_t>(n));
  ::close(fd);
  return n == 0;
}

// Puts "[<application>]\r\n" in front of the downloaded text so that the profile engine reads
// its lines as the application's section.
bool RewriteAsProfile(const std::u16string& devicePath, std::u16string_view application) {
  std::string text;
  if (!ReadWhole(devicePath, &text)) return false;
  text.insert(0, "[" + Utf16ToCp1252(application) + "]\r\n");
  net::DownloadFile file;
  return file.Create(devicePath) && file.Write(text.data(), text.size()) && file.Close();
}

void RaiseDownloadFailure(ComponentProxy* proxy, const std::string& host,
                          const net::NetFailure& failure) {
  RaiseError(proxy, 81630, {Cp1252ToUtf16(host)});
  if (!failure.text.empty()) SetSystemMessage(ErrorStateOf(proxy), failure.text);
}

// The local path of a fresh download, or nullopt after raising its error.
std::optional<std::u16string> Download(ComponentProxy* proxy, const UpdateTarget& target) {
  const ce::DWORD now = ce::GetTickCount();
  if (gCache.valid && gCache.written && gCache.application == target.application) {
    const ce::DWORD since = now - gCache.tick, until = gCache.tick - now;
    if (since < kVersionCacheMilliseconds || until < kVersionCacheMilliseconds) return gCache.file;
  }
  const std::optional<std::u16string> url =
      ReadUpdateSetting(proxy, target, u"UPDATE_URL", kSettingCharacters);
  if (!url) return std::nullopt;
  const UpdateAddress address = SplitUpdateAddress(*url + u"VERSION.TZ");
  net::NetFailure failure;
  if (!net::SocketLayer::Initialise(&failure)) {
    RaiseDownloadFailure(proxy, address.host, failure);
    return std::nullopt;
  }
  const std::u16string file = u"\\Temp\\STD" + Cp1252ToUtf16(std::to_string(::getpid())) + u".tmp";
  net::HttpDownload download(Cp1252ToUtf16(address.host), address.port);
  download.SetTimeLimit(kVersionDownloadMilliseconds);
  const bool fetched = download.Download(file, address.path, nullptr);
  net::SocketLayer::Release();
  ++gDownloads;
  if (!fetched || !RewriteAsProfile(file, target.application)) {
    RaiseDownloadFailure(proxy, address.host, download.failure());
    return std::nullopt;
  }
  gCache = VersionFileCache{true, now, true, target.application, file};
  return file;
}

}  // namespace

std::optional<std::u16string> ServerVersion(ComponentProxy* proxy, const UpdateTarget& target) {
  std::lock_guard<std::mutex> lock(gMutex);
  const std::optional<std::u16string> file = Download(proxy, target);
  if (!file) return std::nullopt;
  return ProfileEngineRead(target.application, std::u16string_view(u"VERSION"),
                           std::u16string_view(u""), *file);
}

int VersionFileDownloads() {
  std::lock_guard<std::mutex> lock(gMutex);
  return gDownloads;
}

void ForgetVersionFile() {
  std::lock_guard<std::mutex> lock(gMutex);
  gCache = VersionFileCache{};
}

}  // namespace tq
