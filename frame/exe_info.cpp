// Keys of ExeInfo, the version strings, and the executable's kind.
#include "frame/exe_info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "frame/update_names.h"
#include "frame/version_resource.h"
#include "net/download_file.h"

namespace tq {
namespace {

constexpr size_t kMaxPath = 260;
constexpr size_t kMaxNameCharacters = 50;
constexpr size_t kMaxValueCharacters = 198;
constexpr size_t kMaxImageBytes = 64u << 20;  // version resources of larger files are not read

struct KeyRow {
  const char16_t* french;
  const char16_t* english;
  const char16_t* versionString;  // or null for the keys computed otherwise
};

const KeyRow kKeys[] = {
    {u"NOM", u"NAME", nullptr},           {u"REPERTOIRE", u"DIRECTORY", nullptr},
    {u"COPYRIGHT", u"COPYRIGHT", u"LegalCopyright"}, {u"VERSION", u"VERSION", u"FileVersion"},
    {u"DESCRIPTION", u"DESCRIPTION", u"FileDescription"}, {u"MODE", u"MODE", nullptr},
    {u"SOCIETE", u"COMPANY", u"CompanyName"}, {u"VERSION4N", u"VERSION4N", nullptr},
    {u"LANCEMENT", u"LANCEMENT", nullptr},  {u"BOOT", u"BOOT", nullptr},
};

std::u16string NormalisedKey(std::u16string_view key) {
  std::u16string out;
  for (char16_t c : key) {
    if (c == u'\u00E9') c = u'E';
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c = static_cast<char16_t>(c - 32);
    out.push_back(c);
  }
  return out;
}

// Up to `limit` bytes of the file from `offset`; empty when it cannot be read.
std::string ReadBytes(const std::u16string& file, off_t offset, size_t limit) {
  const int fd = net::OpenBeneathDeviceRoot(file, O_RDONLY, 0);
  if (fd < 0) return {};
  struct stat info {};
  if (::fstat(fd, &info) == 0 && info.st_size >= offset)
    limit = std::min(limit, static_cast<size_t>(info.st_size - offset));
  std::string bytes(limit, '\0');
  size_t done = 0;
  while (done < limit) {
    const ssize_t n = ::pread(fd, bytes.data() + done, limit - done, offset + static_cast<off_t>(done));
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

std::u16string VersionString(const std::u16string& file, std::u16string_view name) {
  if (name.size() > kMaxNameCharacters) return {};
  const std::optional<VersionResource> resource =
      ReadVersionResource(ReadBytes(file, 0, kMaxImageBytes));
  if (!resource) return {};
  std::optional<std::u16string> value;
  if (!resource->translations.empty()) {
    char16_t key[9];
    char narrow[9];
    std::snprintf(narrow, sizeof narrow, "%04X%04X", resource->translations[0].first,
                  resource->translations[0].second);
    for (int i = 0; i < 9; ++i) key[i] = static_cast<char16_t>(narrow[i]);
    value = resource->Find(key, name);
  }
  if (!value) value = resource->Find(u"040904E4", name);
  if (!value) return {};
  return value->substr(0, kMaxValueCharacters);
}

std::u16string FileVersion4(const std::u16string& file) {
  const std::optional<VersionResource> resource =
      ReadVersionResource(ReadBytes(file, 0, kMaxImageBytes));
  if (!resource || !resource->fileVersion) return {};
  const auto& v = *resource->fileVersion;
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", v[0], v[1], v[2], v[3]);
  return std::u16string(text, text + std::strlen(text));
}

std::u16string Directory(std::u16string_view path) {
  const size_t slash = path.rfind(u'\\');
  if (slash != std::u16string_view::npos) return std::u16string(path.substr(0, slash));
  const size_t colon = path.find(u':');
  if (colon != std::u16string_view::npos) return std::u16string(path.substr(0, colon + 1));
  return {};
}

uint16_t Word(std::string_view bytes, size_t at) {
  uint16_t v;
  std::memcpy(&v, bytes.data() + at, 2);
  return v;
}

}  // namespace

std::u16string ExecutableMode(std::string_view first, std::string_view header) {
  if (first.size() < 64 || Word(first, 0) != 23117) return {};
  if (Word(first, 24) != 64) return u"DOS";
  if (header.size() < 248) return {};
  switch (Word(header, 0)) {
    case 17742: case 17740: case 22604: case 13143: return u"16";
    case 17744: return Word(header, 24) == 523 ? u"64" : u"32";
    case 23117: return u"DOS";
    default: return {};
  }
}

std::u16string ExeInfo(std::u16string_view key, const char16_t* given) {
  const std::u16string file = given != nullptr && *given != u'\0'
                                  ? std::u16string(given).substr(0, kMaxPath)
                                  : RunningExecutablePath();
  const std::u16string normal = NormalisedKey(key);
  for (const KeyRow& row : kKeys) {
    if (normal != row.french && normal != row.english) continue;
    if (row.versionString != nullptr) return VersionString(file, row.versionString);
    const std::u16string_view french = row.french;
    if (french == u"NOM") return file;
    if (french == u"REPERTOIRE") return Directory(file);
    if (french == u"VERSION4N") return FileVersion4(file);
    if (french == u"MODE") {
      const std::string first = ReadBytes(file, 0, 64);
      if (first.size() < 64) return {};
      uint32_t offset;
      std::memcpy(&offset, first.data() + 60, 4);
      return ExecutableMode(first, ReadBytes(file, offset, 248));
    }
    return {};  // LANCEMENT, BOOT
  }
  return VersionString(file, key);
}

}  // namespace tq
