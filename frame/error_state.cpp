// The error state and the raise protocol: definitions are looked up in gstErrorDef, message
// texts are loaded and formatted with their inserts, and whatever cannot be produced is
// reported in the diagnostics instead of stopping the raise.
#include "frame/error_state.h"

#include <atomic>

#include "frame/error_definitions.h"
#include "frame/library_descriptor.h"
#include "frame/message_format.h"
#include "frame/message_loader.h"
#include "platform/last_error.h"
#include "platform/local_memory.h"
#include "platform/system_messages.h"

namespace tq {
namespace {

constexpr size_t kMessageIdGrowth = 30;
constexpr size_t kNestedGrowth = 10;
constexpr std::u16string_view kLineBreak = u"\r\n";

bool ValidField(int32_t field) { return field >= 0 && field <= 7; }

void DeletingDestructor(CXError* self) { delete self; }
int32_t ReleaseOp(CXError* self) { return ReleaseReference(self); }
int32_t DuplicateText(CXError* self, int32_t field, const char16_t* text) {
  if (!ValidField(field)) return 0;
  self->text(static_cast<ErrorText>(field)).assign(text ? text : u"");
  return 1;
}
int32_t ResizeText(CXError* self, int32_t field, uint32_t characters) {
  if (!ValidField(field)) return 0;
  OwnedText& t = self->text(static_cast<ErrorText>(field));
  std::u16string resized(t.view().substr(0, characters));
  resized.resize(characters, u' ');
  t.assign(resized);
  return 1;
}
int32_t SetTextOp(CXError* self, int32_t field, const char16_t* text) {
  if (!ValidField(field)) return 0;
  OwnedText& t = self->text(static_cast<ErrorText>(field));
  if (text != nullptr && text == t.buffer()) return 1;  // already that very buffer
  t.assign(text ? text : u"");
  return 1;
}
int32_t AppendText(CXError* self, int32_t field, const char16_t* text) {
  if (!ValidField(field)) return 0;
  OwnedText& t = self->text(static_cast<ErrorText>(field));
  std::u16string joined(t.view());
  joined += text ? text : u"";
  t.assign(joined);
  return 1;
}
int32_t PrependText(CXError* self, int32_t field, const char16_t* text) {
  if (!ValidField(field)) return 0;
  OwnedText& t = self->text(static_cast<ErrorText>(field));
  std::u16string joined(text ? text : u"");
  joined += t.view();
  t.assign(joined);
  return 1;
}
void FreeText(CXError* self, int32_t field) {
  if (ValidField(field)) self->text(static_cast<ErrorText>(field)).clear();
}

CXError* AddNested(CXError* self, const LibraryDescriptor* library, uint32_t errorId,
                   const MessageArgs* args, int32_t quiet) {
  CXError* child = new CXError();
  AddReference(child);
  Raise(child, library ? *library : ThisLibrary(), errorId, args ? *args : MessageArgs{});
  if (self->nested.size() == self->nested.capacity())
    self->nested.reserve(self->nested.size() + kNestedGrowth);
  self->nested.push_back(child);
  if (quiet == 0 && self->nested.size() == 1) {
    std::u16string joined(self->message.view());
    if (!joined.empty()) joined += kLineBreak;
    joined += child->message.view();
    self->message.assign(joined);
  }
  return child;
}

void AssignFrom(CXError* self, const CXError* other) {
  if (self == other || other == nullptr) return;
  Reset(self);
  self->level = other->level;
  self->errorId = other->errorId;
  self->category = other->category;
  self->systemCode = other->systemCode;
  self->messageIds = other->messageIds;
  for (int f = 0; f <= 7; ++f)
    self->text(static_cast<ErrorText>(f)).assign(other->text(static_cast<ErrorText>(f)).view());
}

constexpr CXErrorTable kCXErrorTable = {
    &DeletingDestructor, &ReleaseOp, &DuplicateText, &ResizeText, &SetTextOp,
    &AppendText,         &FreeText,  &AddNested,     &PrependText, &AssignFrom,
};

void CopyModuleIdentity(CXError* state, const LibraryDescriptor& library, bool onlyWhenMissing) {
  if (onlyWhenMissing && !state->moduleName.empty()) return;
  state->moduleName.assign(library.moduleName);
  state->moduleVersion.assign(library.version);
}

// Loads and formats message `messageId`; on failure adds the diagnostic and returns nullopt.
std::optional<std::u16string> FormatMessageFor(CXError* state, uint32_t messageId,
                                               MessageArgs args) {
  std::optional<std::u16string> loaded = LoadMessageText(messageId);
  if (!loaded) {
    AddDiagnostic(state, Printf16("##(CXError)-Ressource <%u> non chargée##", messageId));
    return std::nullopt;
  }
  std::u16string text = FormatInserts(*loaded, args);
  if (text.empty()) {
    AddDiagnostic(state, Printf16("##(CXError)-Ressource <%u> vide. LastError = <%u>##", messageId,
                                  ce::GetLastError()));
    return std::nullopt;
  }
  return text;
}

// The message-id stack: newest first, grown 30 entries at a time.
void PushMessageId(CXError* state, uint32_t messageId) {
  if (state->messageIds.size() == state->messageIds.capacity())
    state->messageIds.reserve(state->messageIds.size() + kMessageIdGrowth);
  state->messageIds.insert(state->messageIds.begin(), messageId);
}

}  // namespace

CXError::CXError() : table(&kCXErrorTable) {}

CXError::~CXError() {
  for (CXError* child : nested) ReleaseReference(child);
}

OwnedText& CXError::text(ErrorText field) {
  switch (field) {
    case ErrorText::kMessage: return message;
    case ErrorText::kDiagnostics: return diagnostics;
    case ErrorText::kExtra: return extra;
    case ErrorText::kModuleName: return moduleName;
    case ErrorText::kModuleVersion: return moduleVersion;
    case ErrorText::kSystemMessage: return systemMessage;
    case ErrorText::kFurther1: return further1;
    case ErrorText::kFurther2: break;
  }
  return further2;
}

const OwnedText& CXError::text(ErrorText field) const {
  return const_cast<CXError*>(this)->text(field);
}

void AddReference(CXError* state) { std::atomic_ref<int32_t>(state->references).fetch_add(1); }

int32_t ReleaseReference(CXError* state) {
  const int32_t left = std::atomic_ref<int32_t>(state->references).fetch_sub(1) - 1;
  if (left <= 0) {
    delete state;
    return 0;
  }
  return left;
}

void Reset(CXError* state) {
  state->message.clear();
  state->diagnostics.clear();
  state->extra.clear();
  state->systemMessage.clear();
  state->further1.clear();
  state->further2.clear();
  state->messageIds.clear();
  state->records.clear();
  for (CXError* child : state->nested) ReleaseReference(child);
  state->nested.clear();
  state->level = kLevelNone;
  state->errorId = 0;
  state->category = 0;
  state->systemCode = 0;
  state->clearedWord = 0;
  state->clearedWord2 = 0;
}

void Raise(CXError* state, const LibraryDescriptor& library, uint32_t errorId, MessageArgs args,
           bool reset) {
  if (reset) Reset(state);
  CopyModuleIdentity(state, library, false);
  const ErrorDefinition* definition = FindErrorDefinition(errorId);
  if (definition == nullptr) {
    if (state->level != 3) state->level = 3;
    AddDiagnostic(state,
                  Printf16("##(CXError)-Pas de definition d'erreur dans gstErrorDef pour "
                           "l'identifiant <%u>##",
                           errorId));
    return;
  }
  state->errorId = errorId;
  SetMessage(state, library, definition->messageId, args);
  state->category = definition->category;
  if (definition->level != state->level) {
    if ((definition->level & 0xffff) == 1)
      Reset(state);  // informational: leaves no error
    else
      state->level = definition->level;
  }
}

void SetMessage(CXError* state, const LibraryDescriptor& library, uint32_t messageId,
                MessageArgs args) {
  CopyModuleIdentity(state, library, true);
  PushMessageId(state, messageId);
  std::optional<std::u16string> text = FormatMessageFor(state, messageId, args);
  if (!text) return;
  if (!state->message.empty()) {
    *text += kLineBreak;
    *text += state->message.view();
  }
  state->message.assign(*text);
}

void AddMessage(CXError* state, const LibraryDescriptor& library, uint32_t messageId,
                MessageArgs args) {
  CopyModuleIdentity(state, library, true);
  PushMessageId(state, messageId);
  if (std::optional<std::u16string> text = FormatMessageFor(state, messageId, args))
    AddDiagnostic(state, *text);
}

void AddDiagnostic(CXError* state, std::u16string_view text) {
  std::u16string joined(state->diagnostics.view());
  if (!joined.empty()) joined += kLineBreak;
  joined += text;
  state->diagnostics.assign(joined);
}

void RecordSystemError(CXError* state, uint32_t code) {
  state->systemCode = code;
  state->systemMessage.clear();
  if (code == 0) return;
  char16_t* buffer = nullptr;
  const uint32_t n = ce::FormatMessageW(
      ce::FORMAT_MESSAGE_FROM_SYSTEM | ce::FORMAT_MESSAGE_ALLOCATE_BUFFER |
          ce::FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char16_t*>(&buffer), 0, nullptr);
  if (n > 0 && buffer != nullptr) state->systemMessage.assign(std::u16string_view(buffer, n));
  if (buffer != nullptr) ce::LocalFree(buffer);
}

void SetSystemMessage(CXError* state, std::u16string_view text) {
  state->systemCode = 0;
  state->systemMessage.assign(text);
}

}  // namespace tq
