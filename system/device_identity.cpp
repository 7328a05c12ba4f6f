// IMEI through the telephony module, the identifier through the hardware call, the storage
// cards through the card module; every module is looked up by name at run time.
#include "system/device_identity.h"

#include <cstring>
#include <optional>
#include <vector>

#include "frame/raise_error.h"
#include "platform/cellular.h"
#include "platform/device_modules.h"
#include "platform/last_error.h"
#include "platform/modules.h"
#include "platform/power.h"
#include "platform/storage_cards.h"
#include "system/device_globals.h"
#include "system/system_failure.h"

namespace tq {
namespace {

constexpr uint32_t kIdentifierFailed = 80702;
constexpr ce::DWORD kApiVersion = 0x20000;

// A loaded module, freed on every path out.
class Module {
 public:
  explicit Module(const char16_t* name) : handle_(ce::LoadLibraryW(name)) {}
  ~Module() {
    if (handle_ != nullptr) ce::FreeLibrary(handle_);
  }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
  template <typename F>
  F Find(const char16_t* name) const {
    return handle_ == nullptr ? nullptr : reinterpret_cast<F>(ce::GetProcAddressW(handle_, name));
  }

 private:
  ce::HMODULE handle_;
};

struct Telephony {
  decltype(&ce::lineInitializeEx) initialize;
  decltype(&ce::lineShutdown) shutdown;
  decltype(&ce::lineNegotiateAPIVersion) negotiate;
  decltype(&ce::lineGetDevCaps) devCaps;
  decltype(&ce::lineOpen) open;
  decltype(&ce::lineNegotiateExtVersion) negotiateExt;
  decltype(&ce::lineGetGeneralInfo) generalInfo;
  decltype(&ce::lineClose) close;
};

// A variable-size telephony record of `size` bytes with its total size set.
template <typename Record>
std::vector<uint32_t> NewRecord(ce::DWORD size) {
  std::vector<uint32_t> words((size + 3) / 4, 0);
  words[0] = size;
  return words;
}

// Reads a variable-size record: first with `firstSize` bytes, then with the size it needs.
template <typename Record, typename Call>
std::optional<std::vector<uint32_t>> ReadRecord(ce::DWORD firstSize, Call call) {
  std::vector<uint32_t> words = NewRecord<Record>(firstSize);
  if (call(reinterpret_cast<Record*>(words.data())) != 0) return std::nullopt;
  const Record* r = reinterpret_cast<const Record*>(words.data());
  if (r->dwNeededSize > r->dwTotalSize) {
    words = NewRecord<Record>(r->dwNeededSize);
    if (call(reinterpret_cast<Record*>(words.data())) != 0) return std::nullopt;
  }
  return words;
}

std::u16string TextAt(const std::vector<uint32_t>& words, ce::DWORD offset, ce::DWORD size) {
  const size_t bytes = words.size() * 4;
  if (size < 2 || offset > bytes || size > bytes - offset) return u"";
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), reinterpret_cast<const char*>(words.data()) + offset, text.size() * 2);
  text.resize(std::char_traits<char16_t>::length(text.c_str()));
  return text;
}

// Chooses the line device and reads its serial number.
std::u16string ReadSerial(const Telephony& t, ce::HLINEAPP app, ce::DWORD devices,
                          std::u16string_view lineName) {
  for (ce::DWORD device = 0; device < devices; ++device) {
    ce::DWORD version = 0;
    ce::LINEEXTENSIONID extension{};
    if (t.negotiate(app, device, kApiVersion, kApiVersion, &version, &extension) != 0) continue;
    auto caps = ReadRecord<ce::LINEDEVCAPS>(292, [&](ce::LINEDEVCAPS* c) {
      return t.devCaps(app, device, version, 0, c);
    });
    if (!caps) continue;
    const auto* c = reinterpret_cast<const ce::LINEDEVCAPS*>(caps->data());
    if (!lineName.empty() && TextAt(*caps, c->dwLineNameOffset, c->dwLineNameSize) != lineName) {
      continue;
    }
    ce::HLINE line = 0;
    if (t.open(app, device, &line, version, 0, 0, 4, 20, nullptr) != 0) return u"";
    std::u16string serial;
    ce::DWORD extVersion = 0;
    if (t.negotiateExt(app, device, version, 0x10000, 0x20000, &extVersion) == 0) {
      auto info = ReadRecord<ce::LINEGENERALINFO>(
          52, [&](ce::LINEGENERALINFO* g) { return t.generalInfo(line, g); });
      if (info) {
        const auto* g = reinterpret_cast<const ce::LINEGENERALINFO*>(info->data());
        serial = TextAt(*info, g->dwSerialNumberOffset, g->dwSerialNumberSize);
      }
    }
    t.close(line);
    return serial;
  }
  return u"";
}

void AppendHex(std::u16string& out, const uint8_t* bytes, ce::DWORD count) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  for (ce::DWORD i = 0; i < count; ++i) {
    out.push_back(kDigits[bytes[i] >> 4]);
    out.push_back(kDigits[bytes[i] & 15]);
  }
}

}  // namespace

std::u16string DeviceImei(const char16_t* lineName) {
  ce::RegisterDeviceSystemModules();
  Module cellcore(u"cellcore.dll");
  Telephony t{cellcore.Find<decltype(t.initialize)>(u"lineInitializeEx"),
              cellcore.Find<decltype(t.shutdown)>(u"lineShutdown"),
              cellcore.Find<decltype(t.negotiate)>(u"lineNegotiateAPIVersion"),
              cellcore.Find<decltype(t.devCaps)>(u"lineGetDevCaps"),
              cellcore.Find<decltype(t.open)>(u"lineOpen"),
              cellcore.Find<decltype(t.negotiateExt)>(u"lineNegotiateExtVersion"),
              cellcore.Find<decltype(t.generalInfo)>(u"lineGetGeneralInfo"),
              cellcore.Find<decltype(t.close)>(u"lineClose")};
  if (!t.initialize || !t.shutdown || !t.negotiate || !t.devCaps || !t.open ||
      !t.negotiateExt || !t.generalInfo || !t.close) {
    return u"";
  }
  ce::HLINEAPP app = 0;
  ce::DWORD devices = 0, version = kApiVersion;
  ce::LINEINITIALIZEEXPARAMS params{};
  params.dwTotalSize = sizeof params;
  params.dwOptions = ce::LINEINITIALIZEEXOPTION_USEEVENT;
  if (t.initialize(&app, nullptr, nullptr, u"IMEIApp", &devices, &version, &params) != 0) {
    return u"";
  }
  std::u16string serial = ReadSerial(t, app, devices, lineName != nullptr ? lineName : u"");
  t.shutdown(app);
  return serial;
}

std::u16string DeviceIdentifier(ComponentProxy* proxy) {
  ce::HMODULE core = CoreLibrary();
  auto control = core == nullptr ? nullptr
                                 : reinterpret_cast<decltype(&ce::KernelIoControl)>(
                                       ce::GetProcAddressW(core, u"KernelIoControl"));
  if (control == nullptr) {
    RaiseError(proxy, kIdentifierFailed, {ce::GetLastError()});
    return u"";
  }
  std::vector<uint8_t> buffer(sizeof(ce::DEVICE_ID), 0);
  for (;;) {
    const ce::DWORD size = static_cast<ce::DWORD>(buffer.size());
    std::memcpy(buffer.data(), &size, sizeof size);
    ce::DWORD returned = 0;
    if (control(ce::IOCTL_HAL_GET_DEVICEID, nullptr, 0, buffer.data(), size, &returned)) break;
    const ce::DWORD error = ce::GetLastError();
    ce::DWORD needed = 0;
    std::memcpy(&needed, buffer.data(), sizeof needed);
    if (error != ce::ERROR_INSUFFICIENT_BUFFER || needed <= size) {
      RaiseError(proxy, kIdentifierFailed, {error});
      return u"";
    }
    buffer.assign(needed, 0);
  }
  ce::DEVICE_ID id;
  std::memcpy(&id, buffer.data(), sizeof id);
  const uint64_t size = buffer.size();
  if (uint64_t{id.dwPresetIDOffset} + id.dwPresetIDBytes > size ||
      uint64_t{id.dwPlatformIDOffset} + id.dwPlatformIDBytes > size) {
    RaiseError(proxy, kIdentifierFailed, {ce::ERROR_INVALID_DATA});
    return u"";
  }
  std::u16string text;
  AppendHex(text, buffer.data() + id.dwPresetIDOffset, id.dwPresetIDBytes);
  text.push_back(u'-');
  AppendHex(text, buffer.data() + id.dwPlatformIDOffset, id.dwPlatformIDBytes);
  return text;
}

std::u16string StorageCards(ComponentProxy* proxy) {
  ce::RegisterDeviceSystemModules();
  Module cards(u"note_prj.dll");
  auto first = cards.Find<decltype(&ce::FindFirstFlashCard)>(u"FindFirstFlashCard");
  auto next = cards.Find<decltype(&ce::FindNextFlashCard)>(u"FindNextFlashCard");
  auto close = cards.Find<decltype(&ce::CloseFlashCardSearch)>(u"FindClose");
  if (first == nullptr || next == nullptr || close == nullptr) {
    ReportSystemFailure(proxy, ce::GetLastError());
    return u"";
  }
  std::u16string list;
  ce::CE_FIND_DATA data{};
  ce::HANDLE search = first(&data);
  if (search == ce::kInvalidFlashCardSearch) return list;
  do {
    if (data.cFileName[0] == u'\0') continue;
    if (!list.empty()) list += u"\r\n";
    list.append(u"\\").append(data.cFileName);
  } while (next(search, &data));
  close(search);
  return list;
}

}  // namespace tq
