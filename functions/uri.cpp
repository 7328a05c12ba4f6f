// Implementation entry of the URI parser: UriExtract. The URI arrives as a value reference
// (any string type): a VM string (code 16 and the other VMString codes), UTF-16 text, or
// 8-bit text, which is read from code page 1252.
#include <string>

#include "frame/call_context.h"
#include "frame/text.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "net/uri_extract.h"

namespace tq::entries {
namespace {

std::u16string UriText(const ValueReference* ref) {
  if (ref == nullptr || ref->data == nullptr) return {};
  switch (ref->typeCode & 0xff) {
    case 16: case 28: case 121: case 126: case 130:
      return std::u16string(View(*static_cast<const VMString*>(ref->data)));
    case 122: case 127: case 131: {
      const char16_t* text = *static_cast<const char16_t* const*>(ref->data);
      return text != nullptr ? std::u16string(text) : std::u16string();
    }
    case 19: {
      const char* text = *static_cast<const char* const*>(ref->data);
      return text != nullptr ? Cp1252ToUtf16(text) : std::u16string();
    }
    default:
      return {};
  }
}

}  // namespace

TQ_ENTRY(UriExtract_Parts) {
  const std::u16string uri = UriText(ReferenceArgument(args, 0));
  LocalString result;
  result.assign(UriExtract(uri, IntegerArgument(args, 1), ErrorStateOf(proxy)));
  SetResult(context, result.address(), typecode::kString);
  return 0;
}

}  // namespace tq::entries
