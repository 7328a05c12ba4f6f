// Window titles, special folders, the clipboard and the screen size.
#pragma once

#include <cstdint>
#include <string>

#include "frame/component_proxy.h"
#include "platform/window_types.h"

namespace tq {

// The title of `window`, or of the foreground window when `window` is null: 80140 when it is
// not a window, 80141 when the text cannot be held.
std::u16string WindowTitle(ComponentProxy* proxy, ce::HWND window, bool foreground);
// The path of special folder `folder` (0 to 29, 55, 57, 58, 67, 68); 80145 for other numbers;
// a failing shell call is a system failure.
std::u16string SpecialFolder(ComponentProxy* proxy, int32_t folder, ce::HWND owner);
// The clipboard's text ("" when there is none); a clipboard that cannot be opened is a system
// failure.
std::u16string ClipboardText(ComponentProxy* proxy, ce::HWND owner);
// Height (or width) of the clipboard's bitmap; -1 when there is none.
int32_t ClipboardBitmapSize(ce::HWND owner, bool height);
// The screen's width or height in pixels, as a signed 16-bit number.
int32_t ScreenSize(bool height);

}  // namespace tq
