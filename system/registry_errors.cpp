// Raising the registry errors with their system messages.
#include "system/registry_errors.h"

#include "frame/raise_error.h"
#include "platform/system_messages.h"
#include "platform/utf8.h"
#include "platform/windows_types.h"

namespace tq {

std::u16string SystemMessageWithCode(uint32_t code) {
  std::u16string text(ce::SystemMessageText(code).value_or(u""));
  return text + u" (" + ce::Utf8ToUtf16(std::to_string(static_cast<int32_t>(code))) + u")";
}

void MarkAccessRefused(ComponentProxy* proxy) {
  ErrorStateOf(proxy)->clearedWord2 |= 1u;
}

bool AccessRefusedMarked(const CXError* state) {
  return (state->clearedWord2 & 1u) != 0;
}

void RaiseWriteFailure(ComponentProxy* proxy, std::u16string_view keyPath,
                       std::u16string_view valueName, uint32_t code) {
  RaiseError(proxy, registry_error::kWriteFailed,
             {keyPath, valueName, SystemMessageWithCode(code)});
  if (code == ce::ERROR_ACCESS_DENIED) MarkAccessRefused(proxy);
}

void RaiseKeyFailure(ComponentProxy* proxy, std::u16string_view argument, uint32_t code) {
  RaiseError(proxy, registry_error::kKeyFailed, {argument});
  RecordSystemError(proxy, code);
  if (code == ce::ERROR_ACCESS_DENIED) MarkAccessRefused(proxy);
}

}  // namespace tq
