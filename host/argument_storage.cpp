// Argument storage: payloads laid out by type code, value references, variables read back.
#include "host/argument_storage.h"

#include <cstring>

#include "host/parameter_kinds.h"
#include "host/vm_objects.h"

namespace tqhost {
namespace {

template <typename T>
void* PutWord(unsigned char* word, T value) {
  std::memcpy(word, &value, sizeof value);
  return word;
}

}  // namespace

uint32_t VariableCode(const HostValue& v) {
  switch (v.kind) {
    case ValueKind::kInteger: return 8;
    case ValueKind::kBoolean: return 1;
    case ValueKind::kInteger64: return 9;
    case ValueKind::kReal: return 12;
    case ValueKind::kCurrency: return 10;
    case ValueKind::kDate: return 24;
    case ValueKind::kTime: return 25;
    case ValueKind::kDateTime: return 26;
    case ValueKind::kDuration: return 27;
    case ValueKind::kArray: return 140;
    case ValueKind::kBuffer: return 28;
    default: return 16;  // texts live in a VMString
  }
}

ArgumentStorage::~ArgumentStorage() {
  for (auto& slot : slots_) tq::Release(slot->string);
}

namespace {

// Writes `value` into `slot` as the payload of type `code`; returns the address the argument
// array (or a reference) points to.
template <typename SlotT>
void* Store(SlotT& slot, uint32_t code, const HostValue& value) {
  const uint8_t base = static_cast<uint8_t>(code & 0xff);
  switch (base) {
    case 122: case 127: case 131: {
      slot.text = value.text;
      const char16_t* p = value.kind == ValueKind::kNullText ? nullptr : slot.text.c_str();
      return PutWord(slot.word, p);
    }
    case 57:  // a control reference: the control's name, resolved by the VM's lookup
      slot.text = value.text;
      return PutWord(slot.word, slot.text.c_str());
    case 67:
      return PutWord(slot.word, ProcedureNamed(value.text));
    case 19:
      slot.bytes = value.kind == ValueKind::kAnsiText ? value.bytes : EncodeAnsi(value.text);
      return PutWord(slot.word, slot.bytes.c_str());
    case 16: case 28: case 121: case 126: case 130:
      if (value.kind == ValueKind::kBuffer)
        AssignBuffer(slot.string, value.bytes);
      else
        tq::Assign(slot.string, value.text);
      return &slot.string;
    case 31:
      slot.dynamic = std::make_unique<tq::DynamicValue>();
      FillDynamic(value, *slot.dynamic);
      return slot.dynamic.get();
    case 140:
      return PutWord(slot.word, NewArray(value.elements));
    case 24: case 25: {
      std::u16string text = value.text.substr(0, base == 24 ? 8 : 9);
      std::memcpy(slot.word, text.c_str(), (text.size() + 1) * 2);
      return slot.word;
    }
    case 26: {
      int64_t packed = 0;
      for (char16_t c : value.text) packed = packed * 10 + (c - u'0');
      return PutWord(slot.word, packed);
    }
    case 9: case 5: case 29: case 27: case 132: case 10:
      std::memcpy(slot.word, &value.integer, 8);
      if (base == 10 && value.integer < 0) std::memset(slot.word + 8, 0xff, 2);
      return slot.word;
    case 12:
      return PutWord(slot.word, value.kind == ValueKind::kReal
                                    ? value.real
                                    : static_cast<double>(value.integer));
    case 14: case 15:
      return PutWord(slot.word, static_cast<intptr_t>(value.integer));
    default:
      return PutWord(slot.word, static_cast<int32_t>(value.integer));
  }
}

}  // namespace

void ArgumentStorage::Add(uint32_t code, const HostValue& value) {
  auto slot = std::make_unique<Slot>();
  if (ClassOf(code) == ParamClass::kReference) {
    const uint32_t variableCode = VariableCode(value);
    slot->reference.data = Store(*slot, variableCode, value);
    slot->reference.typeCode = variableCode;
    pointers_.push_back(&slot->reference);
  } else {
    pointers_.push_back(Store(*slot, code, value));
  }
  slots_.push_back(std::move(slot));
}

void ArgumentStorage::AddVariable(uint32_t code, const std::string& name, const HostValue& value) {
  Add(code, value);
  slots_.back()->variable = name;
  if (ClassOf(code) != ParamClass::kReference) slots_.back()->variableCode = code & 0xff;
}

std::vector<std::pair<std::string, HostValue>> ArgumentStorage::ReadVariables() const {
  std::vector<std::pair<std::string, HostValue>> out;
  for (const auto& slot : slots_) {
    if (slot->variable.empty()) continue;
    if (slot->variableCode != 0) {
      out.emplace_back(slot->variable, ReadPayload(pointers_[static_cast<size_t>(
                                                       &slot - slots_.data())],
                                                   slot->variableCode));
      continue;
    }
    const uint32_t code = slot->reference.typeCode;
    out.emplace_back(slot->variable, (code & 0xff) == 28 ? ReadBufferPayload(slot->reference.data)
                                                         : ReadPayload(slot->reference.data, code));
  }
  return out;
}

}  // namespace tqhost
