// The HandleTable: the library's run-time table of live system objects (open files and
// streams), indexed by the handles the VM holds. Entries are two words: in use (first word -2,
// second a cell with the object's kind and pointer) or free (first word the index of the next
// free entry; -1 ends the free list). Entries above the high-water mark were never used. The
// table grows 5 entries at a time; entries 0 and 1 are reserved at start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/vm_object.h"

namespace tq {

// An object kept in the table. Report describes it to the VM's enumeration callback (kind 0
// objects as (object, 17, 522, ...), kind 1 as (stream, 18, ...)).
class HandleObject {
 public:
  virtual ~HandleObject() = default;
  virtual void Report(VMObject* callback) = 0;
};

struct HandleCell {
  int32_t kind;  // 0 or 1
  HandleObject* object;
};

class HandleTable {
 public:
  static constexpr intptr_t kInUse = -2;
  static constexpr intptr_t kEndOfList = -1;
  static constexpr size_t kGrowth = 5;

  HandleTable() = default;
  HandleTable(const HandleTable&) = delete;
  HandleTable& operator=(const HandleTable&) = delete;
  ~HandleTable() { ReleaseAll(); }

  // Empties the table and reserves entries 0 and 1.
  void Reset();
  // Takes ownership of `object`; returns its index, or -1 when memory runs out.
  intptr_t Add(int32_t kind, HandleObject* object);
  // The cell at `index`, or null when the index is not an object in use.
  HandleCell* Find(intptr_t index) const;
  // Destroys the object at `index` and frees the entry; false when not in use.
  bool Remove(intptr_t index);
  // Destroys every object in use and empties the table.
  void ReleaseAll();
  // Reports every object in use from index 2 to the high-water mark.
  void Enumerate(VMObject* callback) const;

  size_t capacity() const { return entries_.size(); }
  size_t highWater() const { return highWater_; }
  intptr_t freeHead() const { return freeHead_; }

 private:
  struct Entry {
    intptr_t first = kEndOfList;
    HandleCell* cell = nullptr;
  };
  std::vector<Entry> entries_;
  size_t highWater_ = 0;
  intptr_t freeHead_ = kEndOfList;
};

// The table of the running execution (owned by the ExecutionHost's run-time state).
HandleTable& Handles();

}  // namespace tq
