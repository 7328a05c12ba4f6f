// Form files: any text is either refused with a message or read into windows and controls
// whose names the lookup finds again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/form_description.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  std::optional<ce::FormDescription> form = ce::ParseFormDescription(text, &error);
  if (!form) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  for (const ce::FormElement& c : form->controls)
    if (form->Find(c.name) == nullptr) __builtin_trap();
  (void)form->Focused();
  return 0;
}
