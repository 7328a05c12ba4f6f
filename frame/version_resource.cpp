// Walking a PE image down to its version resource, and the resource's blocks.
#include "frame/version_resource.h"

#include <cstring>

namespace tq {
namespace {

constexpr uint16_t kVersionType = 16;
constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr int kMaxBlockDepth = 4;

uint32_t Read32(std::string_view bytes, size_t at, bool* ok) {
  uint32_t v = 0;
  if (at > bytes.size() || bytes.size() - at < 4) {
    *ok = false;
    return 0;
  }
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

uint16_t Read16(std::string_view bytes, size_t at, bool* ok) {
  uint16_t v = 0;
  if (at > bytes.size() || bytes.size() - at < 2) {
    *ok = false;
    return 0;
  }
  std::memcpy(&v, bytes.data() + at, 2);
  return v;
}

char16_t Fold(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool SameKey(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

struct Section {
  uint32_t virtualAddress, virtualSize, rawSize, rawOffset;
};

// The file bytes of the resource data for RT_VERSION, or empty.
std::string_view FindVersionData(std::string_view image) {
  bool ok = true;
  if (Read16(image, 0, &ok) != 0x5A4D) return {};
  const uint32_t pe = Read32(image, 60, &ok);
  if (!ok || Read32(image, pe, &ok) != 0x00004550) return {};
  const uint16_t sectionCount = Read16(image, size_t{pe} + 6, &ok);
  const uint16_t optionalSize = Read16(image, size_t{pe} + 20, &ok);
  const size_t optional = size_t{pe} + 24;
  const uint16_t magic = Read16(image, optional, &ok);
  const size_t directories = optional + (magic == 0x20b ? 112 : 96);
  const uint32_t resourceRva = Read32(image, directories + 2 * 8, &ok);
  if (!ok || resourceRva == 0) return {};
  std::vector<Section> sections;
  for (size_t i = 0, at = optional + optionalSize; i < sectionCount && ok; ++i, at += 40) {
    sections.push_back({Read32(image, at + 12, &ok), Read32(image, at + 8, &ok),
                        Read32(image, at + 16, &ok), Read32(image, at + 20, &ok)});
  }
  auto toOffset = [&](uint32_t rva) -> std::optional<size_t> {
    for (const Section& s : sections) {
      const uint32_t extent = std::max(s.virtualSize, s.rawSize);
      if (rva >= s.virtualAddress && rva - s.virtualAddress < extent)
        return size_t{s.rawOffset} + (rva - s.virtualAddress);
    }
    return std::nullopt;
  };
  const std::optional<size_t> root = toOffset(resourceRva);
  if (!ok || !root) return {};
  // Three levels: type, name, language; the first entry of the type 16 directory at each.
  size_t directory = *root;
  for (int level = 0; level < 3; ++level) {
    const uint16_t named = Read16(image, directory + 12, &ok);
    const uint16_t ids = Read16(image, directory + 14, &ok);
    bool found = false;
    for (uint32_t e = 0; e < uint32_t{named} + ids && ok && e < 4096; ++e) {
      const size_t entry = directory + 16 + e * 8;
      const uint32_t name = Read32(image, entry, &ok);
      const uint32_t target = Read32(image, entry + 4, &ok);
      if (level == 0 && name != kVersionType) continue;
      if (level < 2) {
        if ((target & 0x80000000u) == 0) return {};
        directory = *root + (target & 0x7FFFFFFFu);
      } else {
        if (target & 0x80000000u) return {};
        const size_t data = *root + target;
        const uint32_t rva = Read32(image, data, &ok);
        const uint32_t size = Read32(image, data + 4, &ok);
        const std::optional<size_t> at = toOffset(rva);
        if (!ok || !at || *at > image.size() || image.size() - *at < size) return {};
        return image.substr(*at, size);
      }
      found = true;
      break;
    }
    if (!found || !ok) return {};
  }
  return {};
}

size_t Align4(size_t n) { return (n + 3) & ~size_t{3}; }

// One block: its key, value bytes and children, parsed from `data` at `at` (offsets relative
// to the resource start, which is 4-byte aligned).
void ReadBlock(std::string_view data, size_t at, int depth, std::vector<std::u16string>& path,
               VersionResource* out) {
  bool ok = true;
  const uint16_t length = Read16(data, at, &ok);
  const uint16_t valueLength = Read16(data, at + 2, &ok);
  const uint16_t type = Read16(data, at + 4, &ok);
  if (!ok || length < 6 || at + length > data.size() || depth > kMaxBlockDepth) return;
  const std::string_view block = data.substr(0, at + length);
  std::u16string key;
  size_t pos = at + 6;
  for (uint16_t c; (c = Read16(block, pos, &ok)) != 0 && ok; pos += 2) key.push_back(c);
  if (!ok) return;
  pos = Align4(pos + 2);
  const size_t valueBytes = type == 1 ? size_t{valueLength} * 2 : valueLength;
  if (pos > block.size() || block.size() - pos < valueBytes) return;
  const std::string_view value = block.substr(pos, valueBytes);
  path.push_back(key);
  if (depth == 0 && value.size() >= 52 && Read32(value, 0, &ok) == kFixedSignature) {
    const uint32_t ms = Read32(value, 8, &ok), ls = Read32(value, 12, &ok);
    out->fileVersion = std::array<uint16_t, 4>{static_cast<uint16_t>(ms >> 16),
                                               static_cast<uint16_t>(ms & 0xFFFF),
                                               static_cast<uint16_t>(ls >> 16),
                                               static_cast<uint16_t>(ls & 0xFFFF)};
  }
  if (depth == 2 && SameKey(path[1], u"VarFileInfo") && SameKey(key, u"Translation")) {
    for (size_t i = 0; i + 4 <= value.size(); i += 4) {
      out->translations.emplace_back(Read16(value, i, &ok), Read16(value, i + 2, &ok));
    }
  }
  if (depth == 3 && SameKey(path[1], u"StringFileInfo")) {
    std::u16string text;
    for (size_t i = 0; i + 2 <= value.size(); i += 2) {
      const char16_t c = Read16(value, i, &ok);
      if (c == 0) break;
      text.push_back(c);
    }
    out->strings.push_back({path[2], key, text});
  }
  for (size_t child = Align4(pos + valueBytes); child + 6 <= block.size();) {
    const uint16_t childLength = Read16(block, child, &ok);
    if (!ok || childLength < 6) break;
    ReadBlock(block, child, depth + 1, path, out);
    child = Align4(child + childLength);
  }
  path.pop_back();
}

}  // namespace

std::optional<std::u16string> VersionResource::Find(std::u16string_view tableKey,
                                                     std::u16string_view name) const {
  for (const auto& [table, key, value] : strings) {
    if (SameKey(table, tableKey) && SameKey(key, name)) return value;
  }
  return std::nullopt;
}

std::optional<VersionResource> ReadVersionResource(std::string_view image) {
  const std::string_view data = FindVersionData(image);
  if (data.size() < 6) return std::nullopt;
  VersionResource resource;
  std::vector<std::u16string> path;
  ReadBlock(data, 0, 0, path, &resource);
  return resource;
}

}  // namespace tq
