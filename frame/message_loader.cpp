// Message loading. The StringLoader protocol: a result of 0 means "no such text", a result
// above the buffer size is the size needed, anything else is the text's length.
#include "frame/message_loader.h"

#include <cstring>
#include <vector>

#include "frame/library_state.h"
#include "frame/message_block.h"
#include "frame/message_unpacker.h"
#include "frame/text.h"

namespace tq {
namespace {

constexpr int32_t kLoaderBuffer = 256;

std::optional<std::u16string> FromStringLoader(uint32_t id) {
  StringLoader loader = Library().stringLoader;
  if (loader == nullptr) return std::nullopt;
  std::vector<char16_t> buffer(kLoaderBuffer + 1, 0);
  int32_t n = loader(id, buffer.data(), kLoaderBuffer);
  if (n <= 0) return std::nullopt;
  if (n > kLoaderBuffer) {
    buffer.assign(static_cast<size_t>(n) + 1, 0);
    n = loader(id, buffer.data(), n);
    if (n <= 0) return std::nullopt;
  }
  const size_t length = std::min<size_t>(static_cast<size_t>(n), buffer.size() - 1);
  return std::u16string(buffer.data(), TextLength(buffer.data()) < length
                                           ? TextLength(buffer.data())
                                           : length);
}

// The unpacked bytes of message `id` in the current language, and their encoding.
bool UnpackFromBlock(uint32_t id, std::vector<uint8_t>& bytes, uint32_t& encoding) {
  MessageRequest request{};
  request.id = id;
  request.language = CurrentLanguageCode();
  request.flags = -1;
  if (!LookupMessage(&request)) return false;
  bytes.assign(UnpackCapacity(request.packedLength), 0);
  size_t produced = 0;
  const int result =
      UnpackMessageText(request.packed, request.packedLength, bytes.data(), bytes.size(), &produced);
  if (result != 0 && result != 2) return false;
  bytes.resize(std::min(produced, bytes.size() - 1));
  encoding = request.encoding;
  return true;
}

std::u16string Decode(const std::vector<uint8_t>& bytes, uint32_t encoding) {
  if (encoding == 2) {
    std::u16string text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return text;
  }
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

std::optional<std::u16string> LoadMessageText(uint32_t id) {
  if (auto text = FromStringLoader(id)) return text;
  std::vector<uint8_t> bytes;
  uint32_t encoding = 1;
  if (!UnpackFromBlock(id, bytes, encoding)) return std::nullopt;
  return Decode(bytes, encoding);
}

int32_t LoadMessageInto(uint32_t id, char16_t* buffer, int32_t capacity) {
  if (StringLoader loader = Library().stringLoader) {
    const int32_t n = loader(id, buffer, capacity);
    if (n > 0) return n;
  }
  if (buffer == nullptr || capacity <= 0) return 0;
  buffer[0] = 0;
  std::vector<uint8_t> bytes;
  uint32_t encoding = 1;
  if (!UnpackFromBlock(id, bytes, encoding)) return 0;
  const std::u16string text = Decode(bytes, encoding);
  const size_t copied = BoundedCopy(buffer, static_cast<size_t>(capacity), text.c_str());
  return static_cast<int32_t>(copied);
}

}  // namespace tq
