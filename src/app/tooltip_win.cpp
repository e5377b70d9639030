// The shared tooltip control (see tooltip_win.h).
#include "app/tooltip_win.h"

#include <commctrl.h>

namespace vsmr {

HWND CreateTooltipControl(HWND owner, HINSTANCE instance) {
  return CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance,
                         nullptr);
}

void RegisterTip(HWND tooltip, HWND owner, HWND tool, const char* text) {
  if (!tooltip || !tool) return;
  TOOLINFOA info{};
  // The version-2 size: the common controls of every supported system accept it.
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hinst = nullptr;
  info.lpszText = const_cast<char*>(text);
  GetClientRect(tool, &info.rect);
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageA(tooltip, TTM_SETTIPTEXTCOLOR, RGB(0, 0, 255), 0);
  SendMessageA(tooltip, TTM_SETTIPBKCOLOR, RGB(255, 255, 255), 0);
}

}  // namespace vsmr
