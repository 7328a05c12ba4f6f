// HandleTable storage: a free list threaded through released entries, fresh entries taken at
// the high-water mark, growth in steps of five.
#include "frame/handle_table.h"

#include <new>

namespace tq {

HandleTable& Handles() {
  static HandleTable table;
  return table;
}

void HandleTable::Reset() {
  ReleaseAll();
  entries_.assign(kGrowth, Entry{});
  entries_[0].first = kInUse;
  entries_[1].first = kInUse;
  highWater_ = 2;
}

intptr_t HandleTable::Add(int32_t kind, HandleObject* object) {
  size_t index;
  if (freeHead_ != kEndOfList) {
    index = static_cast<size_t>(freeHead_);
    freeHead_ = entries_[index].first;
  } else {
    if (highWater_ == entries_.size()) {
      try {
        entries_.resize(entries_.size() + kGrowth, Entry{});
      } catch (const std::bad_alloc&) {
        return -1;
      }
    }
    index = highWater_++;
  }
  entries_[index].first = kInUse;
  entries_[index].cell = new (std::nothrow) HandleCell{kind, object};
  if (entries_[index].cell == nullptr) {
    entries_[index].first = freeHead_;
    freeHead_ = static_cast<intptr_t>(index);
    return -1;
  }
  return static_cast<intptr_t>(index);
}

HandleCell* HandleTable::Find(intptr_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= highWater_) return nullptr;
  const Entry& e = entries_[static_cast<size_t>(index)];
  return e.first == kInUse ? e.cell : nullptr;
}

bool HandleTable::Remove(intptr_t index) {
  HandleCell* cell = Find(index);
  if (cell == nullptr) return false;
  delete cell->object;
  delete cell;
  Entry& e = entries_[static_cast<size_t>(index)];
  e.cell = nullptr;
  e.first = freeHead_;
  freeHead_ = index;
  return true;
}

void HandleTable::ReleaseAll() {
  for (Entry& e : entries_) {
    if (e.first == kInUse && e.cell != nullptr) {
      delete e.cell->object;
      delete e.cell;
    }
  }
  entries_.clear();
  highWater_ = 0;
  freeHead_ = kEndOfList;
}

void HandleTable::Enumerate(VMObject* callback) const {
  for (size_t i = 2; i < highWater_; ++i) {
    const Entry& e = entries_[i];
    if (e.first == kInUse && e.cell != nullptr && e.cell->object != nullptr)
      e.cell->object->Report(callback);
  }
}

}  // namespace tq
