// A small JSON reader for the simulated device's own settings files (.device/device.json):
// objects, arrays, strings, numbers, booleans and null.
//
// Invariants: the text is untrusted; anything malformed gives nullopt with a reason and an
// offset, nesting deeper than 64 levels is refused, nothing is read out of bounds. Strings are
// kept as UTF-8 (\u escapes, surrogate pairs included, are decoded; a lone surrogate is
// refused).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ce {

struct SettingsJson {
  enum class Kind { kNull, kBoolean, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<SettingsJson> elements;
  std::vector<std::pair<std::string, SettingsJson>> members;  // in document order

  // The last member of that name, or null.
  const SettingsJson* find(std::string_view name) const;
};

std::optional<SettingsJson> ParseSettingsJson(std::string_view text, std::string* problem);

}  // namespace ce
