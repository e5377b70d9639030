// The main window's shared tooltip control: created once, one tip per button.
#pragma once
#include <windows.h>

namespace vsmr {

// A tooltip control (TTS_ALWAYSTIP) owned by `owner`.
HWND CreateTooltipControl(HWND owner, HINSTANCE instance);

// Replaces the tip of `tool` (a child of `owner`) by `text` over the tool's
// whole area, then sets the tip colours: blue text on white.
void RegisterTip(HWND tooltip, HWND owner, HWND tool, const char* text);

}  // namespace vsmr
