// A small "-lh5-" decoder used only by tests and fuzz targets to check the coder's output
// independently of it (the tests also use lhasa as an outside reader).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tqtest {

// Decodes `size` bytes from a "-lh5-" stream; nullopt when the stream is malformed.
std::optional<std::vector<uint8_t>> DecodeLh5(const std::vector<uint8_t>& packed, size_t size);

}  // namespace tqtest
