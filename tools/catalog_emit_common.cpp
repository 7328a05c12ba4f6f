// Formatting shared by the two generated sources.
#include <cstdio>

#include "catalog_emit.h"

namespace catalog {

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%xu", value);
  return text;
}

std::string WordLines(const std::vector<uint32_t>& words) {
  constexpr size_t kPerLine = 12;
  std::string out;
  for (size_t i = 0; i < words.size(); i += kPerLine) {
    out += "    /* " + std::to_string(i) + " */";
    for (size_t k = i; k < words.size() && k < i + kPerLine; ++k) {
      out += " " + (words[k] >= 0x100 ? Hex(words[k]) : std::to_string(words[k])) + ",";
    }
    out += "\n";
  }
  return out;
}

std::string RecordLabel(const Record& record) {
  return std::to_string(record.id) + " " + (record.name.empty() ? "-" : record.name);
}

}  // namespace catalog
