// The version information of a program file: the version resource found in a PE image's
// resource section, with its fixed file version, its language and code-page pairs, and its
// string tables, queried the way the device's version calls query them.
//
// Invariants: the image is untrusted; every offset and length is checked against the bytes,
// walks are bounded, and a damaged image simply has no (or less) version information.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tq {

struct VersionResource {
  std::optional<std::array<uint16_t, 4>> fileVersion;  // major, minor, build, revision
  std::vector<std::pair<uint16_t, uint16_t>> translations;  // language, code page
  // (table key such as "040904E4", string name, value)
  std::vector<std::array<std::u16string, 3>> strings;

  // The value of `name` in table `tableKey`, both compared without regard to case.
  std::optional<std::u16string> Find(std::u16string_view tableKey, std::u16string_view name) const;
};

// Reads the version resource of a PE image held in `image`.
std::optional<VersionResource> ReadVersionResource(std::string_view image);

}  // namespace tq
