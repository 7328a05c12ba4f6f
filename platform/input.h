// Synthesised input: SendInput, which the device plays into the focused window, and MulDiv,
// with which callers scale points to the absolute input range.
//
// Every record passed to SendInput is appended, in order, as one JSON line to
// "<device root>/.device/input.log": keyboard {"type": 1, "wVk", "wScan", "dwFlags", "time",
// "dwExtraInfo"}, mouse {"type": 0, "dx", "dy", "mouseData", "dwFlags", "time",
// "dwExtraInfo"}. Then the device acts on it: a key becomes WM_KEYDOWN or WM_KEYUP posted to
// the window that has the focus (to the foreground window when none has); an absolute move
// places the cursor; a button event becomes the button's message posted to the window under
// the cursor.
#pragma once

#include "platform/window_types.h"

namespace ce {

// The number of records played; stops at the first record that cannot be logged (last error
// set) or whose type is unknown (ERROR_INVALID_PARAMETER).
UINT SendInput(UINT count, const INPUT* inputs, int size);

// number × numerator / denominator rounded to the nearest, computed in 64 bits; -1 when the
// denominator is 0 or the result does not fit in 32 bits.
int MulDiv(int number, int numerator, int denominator);

}  // namespace ce
