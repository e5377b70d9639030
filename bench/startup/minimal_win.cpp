// Reference program for the start-up and idle benchmarks: one borderless, topmost
// 88 x 22 window at (0, 0) that paints a black face and the time in the clock's
// default colour and font every second, and nothing else. Built a second time with
// VSMR_LOAD_LIBRARIES, it first prepares the libraries the program needs at start-up
// (OLE, the shell allocator, Rich Edit, common controls), to tell their cost apart.
#include <windows.h>
#ifdef VSMR_LOAD_LIBRARIES
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>
#endif

#include <cstdio>

#include "app/startup_trace_win.h"

namespace {

constexpr char kClassName[] = "VesmiraStartupReference";
constexpr UINT_PTR kTickId = 1;

void PaintFace(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT face = {0, 0, 74, 22};
  FillRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                           FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック");
  HGDIOBJ old_font = SelectObject(dc, font);
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  int length = std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.wHour, now.wMinute,
                             now.wSecond);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 255, 64));
  TextOutA(dc, 21, 5, text, length);
  SelectObject(dc, old_font);
  DeleteObject(font);
  EndPaint(window, &paint);
  vsmr::TraceFirstPaint();
  vsmr::EndStartupTrace();
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      PaintFace(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER: {
      RECT face = {0, 0, 74, 22};
      InvalidateRect(window, &face, FALSE);
      return 0;
    }
    case WM_DESTROY:
      KillTimer(window, kTickId);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  vsmr::TraceStartup("program entry");
#ifdef VSMR_LOAD_LIBRARIES
  if (OleInitialize(nullptr) != S_OK) return 1;
  IMalloc* allocator = nullptr;
  SHGetMalloc(&allocator);
  HMODULE rich_edit = LoadLibraryA("RichEd32.Dll");
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&controls);
  vsmr::TraceStartup("libraries prepared");
#endif
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  window_class.lpszClassName = kClassName;
  if (!RegisterClassExA(&window_class)) return 1;
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, kClassName,
                                WS_POPUP, 0, 0, 88, 22, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  vsmr::TraceStartup("window created");
  SetTimer(window, kTickId, 1000, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
#ifdef VSMR_LOAD_LIBRARIES
  if (rich_edit) FreeLibrary(rich_edit);
  if (allocator) allocator->Release();
  OleUninitialize();
#endif
  return static_cast<int>(message.wParam);
}
