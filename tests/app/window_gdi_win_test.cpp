// The real main window under the platform: painting it hundreds of times, and
// opening and closing the launcher box, must not leave GDI objects behind; the
// button icon cache reads a shared source once and gives each button its own icon.
#include "app/paint_cache_win.h"
#include "main_window_fixture_win.h"

namespace vsmr {
namespace {

TEST_F(MainWindowTest, CreatedAsTheClockStrip) {
  RECT r;
  GetWindowRect(window_->hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 88);
  EXPECT_EQ(r.bottom - r.top, 22);
  char title[128] = {};
  GetWindowTextA(window_->hwnd(), title, sizeof title);
  EXPECT_STREQ(title, kInstanceName);
  EXPECT_TRUE(GetWindowLongA(window_->hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongA(window_->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetDlgItem(window_->hwnd(), IDM_CLOSE), nullptr);
  EXPECT_NE(GetDlgItem(window_->hwnd(), IDM_TRAY_TOGGLE), nullptr);
}

TEST(ButtonIconCacheTest, ButtonsOfOneSourceEachKeepTheirOwnIcon) {
  char system[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryA(system, sizeof system), 0u);
  const std::string source = std::string(system) + "\\shell32.dll";
  ItemIconResources resources;
  resources.module = GetModuleHandleA(nullptr);
  ButtonIconCache cache;
  HICON first = cache.Get(0, source.c_str(), 3, resources);
  ASSERT_NE(first, nullptr);
  HICON second = cache.Get(1, source.c_str(), 3, resources);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  cache.Get(0, source.c_str(), 4, resources);  // the first button's icon is replaced
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(second, &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  EXPECT_EQ(cache.Get(1, source.c_str(), 3, resources), second);
}

TEST_F(MainWindowTest, PaintingDoesNotLeak) {
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

TEST_F(MainWindowTest, LauncherBoxOpensClosesWithoutLeaking) {
  HWND hwnd = window_->hwnd();
  auto toggle = [&] {
    SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
    PumpMessages();
  };
  toggle();
  toggle();
  int before = CountGdiObjects();
  for (int i = 0; i < 50; ++i) {
    toggle();
    ASSERT_NE(GetDlgItem(hwnd, IDC_LAUNCHER_BOX), nullptr);
    RECT r;
    GetWindowRect(hwnd, &r);
    ASSERT_EQ(r.right - r.left, 188);
    Repaint();
    toggle();
    ASSERT_EQ(GetDlgItem(hwnd, IDC_LAUNCHER_BOX), nullptr);
  }
  int after = CountGdiObjects();
  EXPECT_LE(after - before, 5) << "before " << before << ", after " << after;
}

TEST_F(MainWindowTest, LauncherBoxHasTenHistoryRows) {
  state_->history.Enter("first");
  state_->history.Enter("second");
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  HWND combo = GetDlgItem(window_->hwnd(), IDC_LAUNCHER_BOX);
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
