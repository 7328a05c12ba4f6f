// Value references and ANSI text.
#include "files/reference_text.h"

#include "frame/call_context.h"
#include "frame/vm_string.h"
#include "platform/code_pages.h"

namespace tq {

std::string AnsiBytes(std::u16string_view text) {
  if (text.empty()) return {};
  const int size = ce::WideCharToMultiByte(ce::CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    ce::WideCharToMultiByte(ce::CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            size, nullptr, nullptr);
  }
  return out;
}

std::u16string AnsiText(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = ce::MultiByteToWideChar(ce::CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                           nullptr, 0);
  std::u16string out(static_cast<size_t>(size > 0 ? size : 0), u'\0');
  if (size > 0) {
    ce::MultiByteToWideChar(ce::CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                            size);
  }
  return out;
}

std::optional<std::u16string> ReferenceText(const void* reference, bool* wasVMString) {
  *wasVMString = false;
  const auto* ref = static_cast<const ValueReference*>(reference);
  if (ref == nullptr || ref->data == nullptr) return std::nullopt;
  switch (ref->typeCode & 0xff) {
    case 16:
    case 28:
      *wasVMString = true;
      return std::u16string(View(*static_cast<const VMString*>(ref->data)));
    case 19:
      return AnsiText(*static_cast<const char* const*>(ref->data));
    case 8:
      return AnsiText(std::to_string(*static_cast<const int32_t*>(ref->data)));
    case 9:
      return AnsiText(std::to_string(*static_cast<const int64_t*>(ref->data)));
    default:
      return std::nullopt;
  }
}

}  // namespace tq
