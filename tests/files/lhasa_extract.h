// lhasa, the independent reader of "-lh5-" data: packed bytes wrapped in a level-0 LHA header.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace tqtest {

// The bytes lhasa extracts from `packed`, the coded form of `original`; nullopt when it fails.
inline std::optional<std::string> ExtractWithLhasa(const std::string& packed,
                                                   const std::string& original) {
  const auto le = [](uint32_t value, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>(value >> (8 * i));
    return s;
  };
  uint32_t crc = 0;
  for (unsigned char byte : original) {
    crc ^= byte;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  // Method, sizes, a DOS date and time, attribute, level 0, the name "x", the CRC.
  const std::string header = "-lh5-" + le(static_cast<uint32_t>(packed.size()), 4) +
                             le(static_cast<uint32_t>(original.size()), 4) + le(0x58210000, 4) +
                             std::string("\x20\0\x01x", 4) + le(crc, 2);
  unsigned char sum = 0;
  for (char c : header) sum = static_cast<unsigned char>(sum + static_cast<unsigned char>(c));
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("lhasa-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "a.lzh", std::ios::binary)
      << static_cast<char>(header.size()) << static_cast<char>(sum) << header << packed << '\0';
  const std::string command = "cd '" + dir.string() + "' && lhasa -xq a.lzh >/dev/null 2>&1";
  std::optional<std::string> out;
  if (std::system(command.c_str()) == 0) {
    std::ifstream in(dir / "x", std::ios::binary);
    out.emplace(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::filesystem::remove_all(dir);
  return out;
}

}  // namespace tqtest
