// Overload choice, argument arrays, and the record of what the VM saw.
#include "host/call_runner.h"

#include "host/argument_storage.h"
#include "host/json.h"
#include "host/parameter_kinds.h"
#include "host/test_probe.h"

namespace tqhost {
namespace {

constexpr uint32_t kOpenEnded = 128;
constexpr uint32_t kDynamicCode = 31;

// Extra arguments of an open-ended overload take any form.
bool OverloadAccepts(const HostOverload& o, const std::vector<Argument>& args) {
  const bool openEnded = (o.flags & kOpenEnded) != 0;
  if (openEnded ? args.size() < o.paramCount : args.size() != o.paramCount) return false;
  for (size_t i = 0; i < o.paramCount; ++i)
    if (!Accepts(o.params[i], args[i])) return false;
  return true;
}

std::string ErrorJson(const ErrorReport& e) {
  return "{\"level\": " + std::to_string(e.level) + ", \"id\": " + std::to_string(e.id) +
         ", \"message\": " + JsonString(ToUtf8(e.message)) +
         ", \"system_code\": " + std::to_string(e.systemCode) +
         ", \"system_message\": " + JsonString(ToUtf8(e.systemMessage)) +
         ", \"diagnostics\": " + JsonString(ToUtf8(e.diagnostics)) + "}";
}

std::string ResultJson(const HostValue& v) {
  std::string out = "{\"type\": " + std::to_string(v.typeCode);
  if ((v.typeCode & 0xff) == kDynamicCode) out += ", \"value_type\": " + std::to_string(v.valueType);
  return out + ", \"value\": " + RenderJson(v) + "}";
}

std::string ProcedureCallsJson(const std::vector<ProcedureCall>& calls) {
  std::string out = "[";
  for (size_t i = 0; i < calls.size(); ++i) {
    if (i) out += ", ";
    out += "{\"procedure\": " + JsonString(calls[i].procedure) + ", \"args\": [";
    for (size_t k = 0; k < calls[i].arguments.size(); ++k)
      out += (k ? ", " : "") + RenderJson(calls[i].arguments[k]);
    out += "]}";
  }
  return out + "]";
}

}  // namespace

std::optional<CallRecord> CallRunner::Run(const std::string& functionName,
                                          const std::vector<std::string>& words,
                                          std::string* usageError) {
  const HostFunction* function = FindFunction(functionName);
  if (function == nullptr) {
    *usageError = "unknown function: " + functionName;
    return std::nullopt;
  }
  std::vector<Argument> args;
  for (const std::string& word : words) {
    std::string why;
    std::optional<Argument> a = ParseArgument(word, kept_, &why);
    if (!a) {
      *usageError = "argument " + std::to_string(args.size() + 1) + " (" + word + "): " + why;
      return std::nullopt;
    }
    args.push_back(std::move(*a));
  }
  const HostFunction& owner = OverloadOwner(*function);
  int chosen = -1;
  for (int i = 0; i < owner.overloadCount; ++i) {
    if (OverloadAccepts(owner.overloads[i], args)) {
      chosen = i;
      break;
    }
  }
  const std::string label = function->name ? function->name : std::to_string(function->id);
  if (chosen < 0) {
    *usageError = "no overload of " + label + " takes these " + std::to_string(args.size()) +
                  " argument(s)";
    return std::nullopt;
  }
  const tq::FunctionRecord* record = library_.FindRecord(function->id);
  const tq::OverloadEntry* entries = record ? library_.OverloadsOf(*record) : nullptr;
  tq::ImplementationEntry entry = ProbeEntry(function->id, chosen);
  if (entry == nullptr && entries != nullptr) entry = entries[chosen].entry;
  if (entry == nullptr) {
    *usageError = "overload " + std::to_string(chosen) + " of " + label +
                  " has no implementation entry in the library";
    return std::nullopt;
  }

  const HostOverload& overload = owner.overloads[chosen];
  ArgumentStorage storage;
  CallState& call = CurrentCall();
  call = CallState{};
  call.declaredCount = overload.paramCount;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool declared = i < overload.paramCount;
    const bool variable = args[i].form == Argument::Form::kReference;
    const HostValue value = declared ? ValueForParameter(overload.params[i], args[i])
                                     : ValueOfExtraArgument(args[i]);
    if (declared && variable)
      storage.AddVariable(overload.params[i], args[i].name, value);
    else if (declared)
      storage.Add(overload.params[i], value);
    call.arguments.push_back(value);
    call.variableNames.push_back(!declared && variable ? args[i].name : std::string());
  }

  tq::CallContext context{};
  context.services = Services();
  context.callWord = static_cast<uint32_t>(args.size() & 0xffff) | (++sequence_ << 16);
  const int32_t returned = library_.Call(entry, context, storage.pointers());

  CallRecord out;
  out.function = function->id;
  out.name = function->name ? function->name : "";
  out.overload = chosen;
  if (call.resultSet) out.result = call.result;
  out.setResultCount = call.setResultCount;
  out.error = library_.ReadErrorState();
  if (returned == 1 && context.status == 42)
    out.passback = std::make_pair(context.status, context.routine);
  out.variables = storage.ReadVariables();
  for (size_t i = overload.paramCount; i < args.size(); ++i)
    if (!call.variableNames[i].empty())
      out.variables.emplace_back(call.variableNames[i], call.arguments[i]);
  for (const auto& [name, value] : out.variables) kept_[name] = value;
  out.procedureCalls = TakeProcedureCalls();
  for (const Argument& a : args)
    if (a.form == Argument::Form::kTyped && a.value.kind == ValueKind::kProcedure)
      out.passedProcedure = true;
  return out;
}

std::string RecordJson(const CallRecord& r, bool withLine) {
  std::string out = "{";
  if (withLine) out += "\"line\": " + std::to_string(r.line) + ", ";
  out += "\"function\": " + std::to_string(r.function);
  out += ", \"name\": " + (r.name.empty() ? std::string("null") : JsonString(r.name));
  out += ", \"overload\": " + std::to_string(r.overload);
  out += ", \"result\": " + (r.result ? ResultJson(*r.result) : std::string("null"));
  out += ", \"error\": " + ErrorJson(r.error);
  out += ", \"passback\": ";
  out += r.passback ? "{\"status\": " + std::to_string(r.passback->first) +
                          ", \"routine\": " + std::to_string(r.passback->second) + "}"
                    : std::string("null");
  out += ", \"variables\": {";
  for (size_t i = 0; i < r.variables.size(); ++i) {
    if (i) out += ", ";
    out += JsonString(r.variables[i].first) + ": " + RenderJson(r.variables[i].second);
  }
  out += "}";
  if (!r.procedureCalls.empty() || r.passedProcedure) out += ", \"procedure_calls\": " + ProcedureCallsJson(r.procedureCalls);
  return out + "}";
}

std::string ClosingRecordJson(const std::vector<ProcedureCall>& calls) {
  return "{\"procedure_calls\": " + ProcedureCallsJson(calls) + "}";
}

}  // namespace tqhost
