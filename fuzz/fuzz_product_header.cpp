// Fuzzes the product-file readers: the input (after a 4-byte requested type) is written to a
// file of a private device root and read as a product header and as a project element; the
// readers must fail cleanly on anything malformed, chains that loop included.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/product_file.h"
#include "files/stream.h"
#include "frame/error_state.h"
#include "platform/device_config.h"
#include "platform/device_path.h"
#include "platform/file_api.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool configured = [] {
    char pattern[] = "/tmp/fuzz-product-XXXXXX";
    setenv("TQ_DEVICE", mkdtemp(pattern), 1);
    ce::ResetDeviceConfigForTesting();
    return true;
  }();
  (void)configured;
  uint32_t requested = 0;
  if (size >= 4) std::memcpy(&requested, data, 4);
  const std::string file = ce::DeviceRoot() + "/input.dat";
  if (FILE* out = std::fopen(file.c_str(), "wb")) {
    if (size > 4) std::fwrite(data + 4, 1, size - 4, out);
    std::fclose(out);
  }
  auto* stream = new tq::FileStream(new tq::CXError());
  if (stream->Open(u"\\input.dat", ce::GENERIC_READ, 0, ce::OPEN_EXISTING, 0, nullptr)) {
    tq::CTXFile header(requested);
    int64_t offset = 0;
    header.ReadHeader(*stream, &offset);
    tq::CEltProjetFile element;
    element.Read(*stream, 0);
  }
  stream->Release();
  return 0;
}
