// The numbers section of `tq240 demo`: numeric masks, disk sizes, printf-style formats and
// amounts in words.
#pragma once

namespace tqhost {

class CallRunner;

void RunNumbersDemo(CallRunner& runner);

}  // namespace tqhost
