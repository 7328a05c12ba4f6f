// The VM's conversion services, bound by bInitTLConvFromVM: the entry points
// "nConversionDepassementExt" (convert a payload from one type to another into a temporary
// buffer) and "FinConversion" (release that temporary), the VM module they came from, the
// version window and the VM's value factory (its pQueryProxy id 102).
#pragma once

#include <cstdint>

namespace tq {

using ConversionEntry = int32_t (*)(const void* payload, int32_t fromType, void* result,
                                    int32_t toType, int32_t mode, int32_t reserved);
using FinishConversionEntry = int32_t (*)(void* result, int32_t toType, int32_t newTypeWord,
                                          int32_t typeWordWithFlags);
using VMQueryProxyEntry = void* (*)(int32_t id);

struct ConversionServices {
  ConversionEntry convert = nullptr;
  FinishConversionEntry finish = nullptr;
  VMQueryProxyEntry queryProxy = nullptr;
  void* vmModule = nullptr;
  int32_t versionFrom = 0;
  int32_t versionTo = 0;
  void* valueFactory = nullptr;
};

const ConversionServices& CurrentConversionServices();
ConversionServices& MutableConversionServices();

}  // namespace tq
