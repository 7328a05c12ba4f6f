// The exported entry points of libtq240std.so, with the names the VM looks up. Everything
// else in the library is hidden. Loading the module runs the static initialisation: the
// descriptor is linked into the descriptor list and the message language is set from the
// build's version marker; unloading runs the finalisers.
#include <cstdint>

#include "files/compact.h"
#include "frame/entry_points.h"

#define TQ_EXPORT extern "C" __attribute__((visibility("default")))

TQ_EXPORT int32_t CheckVersion() { return tq::entry::CheckVersion(); }
TQ_EXPORT int32_t bExternalInitLibrary(intptr_t host) { return tq::entry::InitLibrary(host); }
TQ_EXPORT void ExternalTermLibrary() { tq::entry::TermLibrary(); }
TQ_EXPORT int32_t bInitTLConvFromVM(void* vmModule, int32_t versionFrom, int32_t versionTo,
                                    intptr_t reserved) {
  return tq::entry::InitConversion(vmModule, versionFrom, versionTo, reserved);
}
TQ_EXPORT intptr_t InfoComposante(int32_t query, int32_t index) {
  return tq::entry::Information(query, index);
}
TQ_EXPORT intptr_t CommandeComposante(int32_t command, intptr_t argument) {
  return tq::entry::Command(command, argument);
}
TQ_EXPORT void* pQueryProxy(int32_t id) { return tq::entry::QueryProxy(id); }
TQ_EXPORT void DeclareProxy(int32_t* first, int16_t* second, int32_t* third, int16_t* fourth) {
  tq::entry::DeclareProxies(first, second, third, fourth);
}
TQ_EXPORT int32_t Execution(int32_t event, intptr_t* arguments, int32_t count) {
  return tq::entry::Execute(event, arguments, count);
}

namespace {

struct ModuleStatics {
  ModuleStatics() { tq::entry::LoadLibraryStatics(); }
  ~ModuleStatics() { tq::entry::UnloadLibraryStatics(); }
};
ModuleStatics gModuleStatics;

}  // namespace

// Compresses one file into another with the "-lh5-" method (files/compact.h).
TQ_EXPORT uint16_t nfCompacte(const char16_t* source, const char16_t* destination) {
  return tq::Compact(source != nullptr ? source : u"", destination != nullptr ? destination : u"");
}
