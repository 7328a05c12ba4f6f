// The frame's globals and the descriptor of this library.
#include "frame/library_state.h"

#include "frame/entry_points.h"
#include "frame/error_definitions.h"
#include "frame/library_descriptor.h"
#include "frame/message_block.h"

namespace tq {

LibraryState& Library() {
  static LibraryState state;
  return state;
}

int32_t LanguageFromVersionMarker(const char* marker) {
  // The 14th character of the marker (index 13) names the build's language.
  for (int i = 0; i < 13; ++i)
    if (marker[i] == 0) return 12;
  switch (marker[13]) {
    case 'A': return 9;
    case 'C': return 4;
    case 'E': return 10;
    default: return 12;
  }
}

namespace {

int32_t LookupForDescriptor(MessageRequest* request) { return LookupMessage(request) ? 1 : 0; }

constexpr LibraryDescriptor kLibraryDescriptor = {
    gstErrorDef,
    static_cast<uint32_t>(kErrorDefinitionCount),
    8,
    u"tq240std.dll",
    u"24.0.156.0",
    &LookupForDescriptor,
    &entry::InitLibrary,
    &entry::TermLibrary,
    1,
    &entry::QueryProxy,
    0,
    &entry::Information,
    &entry::Execute,
    {0, 0, 0},
};

}  // namespace

const LibraryDescriptor& ThisLibrary() { return kLibraryDescriptor; }

}  // namespace tq
