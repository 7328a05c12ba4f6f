// Fuzzes the path helpers: splitting must give back the path's own pieces, relative paths and
// full paths must stay within their limits, whatever the input (UTF-16LE; the first zero unit
// separates the path from the reference folder).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/path_ops.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * 2);
  const size_t split = text.find(u'\0');
  const std::u16string path = text.substr(0, split);
  const std::u16string reference = split == std::u16string::npos ? u"\\" : text.substr(split + 1);
  const tq::SplitPathParts parts = tq::SplitPath(path);
  if (parts.prefix + parts.directory + parts.name + parts.extension != path) std::abort();
  if (const auto relative = tq::RelativePath(path, reference)) {
    if (relative->size() > tq::kMaxPath) std::abort();
  }
  std::u16string full;
  const size_t length = tq::FullPath(path, tq::kMaxPath, &full);
  if (length <= tq::kMaxPath && full.size() != length) std::abort();
  return 0;
}
