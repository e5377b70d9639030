// The hidden window that owns the mail window: never shown, created with the
// first mail job; its destruction ends the message loop.
#pragma once
#include <windows.h>

namespace vsmr {

inline constexpr char kMailOwnerClassName[] = "VesmiraMailWindow";

// Registers the class once and creates the window; null when either fails.
HWND CreateMailOwnerWindow(HINSTANCE instance);

}  // namespace vsmr
