// Host files for tests: private folders, and whole files written with their parent folders
// created and read back byte for byte ("" when the file cannot be read).
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tqtest {

// A new folder NAME-XXXXXX under TQ_TEST_TMP, else under the system's temporary folder; ""
// when it cannot be made.
inline std::string MakeTestFolder(const std::string& name) {
  const char* base = getenv("TQ_TEST_TMP");
  const std::filesystem::path parent =
      base && *base ? base : std::filesystem::temp_directory_path();
  std::filesystem::create_directories(parent);
  std::string pattern = (parent / (name + "-XXXXXX")).string();
  return mkdtemp(pattern.data()) != nullptr ? pattern : "";
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tqtest
