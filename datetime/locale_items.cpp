// The process-wide cache of device locale items.
#include "datetime/locale_items.h"

#include <algorithm>
#include <array>
#include <atomic>

#include "platform/locale_info.h"

namespace tq {
namespace {

constexpr size_t kCachedCharacters = 15;
constexpr int kReadCapacity = 256;

constexpr ce::LCTYPE kItemTypes[localeitem::kCount] = {
    ce::LOCALE_ICURRDIGITS, ce::LOCALE_ICURRENCY,   ce::LOCALE_IDIGITS,
    ce::LOCALE_SCURRENCY,   ce::LOCALE_SDECIMAL,    ce::LOCALE_SSHORTDATE,
    ce::LOCALE_STHOUSAND,   ce::LOCALE_STIMEFORMAT, ce::LOCALE_INEGCURR};

struct CachedItem {
  char16_t text[kCachedCharacters + 1] = {};
  std::atomic<bool> cached{false};
};

std::array<CachedItem, localeitem::kCount> gItems;

}  // namespace

std::u16string LocaleItem(int index, std::u16string_view fallback) {
  if (index < 0 || index >= localeitem::kCount) return std::u16string(fallback);
  CachedItem& item = gItems[static_cast<size_t>(index)];
  if (item.cached.load(std::memory_order_acquire)) return std::u16string(item.text);
  char16_t buffer[kReadCapacity];
  const int written =
      ce::GetLocaleInfoW(ce::LOCALE_SYSTEM_DEFAULT, kItemTypes[index], buffer, kReadCapacity);
  if (written <= 0) return std::u16string(fallback);
  std::u16string text(buffer);
  if (!text.empty() && text.size() <= kCachedCharacters) {
    std::copy(text.begin(), text.end(), item.text);
    item.text[text.size()] = u'\0';
    item.cached.store(true, std::memory_order_release);
  }
  return text;
}

void ResetLocaleItemsForTesting() {
  for (CachedItem& item : gItems) item.cached.store(false, std::memory_order_release);
}

}  // namespace tq
