// Implementation entries of passwords and pattern matching: GeneratePassword, MatchRegex and
// MatchFileLineRegex.
//
// Both matching functions are open-ended: the text (or file handle) and the pattern are
// declared; the variables that receive the captured groups are call arguments 3 and up (at
// most 128), written through the VM's references to them. MatchFileLineRegex reads one line
// of an open text file through the file handles, cut to 2048 characters.
#include <algorithm>
#include <string>

#include "files/file_handles.h"
#include "frame/argument_reference.h"
#include "frame/call_context.h"
#include "frame/error_state.h"
#include "frame/raise_error.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "numtext/password.h"
#include "numtext/pattern_match.h"

namespace tq::entries {
namespace {

constexpr uint32_t kErrorNegativeLength = 81844;
constexpr uint32_t kErrorOutOfMemory = 80041;
constexpr uint32_t kErrorInvalidHandle = 80022;
constexpr uint32_t kDeclaredMatchArguments = 2;
constexpr size_t kFileLineLimit = 2048;

std::u16string_view TextOrEmpty(void** args, int i) {
  const char16_t* text = TextArgument(args, i);
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

int32_t PasswordEntry(CallContext* c, ComponentProxy* p, int32_t length,
                      std::u16string_view characterSet) {
  const Password password = GeneratePassword(length, characterSet);
  if (password.status == PasswordStatus::kNegativeLength) RaiseError(p, kErrorNegativeLength);
  if (password.status == PasswordStatus::kOutOfMemory) RaiseError(p, kErrorOutOfMemory);
  LocalString result;
  result.assign(password.text);
  SetResult(c, result.address(), typecode::kText);
  return 0;
}

size_t CaptureVariableCount(const CallContext& c) {
  const uint32_t passed = ArgumentCount(c);
  return passed > kDeclaredMatchArguments
             ? std::min<size_t>(passed - kDeclaredMatchArguments, kMaximumCaptureVariables)
             : 0;
}

// A group's text goes to the variable as a text value (type 16); the VM converts it to the
// variable's type.
bool AssignTextToArgument(CallContext* c, uint32_t index, std::u16string_view text) {
  LocalString value;
  return value.assign(text) == kValueOk &&
         AssignArgument(c, static_cast<int32_t>(index), value.address(), typecode::kString) == 0;
}

bool AssignGroups(CallContext* c, const RegexMatcher& matcher, std::u16string_view text) {
  return DistributeGroups(matcher, text, CaptureVariableCount(*c),
                          [c](size_t i, std::u16string_view group) {
                            return AssignTextToArgument(
                                c, static_cast<uint32_t>(i) + kDeclaredMatchArguments, group);
                          });
}

}  // namespace

TQ_ENTRY(GeneratePassword_Length) {
  return PasswordEntry(context, proxy, IntegerArgument(args, 0), {});
}

TQ_ENTRY(GeneratePassword_Set) {
  return PasswordEntry(context, proxy, IntegerArgument(args, 0), TextOrEmpty(args, 1));
}

TQ_ENTRY(MatchRegex_Variables) {
  CXError* errorState = ErrorStateOf(proxy);
  const std::u16string_view text = TextOrEmpty(args, 0);
  RegexMatcher matcher;
  CompileForMatch(matcher, TextOrEmpty(args, 1), false, errorState);
  if (!MatchForCall(matcher, text, errorState)) return SetBooleanResult(context, false);
  if (CaptureVariableCount(*context) == 0) return SetBooleanResult(context, true);
  return SetBooleanResult(context, AssignGroups(context, matcher, text));
}

TQ_ENTRY(MatchFileLineRegex_Variables) {
  const int32_t handle = IntegerArgument(args, 0);
  if (handle < 2 || FindTextFile(handle) == nullptr) {
    RaiseError(proxy, kErrorInvalidHandle, {handle});
    return SetBooleanResult(context, false);
  }
  CXError* errorState = ErrorStateOf(proxy);
  std::u16string line = ReadTextLine(proxy, handle);
  if (errorState->level != 1 || line == std::u16string(1, kEndOfFileMark))
    return SetBooleanResult(context, false);  // no line (end of file or a failed read)
  if (line.size() > kFileLineLimit) line.resize(kFileLineLimit);
  RegexMatcher matcher;
  CompileForMatch(matcher, TextOrEmpty(args, 1), true, errorState);
  if (!matcher.compiled()) return SetBooleanResult(context, false);
  if (MatchForCall(matcher, line, errorState)) {
    AssignGroups(context, matcher, line);
  } else if (CaptureVariableCount(*context) > 0) {
    AssignTextToArgument(context, kDeclaredMatchArguments + 1, u"");
  }
  return SetBooleanResult(context, true);
}

}  // namespace tq::entries
