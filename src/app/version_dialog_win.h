// The version dialog that the main menu and the notification menu open.
#pragma once
#include <windows.h>

namespace vsmr {

// Shows the dialog modally over `owner` and repaints the owner once it is gone.
void ShowVersionDialog(HINSTANCE instance, HWND owner);

}  // namespace vsmr
