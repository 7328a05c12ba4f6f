// The descriptor of this library and the InfoComposante queries.
#include "frame/component_descriptor.h"

#include "frame/constant_tables.h"
#include "frame/function_table.h"

namespace tq {

void* QueryProxy(int32_t id);  // entry_points.cpp

namespace {

const char16_t* const kTableA[4] = {u"", u"", u"", nullptr};
const char16_t* const kTableB[4] = {u"", u"", u"", nullptr};

constexpr intptr_t kIndexedTableLength = 4;

const ComponentDescriptor* gDescriptorHead = nullptr;

ComponentDescriptor MakeDescriptor() {
  ComponentDescriptor d{};
  d.size = 120;
  d.tableA = kTableA;
  d.tableB = kTableB;
  d.functionRecords = kFunctionRecords;
  d.constants = kConstants.data();
  d.secondConstants = kSecondConstants.data();
  d.typeList = kTypeList;
  d.typeRecords = kTypeRecords;
  d.vmDataBlock = kVMDataBlock.data();
  d.proxyFactory = &QueryProxy;
  d.constant8 = 8;
  d.constant2 = 2;
  d.constant739 = 739;
  d.constant1 = 1;
  d.functionCount = kFunctionCount;
  d.constantCount = kConstantCount;
  d.secondConstantCount = kSecondConstantCount;
  d.typeCount = kTypeCount;
  d.typeRecordCount = 1;
  d.vmDataBlockSize = kVMDataBlockSize;
  d.constant16 = 16;
  return d;
}

// Built once; only its "next" link is written, at load, before the VM reads it.
ComponentDescriptor& Descriptor() {
  static ComponentDescriptor descriptor = MakeDescriptor();
  return descriptor;
}

intptr_t Address(const void* p) { return reinterpret_cast<intptr_t>(p); }
intptr_t Number(uintptr_t n) { return static_cast<intptr_t>(n); }

}  // namespace

const ComponentDescriptor& ThisDescriptor() { return Descriptor(); }
const ComponentDescriptor* DescriptorListHead() { return gDescriptorHead; }

void LinkDescriptor() {
  ComponentDescriptor& d = Descriptor();
  if (gDescriptorHead == &d) return;
  d.next = gDescriptorHead;
  gDescriptorHead = &d;
}

intptr_t AnswerQuery(int32_t query, int32_t index) {
  const ComponentDescriptor& d = Descriptor();
  switch (query) {
    case 0: return 16;
    case 1: return Number(d.constant8);
    case 2: return Number(d.constant739);
    case 3: return Number(d.constant1);
    case 4: return index >= 0 && index < kIndexedTableLength ? Address(d.tableB[index]) : 0;
    case 13: return Address(d.constants);
    case 14: return Number(d.constantCount);
    case 15: return Address(d.secondConstants);
    case 16: return Number(d.secondConstantCount);
    case 17: return Address(d.typeRecords);
    case 18: return Number(d.typeRecordCount);
    case 19: return Address(d.typeList);
    case 20: return Number(d.typeCount);
    case 21: return Address(d.functionRecords);
    case 22: return Number(d.functionCount);
    case 27: return index >= 0 && index < kIndexedTableLength ? Address(d.tableA[index]) : 0;
    case 28: return Address(d.vmDataBlock);
    case 29: return Number(d.vmDataBlockSize);
    case 32: return Number(d.constant2);
    case 33: return Address(&d);
    default: return 0;  // 5, 6, 7..12, 23..26, 30, 31 and unknown queries
  }
}

}  // namespace tq
