// Implementation entries of passwords and pattern matching: GeneratePassword, MatchRegex and
// MatchFileLineRegex.
//
// MatchRegex is open-ended: the text and the pattern are declared; the variables that receive
// the captured groups are call arguments 3 and up (at most 128), written through the VM's
// references to them.
#include <algorithm>
#include <string>

#include "frame/call_context.h"
#include "frame/raise_error.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "numtext/argument_variables.h"
#include "numtext/password.h"
#include "numtext/pattern_match.h"

namespace tq::entries {
namespace {

constexpr uint32_t kErrorNegativeLength = 81844;
constexpr uint32_t kErrorOutOfMemory = 80041;
constexpr uint32_t kDeclaredMatchArguments = 2;

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

int32_t SetBooleanResult(CallContext* c, bool b) {
  const int32_t word = b ? 1 : 0;
  SetResult(c, &word, typecode::kBoolean);
  return 0;
}

size_t CaptureVariableCount(const CallContext& c) {
  const uint32_t passed = ArgumentCount(c);
  return passed > kDeclaredMatchArguments
             ? std::min<size_t>(passed - kDeclaredMatchArguments, kMaximumCaptureVariables)
             : 0;
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
  const size_t variables = CaptureVariableCount(*context);
  if (variables == 0) return SetBooleanResult(context, true);
  const bool result = DistributeGroups(
      matcher, text, variables, [&](size_t i, std::u16string_view group) {
        return AssignTextToArgument(context, static_cast<int32_t>(i + kDeclaredMatchArguments),
                                    group);
      });
  return SetBooleanResult(context, result);
}

}  // namespace tq::entries
