// CXError: the error state of one ComponentProxy, read by the VM after every call.
//
// Invariants: level 1 means "no error"; any raise starts from a reset state except where a
// caller raises without reset on purpose; the message field holds the texts raised since the
// last reset, newest first, separated by CR LF; the diagnostics field collects what the frame
// could not produce ("##(CXError)-...##"). Texts are private UTF-16 buffers on the process heap.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/message_args.h"
#include "frame/text.h"

namespace tq {

struct CXError;
struct LibraryDescriptor;

// The text fields that the text operations (slots 2 to 6) address.
enum class ErrorText : int32_t {
  kMessage = 0,
  kDiagnostics = 1,
  kExtra = 2,
  kModuleName = 3,
  kModuleVersion = 4,
  kSystemMessage = 5,
  kFurther1 = 6,
  kFurther2 = 7,
};

struct CXErrorTable {
  void (*deletingDestructor)(CXError* self);                                       // 0
  int32_t (*release)(CXError* self);                                               // 1
  int32_t (*duplicateText)(CXError* self, int32_t field, const char16_t* text);    // 2
  int32_t (*resizeText)(CXError* self, int32_t field, uint32_t characters);        // 3
  int32_t (*setText)(CXError* self, int32_t field, const char16_t* text);          // 4
  int32_t (*appendText)(CXError* self, int32_t field, const char16_t* text);       // 5
  void (*freeText)(CXError* self, int32_t field);                                  // 6
  CXError* (*addNested)(CXError* self, const LibraryDescriptor* library, uint32_t errorId,
                        const MessageArgs* args, int32_t quiet);                   // 7
  int32_t (*prependText)(CXError* self, int32_t field, const char16_t* text);      // 8
  void (*assignFrom)(CXError* self, const CXError* other);                         // 9
};

// A 16-byte element of the error state's second array (kept, cleared on reset).
struct ErrorRecord16 {
  uint32_t words[4];
};

struct CXError {
  const CXErrorTable* table;
  int32_t references = 0;
  uint32_t level = 1;
  uint32_t errorId = 0;
  OwnedText message;
  OwnedText diagnostics;
  OwnedText extra;
  OwnedText moduleName;
  OwnedText moduleVersion;
  uint32_t clearedWord = 0;
  uint32_t category = 0;
  std::vector<uint32_t> messageIds;  // newest at index 0; grows by 30
  std::vector<ErrorRecord16> records;  // grows by 30
  uint32_t systemCode = 0;
  OwnedText systemMessage;
  OwnedText further1;
  OwnedText further2;
  std::vector<CXError*> nested;  // created on demand; grows by 10
  uint32_t constant8 = 8;
  uint32_t clearedWord2 = 0;

  CXError();
  ~CXError();
  CXError(const CXError&) = delete;
  CXError& operator=(const CXError&) = delete;

  OwnedText& text(ErrorText field);
  const OwnedText& text(ErrorText field) const;
};

inline constexpr uint32_t kLevelNone = 1;

void AddReference(CXError* state);
int32_t ReleaseReference(CXError* state);

// Frees every text, empties the arrays and nested list: level 1, id 0, category 0, code 0.
void Reset(CXError* state);

// Looks the error id up in the library's definitions and records it (after a reset, or on top
// of the current state with `reset` false).
void Raise(CXError* state, const LibraryDescriptor& library, uint32_t errorId, MessageArgs args,
           bool reset = true);
// Formats a message and puts it in front of the message field.
void SetMessage(CXError* state, const LibraryDescriptor& library, uint32_t messageId,
                MessageArgs args);
// Formats a message and appends it to the diagnostics.
void AddMessage(CXError* state, const LibraryDescriptor& library, uint32_t messageId,
                MessageArgs args);
// Appends a diagnostic text as it stands (CR LF before it when the field is not empty).
void AddDiagnostic(CXError* state, std::u16string_view text);
// Stores the platform error code and its system message text (code 0 clears both).
void RecordSystemError(CXError* state, uint32_t code);
// Clears the system code and sets the system message to a formatted text.
void SetSystemMessage(CXError* state, std::u16string_view text);

}  // namespace tq
