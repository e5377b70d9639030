// A real main window for tests under Wine: created over a fresh settings
// folder, shown, and destroyed without the save sequence.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window_win.h"
#include "recording_system_win.h"
#include "support/process_counters_win.h"
#include "support/temp_dir.h"

namespace vsmr {

// A drop handle as the shell makes one: DROPFILES followed by the ANSI names.
inline HDROP MakeDrop(POINT at, const std::vector<std::string>& names) {
  std::size_t bytes = sizeof(DROPFILES) + 1;
  for (const std::string& n : names) bytes += n.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = at;
  drop->fNC = FALSE;
  drop->fWide = FALSE;
  char* p = reinterpret_cast<char*>(drop + 1);
  for (const std::string& n : names) {
    memcpy(p, n.c_str(), n.size() + 1);
    p += n.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

inline void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    ASSERT_EQ(SHGetMalloc(&allocator_), S_OK);
    state_ = std::make_unique<AppState>();
    state_->files.settings_path = dir_.Path() + "\\vsmrsys.ini";
    state_->files.command_file_path = dir_.Path() + "\\vsmrcmd.dat";
    PrepareFiles();
    static bool registered = MainWindow::RegisterWindowClass(GetModuleHandleA(nullptr));
    ASSERT_TRUE(registered);
    if (!seams_.system) seams_.system = &system_;  // never the real calls
    window_ = std::make_unique<MainWindow>(GetModuleHandleA(nullptr), *state_, allocator_, seams_);
    ASSERT_TRUE(window_->Create());
    ShowWindow(window_->hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(window_->hwnd());
    if (pump_after_create_) PumpMessages();
  }
  // Writes the files the window loads at creation (none by default) and may
  // set seams_.
  virtual void PrepareFiles() {}

  void TearDown() override {
    if (window_ && IsWindow(window_->hwnd())) DestroyWindow(window_->hwnd());
    PumpMessages();  // takes the quit message posted by the window's destruction
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    window_.reset();
    if (allocator_) allocator_->Release();
    OleUninitialize();
  }
  void Repaint() {
    RedrawWindow(window_->hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  COLORREF PixelAt(int x, int y) {
    HDC dc = GetDC(window_->hwnd());
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window_->hwnd(), dc);
    return c;
  }

  bool pump_after_create_ = true;  // false: the test sees the window as at its first paint
  TempDir dir_;
  MainWindowSeams seams_;  // the window's clock and built-ins (the real ones when null)
  RecordingSystem system_;  // no test reaches a real box, menu, shutdown or suspend
  IMalloc* allocator_ = nullptr;
  std::unique_ptr<AppState> state_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace vsmr
