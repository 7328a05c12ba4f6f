// Fuzzes key paths and the registry search over a small real registry (a device root in a
// temporary folder): the input (UTF-16LE) is split at U+0001 into a search position, a text
// and an options word. Splitting never gives a root outside the seven names or a sub-path
// longer than the path; the search never crashes and what it returns is a position that
// starts with a root name and a tab.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/device_config.h"
#include "system/key_path.h"
#include "system/registry_search.h"
#include "system/settings_api.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  namespace fs = std::filesystem;
  std::string base = (fs::temp_directory_path() / "fuzz-registry-XXXXXX").string();
  if (mkdtemp(base.data()) == nullptr) std::abort();
  setenv("TQ_DEVICE", (base + "/device").c_str(), 1);
  ce::ResetDeviceConfigForTesting();
  using tq::settings::WriteRegistryString;
  WriteRegistryString(u"HKEY_LOCAL_MACHINE\\Software\\A", u"Name", u"alpha beta");
  WriteRegistryString(u"HKEY_LOCAL_MACHINE\\Software\\A\\Deep", u"x", u"beta");
  WriteRegistryString(u"HKEY_LOCAL_MACHINE\\Software\\B", u"", u"gamma");
  WriteRegistryString(u"HKEY_CURRENT_USER\\X", u"beta", u"a\tb");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string input = fuzzinput::Utf16Units(data, size);
  const size_t first = input.find(u'\x01');
  const std::u16string position = input.substr(0, first);
  std::u16string text = first == std::u16string::npos ? u"beta" : input.substr(first + 1);
  int32_t options = 15;
  if (const size_t second = text.find(u'\x01'); second != std::u16string::npos) {
    options = static_cast<int32_t>(text.size() > second + 1 ? text[second + 1] : 0) & 31;
    text.resize(second);
  }
  if (std::optional<tq::SplitPath> split = tq::SplitKeyPath(position)) {
    if (split->subPath.size() > position.size()) std::abort();
    if (tq::RootKeyHandle(split->root) == nullptr && split->root != u"HKEY_PERFORMANCE_DATA" &&
        split->root != u"HKEY_CURRENT_CONFIG" && split->root != u"HKEY_DYN_DATA")
      std::abort();
  }
  const std::u16string found = tq::RegistrySearch(position, text, options);
  if (!found.empty() &&
      (found.rfind(u"HKEY_", 0) != 0 || found.find(u'\t') == std::u16string::npos))
    std::abort();
  return 0;
}
