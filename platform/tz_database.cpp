// TZif files: header walking to the footer (RFC 8536 layout).
#include "platform/tz_database.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace ce {
namespace {

constexpr size_t kHeaderSize = 44;
constexpr std::streamsize kMaxTzifSize = 1 << 20;

uint32_t ReadBigEndian32(std::string_view data, size_t pos) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(data[pos])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(data[pos + 1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(data[pos + 2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(data[pos + 3]));
}

// Size of the data block that follows a header, with `timeSize` bytes per transition time.
std::optional<uint64_t> DataBlockSize(std::string_view content, size_t header, int timeSize) {
  if (content.size() < header + kHeaderSize || content.substr(header, 4) != "TZif") {
    return std::nullopt;
  }
  const uint64_t isUtCount = ReadBigEndian32(content, header + 20);
  const uint64_t isStdCount = ReadBigEndian32(content, header + 24);
  const uint64_t leapCount = ReadBigEndian32(content, header + 28);
  const uint64_t timeCount = ReadBigEndian32(content, header + 32);
  const uint64_t typeCount = ReadBigEndian32(content, header + 36);
  const uint64_t charCount = ReadBigEndian32(content, header + 40);
  return timeCount * timeSize + timeCount + typeCount * 6 + charCount + leapCount * (timeSize + 4) +
         isStdCount + isUtCount;
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string content;
  content.resize(kMaxTzifSize + 1);
  file.read(content.data(), kMaxTzifSize + 1);
  const std::streamsize got = file.gcount();
  if (got > kMaxTzifSize) return std::nullopt;
  content.resize(static_cast<size_t>(got));
  return content;
}

bool IsSafeZoneName(std::string_view name) {
  if (name.empty() || name.front() == '/') return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view part = name.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    for (char c : part) {
      const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-' || c == '+' || c == '.';
      if (!ok) return false;
    }
    start = end + 1;
  }
  return true;
}

std::optional<ZoneRule> RuleFromTzifFile(const std::string& path) {
  std::optional<std::string> content = ReadSmallFile(path);
  if (!content) return std::nullopt;
  std::optional<std::string> footer = TzifFooterRule(*content);
  if (!footer) return std::nullopt;
  return ParsePosixTzRule(*footer);
}

}  // namespace

std::string TzDatabaseDirectory() {
  const char* dir = std::getenv("TZDIR");
  return (dir && *dir) ? std::string(dir) : std::string("/usr/share/zoneinfo");
}

std::optional<std::string> TzifFooterRule(std::string_view content) {
  std::optional<uint64_t> v1Size = DataBlockSize(content, 0, 4);
  if (!v1Size || content[4] == '\0') return std::nullopt;  // version 1 has no footer
  const uint64_t secondHeader = kHeaderSize + *v1Size;
  if (secondHeader > content.size()) return std::nullopt;
  std::optional<uint64_t> v2Size = DataBlockSize(content, secondHeader, 8);
  if (!v2Size) return std::nullopt;
  const uint64_t footer = secondHeader + kHeaderSize + *v2Size;
  if (footer >= content.size() || content[footer] != '\n') return std::nullopt;
  const size_t end = content.find('\n', footer + 1);
  if (end == std::string_view::npos || end == footer + 1) return std::nullopt;
  return std::string(content.substr(footer + 1, end - footer - 1));
}

std::optional<ZoneRule> LoadZoneRule(std::string_view setting) {
  if (setting.empty()) {
    const char* hostZone = std::getenv("TZ");
    if (hostZone == nullptr) return RuleFromTzifFile("/etc/localtime");
    if (*hostZone == '\0') return ParsePosixTzRule("UTC0");
    setting = hostZone;
  }
  if (setting.front() == ':') setting.remove_prefix(1);
  if (!setting.empty() && setting.front() == '/') return RuleFromTzifFile(std::string(setting));
  if (IsSafeZoneName(setting)) {
    std::optional<ZoneRule> rule =
        RuleFromTzifFile(TzDatabaseDirectory() + "/" + std::string(setting));
    if (rule) return rule;
  }
  return ParsePosixTzRule(setting);
}

}  // namespace ce
