// Storage of the VM's conversion services (bound once by bInitTLConvFromVM).
#include "frame/conversion_services.h"

namespace tq {
namespace {
ConversionServices gConversion;
}  // namespace

const ConversionServices& CurrentConversionServices() { return gConversion; }
ConversionServices& MutableConversionServices() { return gConversion; }

}  // namespace tq
