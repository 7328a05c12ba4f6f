// Key paths: one string naming a registry key, root name first
// ("HKEY_LOCAL_MACHINE\Software\X"). SplitKeyPath takes the path apart, RootKeyHandle gives
// the root's predefined key.
//
// Invariants: the root names are tested as case-sensitive prefixes in a fixed order, without
// requiring a backslash behind them; a path that starts with none of them lies under
// HKEY_CLASSES_ROOT whole. One leading and one trailing backslash of the sub-path are dropped.
// The three roots without a predefined key split normally but open nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace tq {

// The longest key path the routines accept, in characters.
inline constexpr size_t kLongestKeyPath = 260;

struct SplitPath {
  std::u16string root;     // one of the seven root names
  std::u16string subPath;  // may be empty
};

// nullopt for a path longer than kLongestKeyPath.
std::optional<SplitPath> SplitKeyPath(std::u16string_view keyPath);

// The predefined key of a root name (compared without regard to case), or null.
ce::HKEY RootKeyHandle(std::u16string_view rootName);

// Opens the key a path names; null when it cannot be opened (the code, when wanted, in
// `error`). The caller closes the key with ce::RegCloseKey (or through OpenedKey).
ce::HKEY OpenKeyPath(std::u16string_view keyPath, ce::DWORD* error = nullptr);

// An open key closed on scope exit.
class OpenedKey {
 public:
  explicit OpenedKey(ce::HKEY key = nullptr) : key_(key) {}
  explicit OpenedKey(std::u16string_view keyPath, ce::DWORD* error = nullptr)
      : key_(OpenKeyPath(keyPath, error)) {}
  ~OpenedKey() { reset(); }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  ce::HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  void reset(ce::HKEY key = nullptr) {
    if (key_ != nullptr) ce::RegCloseKey(key_);
    key_ = key;
  }

 private:
  ce::HKEY key_;
};

}  // namespace tq
