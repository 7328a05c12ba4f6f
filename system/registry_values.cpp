// Reading and writing registry values by name or by index.
#include "system/registry_values.h"

#include <cstring>
#include <vector>

#include "frame/dynamic_value.h"
#include "frame/vm_string.h"
#include "platform/registry.h"
#include "services/vm_buffer.h"
#include "system/key_path.h"
#include "system/registry_errors.h"

namespace tq {
namespace {

constexpr ce::DWORD kUnknownSize = 0xffffffff;
constexpr ce::DWORD kFallbackSize = 32768;

// The read that forgives an absent default value of an existing key.
RegistryData DefaultValueRead() {
  RegistryData empty;
  empty.read = true;
  empty.type = ce::REG_SZ;
  empty.bytes.assign(1, '\0');
  return empty;
}

RegistryData QueryByName(ce::HKEY key, std::u16string_view name) {
  const std::u16string n(name);
  RegistryData data;
  // Most values fit a small buffer: one query; a larger one is asked again at its size.
  ce::BYTE small[512];
  ce::DWORD type = 0, size = sizeof small;
  ce::LONG e = ce::RegQueryValueExW(key, n.c_str(), nullptr, &type, small, &size);
  if (e == ce::ERROR_SUCCESS) {
    data.bytes.assign(reinterpret_cast<const char*>(small), size);
  } else if (e == ce::ERROR_MORE_DATA) {
    data.bytes.resize(size);
    e = ce::RegQueryValueExW(key, n.c_str(), nullptr, &type,
                             reinterpret_cast<ce::BYTE*>(data.bytes.data()), &size);
    data.bytes.resize(size);
  }
  if (e == ce::ERROR_SUCCESS) {
    data.read = true;
    data.type = type;
    return data;
  }
  return name.empty() ? DefaultValueRead() : RegistryData{};
}

// Sets a DynamicValue to a VMString-holding type and assigns raw UTF-16 units.
void SetVMStringValue(DynamicValue& out, uint32_t code, const char16_t* chars, size_t count) {
  SetType(out, code);
  if (count != 0)
    Assign(*reinterpret_cast<VMString*>(out.payload), chars, static_cast<int64_t>(count));
}

}  // namespace

RegistryData ReadRegistryValue(std::u16string_view keyPath, std::u16string_view name) {
  if (keyPath.empty() && name.empty()) return {};
  OpenedKey key(keyPath);
  if (!key) return {};
  return QueryByName(key.get(), name);
}

RegistryData ReadRegistryValueAt(std::u16string_view keyPath, int32_t index) {
  OpenedKey key(keyPath);
  if (!key || index < 0) return {};
  if (index == 0) return QueryByName(key.get(), u"");
  char16_t name[16384];
  ce::DWORD nameSize = 16384, type = 0, size = kUnknownSize;
  const ce::DWORD at = static_cast<ce::DWORD>(index - 1);
  ce::LONG e = ce::RegEnumValueW(key.get(), at, name, &nameSize, nullptr, &type, nullptr, &size);
  if (e != ce::ERROR_SUCCESS) return {};
  if (size == kUnknownSize) size = kFallbackSize;
  std::vector<ce::BYTE> buffer(size);
  nameSize = 16384;
  e = ce::RegEnumValueW(key.get(), at, name, &nameSize, nullptr, &type, buffer.data(), &size);
  if (e != ce::ERROR_SUCCESS) return {};
  RegistryData data;
  data.read = true;
  data.type = type;
  data.bytes.assign(reinterpret_cast<const char*>(buffer.data()), size);
  return data;
}

void RegistryDataToValue(const RegistryData& data, DynamicValue& out) {
  const ce::DWORD type = data.read ? data.type : ce::REG_NONE;
  const size_t units = data.bytes.size() / 2;
  std::u16string chars(units, u'\0');
  if (units != 0) std::memcpy(chars.data(), data.bytes.data(), units * 2);
  uint32_t word = 0;
  std::memcpy(&word, data.bytes.data(), std::min<size_t>(4, data.bytes.size()));
  switch (type) {
    case ce::REG_NONE:
    case ce::REG_LINK:
    case ce::REG_RESOURCE_LIST:
      SetType(out, 16);
      return;
    case ce::REG_SZ: {
      // The VM's string (110) is a text object of the VM: the text is handed to it through
      // the VM's conversion (a VM that cannot convert leaves the text as a VMString).
      const size_t length = chars.find(u'\0');
      SetVMStringValue(out, 28, chars.data(), length == std::u16string::npos ? units : length);
      Convert(out, 110);
      return;
    }
    case ce::REG_EXPAND_SZ:
    case ce::REG_MULTI_SZ:
      SetVMStringValue(out, 16, chars.data(), units);
      return;
    case ce::REG_BINARY:
      SetType(out, 28);
      if (uint8_t* bytes = NewBuffer(*reinterpret_cast<VMString*>(out.payload), data.bytes.size());
          bytes != nullptr && !data.bytes.empty())
        std::memcpy(bytes, data.bytes.data(), data.bytes.size());
      return;
    case ce::REG_DWORD:
      SetInteger(out, static_cast<int32_t>(word));
      return;
    case ce::REG_DWORD_BIG_ENDIAN:
      SetInteger(out, static_cast<int32_t>(SwapHalves(word)));
      return;
    case ce::REG_QWORD: {
      uint64_t q = 0;
      std::memcpy(&q, data.bytes.data(), std::min<size_t>(8, data.bytes.size()));
      SetType(out, 5);
      std::memcpy(out.payload, &q, 8);
      return;
    }
    default:
      SetType(out, 0);
      return;
  }
}

std::u16string_view RegistryTypeName(ce::DWORD type) {
  switch (type) {
    case ce::REG_SZ:
      return u"REG_SZ";
    case ce::REG_EXPAND_SZ:
      return u"REG_EXPAND_SZ";
    case ce::REG_BINARY:
      return u"REG_BINARY";
    case ce::REG_DWORD:
      return u"REG_DWORD";
    case ce::REG_DWORD_BIG_ENDIAN:
      return u"REG_DWORD_BIG_ENDIAN";
    case ce::REG_MULTI_SZ:
      return u"REG_MULTI_SZ";
    case ce::REG_QWORD:
      return u"REG_QWORD";
    default:
      return u"";
  }
}

std::string StringBytes(std::u16string_view text, bool withTerminator) {
  std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  if (withTerminator) bytes.append(2, '\0');
  return bytes;
}

bool WriteRegistryValue(ComponentProxy* proxy, std::u16string_view keyPath,
                        std::u16string_view name, ce::DWORD type, std::string_view bytes) {
  if (keyPath.empty()) return false;
  ce::DWORD code = 0;
  OpenedKey key(keyPath, &code);
  if (!key) {
    RaiseWriteFailure(proxy, keyPath, name, code);
    return false;
  }
  const std::u16string n(name);
  code = static_cast<ce::DWORD>(ce::RegSetValueExW(key.get(), n.c_str(), 0, type,
                                                   reinterpret_cast<const ce::BYTE*>(bytes.data()),
                                                   static_cast<ce::DWORD>(bytes.size())));
  if (code != ce::ERROR_SUCCESS) {
    RaiseWriteFailure(proxy, keyPath, name, code);
    return false;
  }
  return true;
}

bool WriteRegistryValueAt(ComponentProxy* proxy, std::u16string_view keyPath, int32_t index,
                          ce::DWORD type, std::string_view bytes) {
  if (keyPath.empty()) return false;
  if (index == 0) return WriteRegistryValue(proxy, keyPath, u"", type, bytes);
  ce::DWORD code = 0;
  OpenedKey key(keyPath, &code);
  if (!key) {
    RaiseWriteFailure(proxy, keyPath, u"", code);
    return false;
  }
  if (index < 0) return false;
  char16_t name[16384];
  ce::DWORD nameSize = 16384;
  if (ce::RegEnumValueW(key.get(), static_cast<ce::DWORD>(index - 1), name, &nameSize, nullptr,
                        nullptr, nullptr, nullptr) != ce::ERROR_SUCCESS)
    return false;
  code = static_cast<ce::DWORD>(ce::RegSetValueExW(key.get(), name, 0, type,
                                                   reinterpret_cast<const ce::BYTE*>(bytes.data()),
                                                   static_cast<ce::DWORD>(bytes.size())));
  if (code != ce::ERROR_SUCCESS) {
    RaiseWriteFailure(proxy, keyPath, std::u16string_view(name, nameSize), code);
    return false;
  }
  return true;
}

}  // namespace tq
