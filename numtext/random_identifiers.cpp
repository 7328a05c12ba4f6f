// The seed block, the digest over it, and the GUID formats.
#include "numtext/random_identifiers.h"

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>

#include "numtext/sha256.h"
#include "platform/gen_random.h"
#include "platform/modules.h"
#include "platform/tick_count.h"

namespace tq {
namespace {

std::atomic<uint32_t> gCallCounter{0};

// The values hashed for one draw. Addresses are pointer-sized on this platform; the block is hashed as the bytes it holds.
#pragma pack(push, 4)
struct SeedBlock {
  uintptr_t counterAddress;
  uintptr_t blockAddress;
  uintptr_t functionAddress;
  uint32_t counter;
  uint32_t secondsSince1970;
  uint32_t tickCount;
  uint32_t processWord;
  uint32_t threadWord;
  uint8_t deviceRandom[16];
};
#pragma pack(pop)

uint32_t ThreadWord() {
  thread_local const uint32_t word = static_cast<uint32_t>(gettid());
  return word;
}

constexpr char kLowerHex[] = "0123456789abcdef";

std::u16string Ascii(const char* text) {
  std::u16string out;
  while (*text != 0) out += static_cast<char16_t>(*text++);
  return out;
}

}  // namespace

void RandomBytes(uint8_t* out, size_t count) {
  SeedBlock block{};
  block.counterAddress = reinterpret_cast<uintptr_t>(&gCallCounter);
  block.blockAddress = reinterpret_cast<uintptr_t>(&block);
  block.functionAddress = reinterpret_cast<uintptr_t>(&RandomBytes);
  block.counter = gCallCounter.fetch_add(1) + 1;
  block.secondsSince1970 = static_cast<uint32_t>(std::time(nullptr));
  block.tickCount = ce::GetTickCount();
  block.processWord = static_cast<uint32_t>(getpid());
  block.threadWord = ThreadWord();
  // Should the kernel's generator fail, the counter still makes every block different.
  ce::CeGenRandom(sizeof block.deviceRandom, block.deviceRandom);
  Sha256 hash;
  hash.Update(&block, sizeof block);
  const Sha256::Digest digest = hash.Final();
  std::copy_n(digest.begin(), std::min(count, kRandomBytesMax), out);
}

Uuid NewUuid() {
  Uuid id{};
  RandomBytes(id.data(), id.size());
  id[6] = static_cast<uint8_t>((id[6] & 0x0F) | 0x40);
  id[8] = static_cast<uint8_t>((id[8] & 0x3F) | 0x80);
  return id;
}

std::array<uint8_t, 32> RandomBuffer() {
  std::array<uint8_t, 32> bytes{};
  RandomBytes(bytes.data(), bytes.size());
  return bytes;
}

std::u16string GuidText(int32_t format) {
  if (format == 2) {
    const std::array<uint8_t, 32> bytes = RandomBuffer();
    std::u16string text;
    text.reserve(64);
    for (uint8_t b : bytes) {
      text += static_cast<char16_t>(kLowerHex[b >> 4]);
      text += static_cast<char16_t>(kLowerHex[b & 15]);
    }
    return text;
  }
  ce::RegisterOle32Module();
  ce::HMODULE module = ce::LoadLibraryW(u"ole32.dll");
  if (module == nullptr) return {};
  using CreateGuid = ce::HRESULT (*)(ce::GUID*);
  auto create = reinterpret_cast<CreateGuid>(ce::GetProcAddressW(module, u"CoCreateGuid"));
  ce::GUID guid{};
  const ce::HRESULT result = create != nullptr ? create(&guid) : ce::E_FAIL;
  ce::FreeLibrary(module);
  if (result < 0) return {};
  char text[40];
  const uint8_t* d = guid.Data4;
  if (format == 0)
    std::snprintf(text, sizeof text, "%08x%04x%04x%02x%02x%02x%02x%02x%02x%02x%02x", guid.Data1,
                  guid.Data2, guid.Data3, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
  else
    std::snprintf(text, sizeof text, "{%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}",
                  guid.Data1, guid.Data2, guid.Data3, d[0], d[1], d[2], d[3], d[4], d[5], d[6],
                  d[7]);
  return Ascii(text);
}

}  // namespace tq
