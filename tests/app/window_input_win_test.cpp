// The real main window's reactions to clicks and dropped files: the status
// word, the toggle spot, the shutdown countdown, and where drop lists go.
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "main_window_fixture_win.h"

namespace vsmr {
namespace {

std::string ClipboardText(HWND owner) {
  std::string text;
  if (!OpenClipboard(owner)) return "(clipboard busy)";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (auto* bytes = static_cast<const char*>(GlobalLock(h))) {
      text = bytes;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboardText(HWND owner, const char* text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
  memcpy(GlobalLock(memory), text, strlen(text) + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST_F(MainWindowTest, LeftClicksClearStatusWordButToggleSpotKeepsIt) {
  HWND hwnd = window_->hwnd();
  state_->status.Set("CmdErrAD");
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(4, 4));  // the toggle spot
  EXPECT_TRUE(state_->layout.launcher_open);
  EXPECT_EQ(state_->status.Read().View(), "CmdErrAD");
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(40, 10));
  EXPECT_TRUE(state_->status.Empty());
  EXPECT_TRUE(state_->layout.launcher_open);  // only the spot toggles the box
}

TEST_F(MainWindowTest, LeftClickCancelsShutdownCountdown) {
  HWND hwnd = window_->hwnd();
  state_->shutdown_active = true;
  SetTimer(hwnd, kShutdownTimerId, 30000, nullptr);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(4, 4));
  EXPECT_FALSE(state_->shutdown_active);
  // The timer is gone: killing it again fails.
  EXPECT_FALSE(KillTimer(hwnd, kShutdownTimerId));
}

TEST_F(MainWindowTest, GripStripIsCaption) {
  HWND hwnd = window_->hwnd();
  RECT r;
  GetWindowRect(hwnd, &r);
  auto hit = [&](int x, int y) {
    return SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
  };
  EXPECT_EQ(hit(14, 3), HTCAPTION);
  EXPECT_EQ(hit(3, 15), HTCAPTION);
  EXPECT_EQ(hit(4, 4), HTCLIENT);   // the toggle spot
  EXPECT_EQ(hit(40, 10), HTCLIENT);  // the clock text
}

TEST_F(MainWindowTest, DropOnClockFacePutsQuotedNamesOnClipboard) {
  HWND hwnd = window_->hwnd();
  SendMessageA(hwnd, WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({10, 10}, {"C:\\a b.txt", "C:\\表\\c.txt"})), 0);
  EXPECT_EQ(ClipboardText(hwnd), "\"C:\\a b.txt\" \"C:\\表\\c.txt\"");
}

TEST_F(MainWindowTest, DropOnLauncherBoxAppendsWithoutBlank) {
  HWND hwnd = window_->hwnd();
  SendMessageA(hwnd, WM_COMMAND, 305, 0);
  HWND combo = GetDlgItem(hwnd, 802);
  ASSERT_NE(combo, nullptr);
  SetWindowTextA(combo, "open");
  SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({120, 10}, {"C:\\x.txt"})),
               0);
  char text[64] = {};
  GetWindowTextA(combo, text, sizeof text);
  EXPECT_STREQ(text, "open\"C:\\x.txt\"");
}

TEST_F(MainWindowTest, DropsAreIgnoredWhileLocked) {
  HWND hwnd = window_->hwnd();
  SetClipboardText(hwnd, "before");
  state_->settings.leave_room_mode = 1;
  SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({10, 10}, {"C:\\a.txt"})),
               0);
  EXPECT_EQ(ClipboardText(hwnd), "before");
}

TEST_F(MainWindowTest, LockedLauncherBoxEchoesAsterisks) {
  HWND hwnd = window_->hwnd();
  state_->settings.leave_room_mode = 1;
  SendMessageA(hwnd, WM_COMMAND, 305, 0);
  HWND combo = GetDlgItem(hwnd, 802);
  ASSERT_NE(combo, nullptr);
  HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0), '*');
}

TEST_F(MainWindowTest, EnterRunsLineEntersHistoryAndClosesBox) {
  HWND hwnd = window_->hwnd();
  SendMessageA(hwnd, WM_COMMAND, 305, 0);
  HWND combo = GetDlgItem(hwnd, 802);
  ASSERT_NE(combo, nullptr);
  HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  // A name the shell cannot open: the run fails quietly, the line is kept.
  SetWindowTextA(combo, "vsmr-no-such-program-here");
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_EQ(GetDlgItem(hwnd, 802), nullptr);
  EXPECT_EQ(state_->history.Entry(0), "vsmr-no-such-program-here");
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 88);

  state_->keep_launcher_open = true;
  SendMessageA(hwnd, WM_COMMAND, 305, 0);
  combo = GetDlgItem(hwnd, 802);
  edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  SetWindowTextA(combo, "vsmr-second-line");
  SendMessageA(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, At(3, 3));  // the same as Enter
  PumpMessages();
  EXPECT_NE(GetDlgItem(hwnd, 802), nullptr);
  EXPECT_EQ(state_->history.Entry(0), "vsmr-second-line");
  EXPECT_EQ(state_->history.Entry(1), "vsmr-no-such-program-here");
}

TEST_F(MainWindowTest, OtherThreadsHandLinesToTheWindowThread) {
  HWND hwnd = window_->hwnd();
  // A command that names itself: the run nests past the limit and says so.
  state_->commands.count = 1;
  state_->commands.entries[0].name.Set("loop");
  state_->commands.entries[0].body.Set("loop");
  DWORD ui_thread = GetCurrentThreadId();
  LRESULT result = -1;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    result = SendMessageA(hwnd, kRunLineMessage, static_cast<WPARAM>(-2),
                          reinterpret_cast<LPARAM>("loop"));
    done = true;
    PostThreadMessageA(ui_thread, WM_NULL, 0, 0);
  });
  MSG msg;
  while (!done && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  worker.join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(state_->status.Read().View(), "CmndErrN");
}

}  // namespace
}  // namespace vsmr
