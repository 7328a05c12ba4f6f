// The records through which the VM learns the library's standard functions: FunctionRecord,
// OverloadEntry and the signature words they point to. The tables themselves are generated at
// build time from functions/catalog.txt (tools/catalog_gen) and are never written at run time.
//
// Every record is an array of machine words. Words that hold numbers the VM interprets keep
// their exact 32-bit values; words that hold a pointer are pointer-sized.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tq {

struct CallContext;
struct ComponentProxy;

// An implementation entry: (CallContext, ComponentProxy, argument array) -> 0, or 1 for the
// entries that pass the call back to the VM.
using ImplementationEntry = int32_t (*)(CallContext* context, ComponentProxy* proxy, void** args);

// A signature is a run of 32-bit words: the result type code (0 for none), one type code per
// declared parameter, then a 0 word. Runs are shared: an overload may point into the tail of
// another overload's run.
using SignatureWord = uint32_t;

struct OverloadEntry {
  ImplementationEntry entry;   // null when the library does not implement the overload
  uintptr_t reserved[3];       // always 0
  const SignatureWord* signature;
  uint32_t countAndFlags;      // bits 0..6 parameter count; bit 7 open-ended; bit 8 VM flag
};

inline constexpr uint32_t kOverloadOpenEnded = 128;  // further arguments come via GetArgument
inline constexpr uint32_t kOverloadFlag256 = 256;    // passed to the VM unchanged

struct FunctionRecord {
  uint32_t id;            // 1..529, 1282 for the type member
  uint32_t checkValue;    // 0, or the type member's check value
  uint32_t reserved[2];   // 0
  uint32_t attributeA;    // interpreted by the VM
  uint32_t attributeB;    // interpreted by the VM
  uint32_t overloadInfo;  // bits 24..31 count, 16..23 the constant 8, 0..15 owner record index
  const OverloadEntry* overloads;
};

inline constexpr uint32_t OverloadCount(const FunctionRecord& r) { return r.overloadInfo >> 24; }
inline constexpr uint32_t OverloadOwnerIndex(const FunctionRecord& r) {
  return r.overloadInfo & 0xffffu;
}

// The generated tables (functions/function_tables.cpp in the build tree).
extern const FunctionRecord kFunctionRecords[];
extern const size_t kFunctionRecordCount;  // 530 records, the type member last
extern const size_t kFunctionCount;        // 529: the records the VM counts as functions
// Attribute word A of the type member (record 1282), shared with the TypeRecord.
extern const uint32_t kTypeMemberAttribute;

}  // namespace tq
