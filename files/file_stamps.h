// FileDate, FileTime and FileDateTime: a file's last-write, creation or last-access time read
// as digits in the device's time zone, or set from digits.
//
// Invariants: kinds are 0 last write, 1 creation, 2 last access (anything else: error 80050);
// new values are read field by field (year of four digits, then two digits each) and refused
// with error 80051 when fewer than three fields read or the year is before 1980. The result
// of a write is the value read back from the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

struct ComponentProxy;

enum class StampForm { kDate, kTime, kDateTime };

std::u16string FileStamp(ComponentProxy* proxy, std::u16string_view file,
                         std::u16string_view newValue, int32_t kind, StampForm form);

}  // namespace tq
