// The ComponentDescriptor: the 30-word record through which the VM finds the function,
// constant and type tables, the VM data block and the fixed values it checks. InfoComposante
// answers the VM's queries from it. At load the descriptor is linked in front of the global
// list of descriptors.
#pragma once

#include <cstdint>

namespace tq {

struct ComponentDescriptor {
  uintptr_t size;                    // 0: 120 (its size as the VM counts it: 30 words)
  const ComponentDescriptor* next;   // 1: list link
  const char16_t* const* tableA;     // 2: three empty strings and a null (query 27)
  const char16_t* const* tableB;     // 3: same shape (query 4)
  const void* functionRecords;       // 4: query 21
  const void* constants;             // 5: query 13
  const void* secondConstants;       // 6: query 15
  uintptr_t none7, none8, none9;     // 7..9: queries 23, 5, 25
  const char* const* typeList;       // 10: query 19
  const void* typeRecords;           // 11: query 17
  const void* vmDataBlock;           // 12: query 28
  uintptr_t none13;                  // 13
  void* (*proxyFactory)(int32_t id); // 14: as pQueryProxy id 60
  uintptr_t constant8;               // 15: query 1
  uintptr_t constant2;               // 16: query 32
  uintptr_t constant739;             // 17: query 2
  uintptr_t constant1;               // 18: query 3
  uintptr_t functionCount;           // 19: query 22
  uintptr_t constantCount;           // 20: query 14
  uintptr_t secondConstantCount;     // 21: query 16
  uintptr_t none22, none23, none24;  // 22..24: queries 24, 6, 26
  uintptr_t typeCount;               // 25: query 20
  uintptr_t typeRecordCount;         // 26: query 18
  uintptr_t vmDataBlockSize;         // 27: query 29
  uintptr_t none28;                  // 28
  uintptr_t constant16;              // 29
};

// The descriptor of this library and the head of the descriptor list.
const ComponentDescriptor& ThisDescriptor();
const ComponentDescriptor* DescriptorListHead();
// Links this library's descriptor in front of the list (static initialisation).
void LinkDescriptor();

// InfoComposante: the answer to `query` (with `index` for the indexed queries 4 and 27).
intptr_t AnswerQuery(int32_t query, int32_t index);

}  // namespace tq
