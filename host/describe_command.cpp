// tq240 describe FUNCTION: one function as a user reads it: its id and name, each overload
// with its parameter and result types in words, its flags and whether the library implements
// it, and the error ids the function can raise with their messages in the current language.
//
// The messages are asked of the loaded library (CommandeComposante 3, the VM's own way to load
// a message text); the stand-in maps an error id to its message id with its copy of the error
// definitions, as it keeps its own copy of the function catalog.
#include <cstdio>
#include <string>

#include "frame/error_definitions.h"
#include "host/commands.h"
#include "host/function_catalog.h"
#include "host/host_value.h"
#include "host/json.h"

namespace tqhost {
namespace {

// A parameter or result type code in words.
std::string TypeInWords(uint32_t code) {
  switch (code) {
    case 0:
      return "nothing";
    case 1:
      return "boolean";
    case 0x4001:
      return "boolean written back";
    case 8:
      return "integer";
    case 9:
      return "8-byte integer";
    case 10:
      return "currency";
    case 12:
      return "real";
    case 14:
      return "system handle";
    case 16:
      return "VM string";
    case 19:
      return "8-bit text";
    case 24:
      return "date";
    case 25:
      return "time";
    case 26:
      return "date-time";
    case 27:
    case 0x150084:
      return "duration";
    case 28:
      return "buffer";
    case 31:
      return "any value";
    case 57:
      return "control";
    case 67:
      return "procedure";
    case 75:
      return "chosen at run time";
    case 80:
      return "value";
    case 0x8050:
      return "variable";
    case 121:
    case 122:
    case 126:
    case 130:
    case 131:
      return "text";
    case 127:
      return "name";
    case 0x807a:
      return "optional text";
    case 140:
      return "array";
    case 154:
      return "16-byte identifier";
    case 155:
      return "32-byte random buffer";
    default:
      return "type " + std::to_string(code);
  }
}

// The message of an error id in the library's current language; empty when it has none.
std::string ErrorMessage(LibrarySession& library, uint32_t errorId) {
  const tq::ErrorDefinition* definition = tq::FindErrorDefinition(errorId);
  if (definition == nullptr || definition->messageId == 0) return "";
  char16_t text[1024] = {};
  intptr_t block[5] = {0, static_cast<intptr_t>(definition->messageId),
                       reinterpret_cast<intptr_t>(text), 1024, 0};
  if (library.exports().command(3, reinterpret_cast<intptr_t>(block)) == 0) return "";
  return ToUtf8(text);
}

std::string Signature(const HostFunction& f, const HostOverload& o) {
  std::string out = std::string(f.name ? f.name : "-") + "(";
  for (int p = 0; p < o.paramCount; ++p) out += (p ? ", " : "") + TypeInWords(o.params[p]);
  if (o.flags & 128) out += std::string(o.paramCount ? ", " : "") + "...";
  out += ")";
  if (o.result != 0) out += " -> " + TypeInWords(o.result);
  return out;
}

}  // namespace

int DescribeFunction(LibrarySession& library, const Options& options) {
  if (options.rest.empty()) {
    std::fprintf(stderr, "tq240: describe needs a function\n");
    return 2;
  }
  const HostFunction* f = FindFunction(options.rest[0]);
  if (f == nullptr) {
    std::fprintf(stderr, "tq240: unknown function %s\n", options.rest[0].c_str());
    return 2;
  }
  const HostFunction& owner = OverloadOwner(*f);
  const tq::FunctionRecord* record = library.FindRecord(f->id);
  const tq::OverloadEntry* entries = record ? library.OverloadsOf(*record) : nullptr;
  std::string out;
  if (options.json) {
    out = "{\"id\": " + std::to_string(f->id) +
          ", \"name\": " + (f->name ? JsonString(f->name) : std::string("null")) +
          ", \"uses\": " + std::to_string(owner.id) + ", \"overloads\": [";
  } else {
    out = std::to_string(f->id) + " " + (f->name ? f->name : "-");
    if (&owner != f) out += " (overloads of " + std::to_string(owner.id) + ")";
    out += "\n";
  }
  for (int k = 0; k < owner.overloadCount; ++k) {
    const HostOverload& o = owner.overloads[k];
    const bool implemented = entries != nullptr && entries[k].entry != nullptr;
    if (options.json) {
      std::string params;
      for (int p = 0; p < o.paramCount; ++p)
        params += (p ? ", " : "") + JsonString(TypeInWords(o.params[p]));
      out += std::string(k ? ", " : "") + "{\"overload\": " + std::to_string(k) +
             ", \"result\": " + JsonString(TypeInWords(o.result)) + ", \"params\": [" + params +
             "], \"open_ended\": " + ((o.flags & 128) ? "true" : "false") +
             ", \"passed_to_vm\": " + ((o.flags & 256) ? "true" : "false") +
             ", \"implemented\": " + (implemented ? "true" : "false") + "}";
    } else {
      out += "  " + std::to_string(k) + "  " + Signature(*f, o);
      if (o.flags & 256) out += "  [passed to the VM]";
      out += implemented ? "  implemented\n" : "  not implemented\n";
    }
  }
  if (options.json)
    out += "], \"errors\": [";
  else if (f->errorCount)
    out += "errors:\n";
  for (int e = 0; e < f->errorCount; ++e) {
    const std::string message = ErrorMessage(library, f->errors[e]);
    if (options.json)
      out += std::string(e ? ", " : "") + "{\"id\": " + std::to_string(f->errors[e]) +
             ", \"message\": " + JsonString(message) + "}";
    else if (tq::FindErrorDefinition(f->errors[e]) == nullptr)
      out += "  " + std::to_string(f->errors[e]) + "  (no error definition: raised as undefined)\n";
    else
      out += "  " + std::to_string(f->errors[e]) + "  " + message + "\n";
  }
  if (options.json) out += "]}\n";
  std::fputs(out.c_str(), stdout);
  return 0;
}

}  // namespace tqhost
