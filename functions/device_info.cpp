// Implementation entries of the device and system information functions: PowerAction,
// DisplayOrientations, DisplayOrientation, DeviceIMEI, DeviceIdentifier, StorageCards,
// SystemVersion, WindowTitle, SpecialFolder, ClipboardText, ClipboardBitmapSize, ScreenSize
// (PowerTimeout lives in device_power.cpp).
#include <string>

#include "frame/call_context.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "system/desktop_info.h"
#include "system/device_identity.h"
#include "system/display_settings.h"
#include "system/power_actions.h"
#include "system/system_version.h"

namespace tq::entries {
namespace {

// The application's main window, which owns the clipboard and shell calls (none: null).
ce::HWND MainWindow(CallContext* c) {
  return reinterpret_cast<ce::HWND>(CallSlot<intptr_t>(c->services, vmservice::kMainWindow));
}

// Window handles travel in a 32-bit word.
ce::HWND HandleArgument(void** args, int i) {
  return reinterpret_cast<ce::HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(
      IntegerArgument(args, i))));
}

}  // namespace

TQ_ENTRY(PowerAction_Action) {
  const int32_t done = PowerAction(proxy, IntegerArgument(args, 0)) ? 1 : 0;
  SetResult(context, &done, typecode::kBoolean);
  return 0;
}

TQ_ENTRY(DisplayOrientations_List) {
  return SetTextResult(context, DisplayOrientations(proxy));
}

TQ_ENTRY(DisplayOrientation_Read) { return SetTextResult(context, DisplayOrientation(proxy)); }

TQ_ENTRY(DisplayOrientation_Angle) {
  return SetTextResult(context, SetDisplayOrientation(proxy, TextArgument(args, 0)));
}

TQ_ENTRY(DeviceIMEI_Line) { return SetTextResult(context, DeviceImei(TextArgument(args, 0))); }

TQ_ENTRY(DeviceIdentifier_Read) { return SetTextResult(context, DeviceIdentifier(proxy)); }

TQ_ENTRY(StorageCards_List) { return SetTextResult(context, StorageCards(proxy)); }

TQ_ENTRY(SystemVersion_Name) { return SetTextResult(context, SystemVersion(proxy, 0)); }

TQ_ENTRY(SystemVersion_Kind) {
  return SetTextResult(context, SystemVersion(proxy, IntegerArgument(args, 0)));
}

TQ_ENTRY(SystemVersion_BitWidth) { return SetTextResult(context, SystemVersion(proxy, 5)); }

TQ_ENTRY(WindowTitle_Foreground) {
  return SetTextResult(context, WindowTitle(proxy, nullptr, true));
}

TQ_ENTRY(WindowTitle_Handle) {
  return SetTextResult(context, WindowTitle(proxy, HandleArgument(args, 0), false));
}

TQ_ENTRY(SpecialFolder_Windows) {
  return SetTextResult(context, SpecialFolder(proxy, 0, MainWindow(context)));
}

TQ_ENTRY(SpecialFolder_Folder) {
  return SetTextResult(context,
                       SpecialFolder(proxy, IntegerArgument(args, 0), MainWindow(context)));
}

TQ_ENTRY(ClipboardText_Text) {
  return SetTextResult(context, ClipboardText(proxy, MainWindow(context)), typecode::kText130);
}

TQ_ENTRY(ClipboardText_String) {
  return SetTextResult(context, ClipboardText(proxy, MainWindow(context)), typecode::kString);
}

TQ_ENTRY(ClipboardBitmapSize_Height) {
  return SetIntegerResult(context, ClipboardBitmapSize(MainWindow(context), true));
}

TQ_ENTRY(ClipboardBitmapSize_Width) {
  return SetIntegerResult(context, ClipboardBitmapSize(MainWindow(context), false));
}

TQ_ENTRY(ScreenSize_Width) { return SetIntegerResult(context, ScreenSize(false)); }

TQ_ENTRY(ScreenSize_Height) { return SetIntegerResult(context, ScreenSize(true)); }

}  // namespace tq::entries
