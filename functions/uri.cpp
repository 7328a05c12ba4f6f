// Implementation entry of the URI parser: UriExtract. The URI arrives as a value reference
// (any string type): a VM string as it stands, 8-bit text and numbers converted to text.
#include <optional>
#include <string>

#include "files/reference_text.h"
#include "frame/call_context.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "net/uri_extract.h"

namespace tq::entries {

TQ_ENTRY(UriExtract_Parts) {
  bool wasVMString = false;
  const std::optional<std::u16string> uri = ReferenceText(ReferenceArgument(args, 0), &wasVMString);
  LocalString result;
  if (uri) result.assign(UriExtract(*uri, IntegerArgument(args, 1)));
  SetResult(context, result.address(), typecode::kString);
  return 0;
}

}  // namespace tq::entries
