// How the registry functions report failures of the system's registry calls: the error ids,
// the system message "%s (%d)" that their texts insert, and the access-refused mark.
//
// The mark: when the system refuses access (ERROR_ACCESS_DENIED), bit 0 of attribute 30 of
// the error state is set for the VM to read. The error state keeps that attribute in its last
// word, which a reset clears, so the mark is set after the error is raised.
#pragma once

#include <cstdint>
#include <string>

namespace tq {

struct ComponentProxy;
struct CXError;

namespace registry_error {
inline constexpr uint32_t kKeyFailed = 80291;     // key path
inline constexpr uint32_t kEmptyKeyPath = 80292;  // 79872
inline constexpr uint32_t kWriteFailed = 80293;   // key path, value name, system message
inline constexpr uint32_t kUnknownType = 80295;   // none
inline constexpr uint32_t kUnnamedArgument = 79872;
}  // namespace registry_error

// "<system text for code> (<code>)".
std::u16string SystemMessageWithCode(uint32_t code);

// Raises 80293 (key path, value name, system message) and marks a refused access.
void RaiseWriteFailure(ComponentProxy* proxy, std::u16string_view keyPath,
                       std::u16string_view valueName, uint32_t code);

// Raises 80291 with `argument`, keeping `code` as the error state's system code; marks a
// refused access.
void RaiseKeyFailure(ComponentProxy* proxy, std::u16string_view argument, uint32_t code);

void MarkAccessRefused(ComponentProxy* proxy);
bool AccessRefusedMarked(const CXError* state);

}  // namespace tq
