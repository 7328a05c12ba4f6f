// The test probe that tq240 loads when TQ_TEST_PROBE names it: implementation entries that
// stand in for chosen overloads (the catalog's real signatures) and show what the VM handed
// over, so that the tests of tq240's argument forms, output rules and VM services do not
// depend on the family functions. Each entry says below which overload it replaces and what
// it answers. Only tests load it; it is never part of the library.
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "frame/argument_reference.h"
#include "frame/call_context.h"
#include "frame/conversion_services.h"
#include "frame/dynamic_value.h"
#include "frame/function_table.h"
#include "frame/vm_controls.h"
#include "frame/vm_procedure.h"
#include "frame/vm_string.h"

namespace {

using tq::CallContext;
using tq::ComponentProxy;
using tq::DynamicValue;

int32_t TextResult(CallContext* c, const std::u16string& text) {
  tq::LocalString s;
  s.assign(text);
  tq::SetResult(c, s.address(), tq::typecode::kText);
  return 0;
}

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string Number(int64_t n) { return Ascii(std::to_string(n)); }

// A text as the VM's text object (110), converted by the VM.
void SetVMText(DynamicValue& value, std::u16string_view text) {
  tq::SetText(value, text);
  tq::Convert(value, 110);
}

// ProcessCount (): the application's string mode (VMServices 218).
int32_t StringModeEntry(CallContext* c, ComponentProxy*, void**) {
  const int32_t mode = tq::StringMode(c);
  tq::SetResult(c, &mode, tq::typecode::kInteger);
  return 0;
}

// RegistryQueryValue (text, kind, &found): writes true into the by-reference boolean and
// returns a dynamic value holding the text as type 110 (kind 110), as a buffer of its UTF-16
// bytes (28), or the number 1234567890123 (5).
int32_t DynamicKindsEntry(CallContext* c, ComponentProxy*, void** args) {
  const std::u16string text = tq::TextArgument(args, 0) ? tq::TextArgument(args, 0) : u"";
  *static_cast<int32_t*>(args[2]) = 1;
  DynamicValue result;
  switch (tq::IntegerArgument(args, 1)) {
    case 110: SetVMText(result, text); break;
    case 28: tq::SetText(result, text); break;
    case 5: {
      tq::SetType(result, 5);
      const int64_t n = 1234567890123;
      std::memcpy(result.payload, &n, 8);
      break;
    }
    default: break;
  }
  tq::SetResult(c, &result, tq::typecode::kDynamic);
  return 0;
}

// FileCreate (&variable [, n]): returns the variable's type code; with n, writes the
// variable: a text gains "!", an integer gains n.
int32_t ReferenceEntry(CallContext* c, ComponentProxy*, void** args) {
  tq::ValueReference* ref = tq::ReferenceArgument(args, 0);
  const int32_t code = static_cast<int32_t>(ref->typeCode);
  if (tq::ArgumentCount(*c) == 2) {
    if ((code & 0xff) == 16) {
      auto* s = static_cast<tq::VMString*>(ref->data);
      std::u16string text(tq::View(*s));
      tq::Assign(*s, text + u"!");
    } else if ((code & 0xff) == 8) {
      *static_cast<int32_t*>(ref->data) += tq::IntegerArgument(args, 1);
    }
  }
  tq::SetResult(c, &code, tq::typecode::kInteger);
  return 0;
}

// ListFiles (pattern, procedure): calls the procedure with (pattern, 1) and (pattern, 2);
// returns how many calls answered true.
int32_t ProcedureEntry(CallContext* c, ComponentProxy*, void** args) {
  tq::VMObject* procedure = tq::ProcedureArgument(args, 0 + 1);
  DynamicValue pattern, index;
  SetVMText(pattern, tq::TextArgument(args, 0) ? tq::TextArgument(args, 0) : u"");
  int32_t count = 0;
  for (int32_t i = 1; i <= 2; ++i) {
    tq::SetInteger(index, i);
    if (tq::CallProcedureForTruth(procedure, {&pattern, &index})) ++count;
  }
  tq::SetResult(c, &count, tq::typecode::kInteger);
  return 0;
}

// ListFiles (pattern, options): returns the options.
int32_t OptionsEntry(CallContext* c, ComponentProxy*, void** args) {
  const int32_t options = tq::IntegerArgument(args, 1);
  tq::SetResult(c, &options, tq::typecode::kInteger);
  return 0;
}

// MatchRegex (text, pattern, extra...): every extra argument is read with GetArgument and
// written back through its reference as its text followed by "!"; true when every extra
// argument was a variable.
int32_t OpenEndedEntry(CallContext* c, ComponentProxy*, void**) {
  bool all = true;
  for (uint32_t i = 3; i <= tq::ArgumentCount(*c); ++i) {
    DynamicValue value;
    tq::GetArgument(c, static_cast<int32_t>(i), &value, nullptr);
    if (value.type() != 28) tq::Convert(value, 28);
    tq::LocalString text;
    text.assign(std::u16string(tq::TextOf(value)) + u"!");
    if (tq::AssignArgument(c, static_cast<int32_t>(i), text.address(), 16) != 0) all = false;
  }
  const int32_t result = all ? 1 : 0;
  tq::SetResult(c, &result, tq::typecode::kBoolean);
  return 0;
}

// NumberToString (dynamic value): the type code the value holds.
int32_t DynamicInEntry(CallContext* c, ComponentProxy*, void** args) {
  const int32_t type = tq::DynamicArgument(args, 0)->type();
  tq::SetResult(c, &type, tq::typecode::kInteger);
  return 0;
}

// UrlEncode (8-bit text): the bytes received, in hexadecimal.
int32_t AnsiInEntry(CallContext* c, ComponentProxy*, void** args) {
  const char* bytes = *static_cast<const char* const*>(args[0]);
  std::string hex;
  char two[3];
  for (const char* p = bytes; p != nullptr && *p != '\0'; ++p) {
    std::snprintf(two, sizeof two, "%02x", static_cast<unsigned char>(*p));
    hex += two;
  }
  return TextResult(c, Ascii(hex));
}

// UrlDecode (hex): an 8-bit text result (code 19) of those bytes.
int32_t AnsiOutEntry(CallContext* c, ComponentProxy*, void** args) {
  std::string bytes;
  const char16_t* hex = tq::TextArgument(args, 0);
  for (size_t i = 0; hex != nullptr && hex[i] != 0 && hex[i + 1] != 0; i += 2)
    bytes += static_cast<char>(std::stoi(std::string{char(hex[i]), char(hex[i + 1])}, nullptr, 16));
  const char* word = bytes.c_str();
  tq::SetResult(c, &word, 19);
  return 0;
}

// EmulateKeys (control, keys): what the VM's object interface says of the control.
int32_t ControlEntry(CallContext* c, ComponentProxy*, void** args) {
  const char16_t* name = tq::ControlNameArgument(args, 0);
  const tq::VMControl control = tq::FindControl(c, name);
  std::u16string out = std::u16string(name) + u"|";
  if (!control.found()) return TextResult(c, out + u"none");
  const tq::ControlBounds b = control.bounds();
  out += Number(control.type()) + u"|" + Number(control.window()) + u"|" +
         Number(control.visible()) + Number(control.enabled()) + u"|" + Number(control.state()) +
         u"|" + Number(b.x) + u"," + Number(b.y) + u"," + Number(b.width) + u"," +
         Number(b.height) + u"|" + Number(control.innerType()) + u"|" +
         Number(control.isWindow()) + u"|" + Number(control.ToPixels(7));
  return TextResult(c, out);
}

// NewUuid () and RandomBuffer (): 16 and 32 bytes 0, 1, 2, ...
int32_t BytesEntry(CallContext* c, ComponentProxy*, uint32_t code, size_t count) {
  unsigned char bytes[32];
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(i);
  tq::SetResult(c, bytes, code);
  return 0;
}
int32_t UuidEntry(CallContext* c, ComponentProxy* p, void**) { return BytesEntry(c, p, 154, 16); }
int32_t BufferEntry(CallContext* c, ComponentProxy* p, void**) { return BytesEntry(c, p, 155, 32); }

// SharedZoneWait (zone, duration): waits the duration, returns it (code 27).
int32_t DurationEntry(CallContext* c, ComponentProxy*, void** args) {
  const int64_t ms = tq::Integer64Argument(args, 1);
  if (ms > 0 && ms < 10000) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  tq::SetResult(c, &ms, tq::typecode::kDuration);
  return 0;
}

// SharedZoneOpen (name, calls, delay, mode, procedure): keeps the procedure and calls it
// `calls` times with the name from a background thread, `delay` ms later; returns 2, or -1
// when the VM refuses to register the procedure.
std::vector<std::thread> gThreads;
std::vector<std::unique_ptr<tq::KeptProcedure>> gKept;

int32_t BackgroundEntry(CallContext* c, ComponentProxy*, void** args) {
  auto kept = std::make_unique<tq::KeptProcedure>(tq::ProcedureArgument(args, 4));
  int32_t result = -1;
  if (kept->registered()) {
    result = 2;
    const std::u16string name = tq::TextArgument(args, 0) ? tq::TextArgument(args, 0) : u"";
    const int32_t calls = tq::IntegerArgument(args, 1), delay = tq::IntegerArgument(args, 2);
    tq::VMObject* procedure = kept->get();
    gThreads.emplace_back([=] {
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      for (int32_t i = 0; i < calls; ++i) {
        DynamicValue zone;
        SetVMText(zone, name);
        tq::CallProcedure(procedure, {&zone});
      }
    });
    gKept.push_back(std::move(kept));
  }
  tq::SetResult(c, &result, tq::typecode::kInteger);
  return 0;
}

struct Replacement {
  uint32_t function;
  int32_t overload;
  tq::ImplementationEntry entry;
};

constexpr Replacement kReplacements[] = {
    {45, 0, StringModeEntry},   {71, 3, DynamicKindsEntry}, {181, 0, ReferenceEntry},
    {181, 1, ReferenceEntry},   {206, 0, ProcedureEntry},   {206, 4, OptionsEntry},
    {286, 0, OpenEndedEntry},   {298, 0, AnsiInEntry},      {299, 0, AnsiOutEntry},
    {342, 0, ControlEntry},     {392, 1, DurationEntry},    {393, 3, BackgroundEntry},
    {517, 0, UuidEntry},        {518, 0, BufferEntry},      {217, 0, DynamicInEntry},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void TqProbeStart(tq::VMObject* allocator) {
  tq::SetAllocator(allocator);
  tq::ConversionServices& vm = tq::MutableConversionServices();
  vm.convert = reinterpret_cast<tq::ConversionEntry>(dlsym(RTLD_DEFAULT, "nConversionDepassementExt"));
  vm.finish = reinterpret_cast<tq::FinishConversionEntry>(dlsym(RTLD_DEFAULT, "FinConversion"));
}

extern "C" __attribute__((visibility("default"))) tq::ImplementationEntry TqProbeEntry(
    uint32_t function, int32_t overload) {
  for (const Replacement& r : kReplacements)
    if (r.function == function && r.overload == overload) return r.entry;
  return nullptr;
}

extern "C" __attribute__((visibility("default"))) void TqProbeStop() {
  for (std::thread& t : gThreads) t.join();
  gThreads.clear();
  gKept.clear();
}
