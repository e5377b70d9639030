// The real main window under the platform: painting it hundreds of times, and
// opening and closing the launcher box, must not leave GDI objects behind.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/app_state.h"
#include "app/main_window_win.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

// GetGuiResources reports nothing under Wine: count the live GDI handles instead.
int CountGdiObjects() {
  int n = 0;
  for (UINT_PTR h = 0x20; h <= 0xFFFF; ++h) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0) ++n;
  }
  return n;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

class MainWindowGdi : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    ASSERT_EQ(SHGetMalloc(&allocator_), S_OK);
    state_ = std::make_unique<AppState>();
    state_->files.settings_path = dir_.Path() + "\\vsmrsys.ini";
    state_->files.command_file_path = dir_.Path() + "\\vsmrcmd.dat";
    static bool registered = MainWindow::RegisterWindowClass(GetModuleHandleA(nullptr));
    ASSERT_TRUE(registered);
    window_ = std::make_unique<MainWindow>(GetModuleHandleA(nullptr), *state_, allocator_);
    ASSERT_TRUE(window_->Create());
    ShowWindow(window_->hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(window_->hwnd());
    PumpMessages();
  }
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

  TempDir dir_;
  IMalloc* allocator_ = nullptr;
  std::unique_ptr<AppState> state_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowGdi, CreatedAsTheClockStrip) {
  RECT r;
  GetWindowRect(window_->hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 88);
  EXPECT_EQ(r.bottom - r.top, 22);
  char title[128] = {};
  GetWindowTextA(window_->hwnd(), title, sizeof title);
  EXPECT_STREQ(title, kInstanceName);
  EXPECT_TRUE(GetWindowLongA(window_->hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongA(window_->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetDlgItem(window_->hwnd(), kCloseButtonId), nullptr);
  EXPECT_NE(GetDlgItem(window_->hwnd(), kTrayButtonId), nullptr);
}

TEST_F(MainWindowGdi, PaintingDoesNotLeak) {
  for (int i = 0; i < 20; ++i) Repaint();  // first paints may create cached objects
  int before = CountGdiObjects();
  for (int i = 0; i < 500; ++i) Repaint();
  int after = CountGdiObjects();
  EXPECT_LE(after - before, 5) << "before " << before << ", after " << after;
  if (PixelAt(2, 2) != CLR_INVALID) {  // a display to read back from
    EXPECT_EQ(PixelAt(2, 2), RGB(0, 0, 255));  // the toggle spot of the built-in skin
    EXPECT_EQ(PixelAt(70, 4), RGB(0, 0, 0));   // the display area, right of the text
  }
}

TEST_F(MainWindowGdi, LauncherBoxOpensClosesWithoutLeaking) {
  HWND hwnd = window_->hwnd();
  auto toggle = [&] {
    SendMessageA(hwnd, WM_COMMAND, 305, 0);
    PumpMessages();
  };
  toggle();
  toggle();
  int before = CountGdiObjects();
  for (int i = 0; i < 50; ++i) {
    toggle();
    ASSERT_NE(GetDlgItem(hwnd, 802), nullptr);
    RECT r;
    GetWindowRect(hwnd, &r);
    ASSERT_EQ(r.right - r.left, 188);
    Repaint();
    toggle();
    ASSERT_EQ(GetDlgItem(hwnd, 802), nullptr);
  }
  int after = CountGdiObjects();
  EXPECT_LE(after - before, 5) << "before " << before << ", after " << after;
}

TEST_F(MainWindowGdi, LauncherBoxHasTenHistoryRows) {
  state_->history.Enter("first");
  state_->history.Enter("second");
  SendMessageA(window_->hwnd(), WM_COMMAND, 305, 0);
  HWND combo = GetDlgItem(window_->hwnd(), 802);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 10);
  char row[64] = {};
  SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(row));
  EXPECT_STREQ(row, "second");
  SendMessageA(combo, CB_GETLBTEXT, 9, reinterpret_cast<LPARAM>(row));
  EXPECT_STREQ(row, "");
}

}  // namespace
}  // namespace vsmr
