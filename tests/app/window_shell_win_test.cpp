// The real main window with launcher buttons, the notification area, its
// dialogs and the leave-room lock: the window commands, the modal boxes
// driven from a second thread as a user would answer them, and runs observed
// through the probe program.
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "main_window_fixture_win.h"
#include "support/win_files.h"

namespace vsmr {
namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// Answers a modal box from another thread: waits for a top-level window with
// `title`, hands it to `act` (which posts what a user would press), and
// remembers whether it came.
class BoxAnswer {
 public:
  BoxAnswer(const char* title, std::function<void(HWND)> act)
      : worker_([this, title, act] {
          for (int i = 0; i < 100 && !stop_; ++i) {
            if (HWND box = FindWindowA(nullptr, title); box && IsWindowVisible(box)) {
              seen_ = true;
              act(box);
              return;
            }
            Sleep(50);
          }
        }) {}
  ~BoxAnswer() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
  }
  bool Seen() {
    if (worker_.joinable()) worker_.join();
    return seen_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> seen_{false};
  std::thread worker_;
};

void Press(HWND box, int id) { PostMessageA(box, WM_COMMAND, id, 0); }

// How long a check waits for a probe run that must not come, once the window
// has handled the command that might have started it.
constexpr DWORD kQuietMs = 500;

int WidthOf(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r.right - r.left;
}

int ClientXOf(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  POINT p{r.left, r.top};
  ScreenToClient(parent, &p);
  return p.x;
}

// A window whose settings show `shown` launcher items (item n runs the probe
// copied into the folder with the argument "item<n>", quoted) and set the other keys.
class ShellWindowTest : public MainWindowTest {
 protected:
  int shown = 3;
  std::string other_settings;  // extra lines for [OtherSettings]
  std::string window_settings;  // extra lines for [UserWindowData]

  std::string ProbePath() const { return dir_.Path() + "\\probe.exe"; }
  std::string ProbeLog() const { return dir_.Path() + "\\probe.log"; }

  void PrepareFiles() override {
    CopyFileA((ProgramFolder() + "\\probe.exe").c_str(), ProbePath().c_str(), FALSE);
    std::string ini = "[UserWindowData]\r\n" + window_settings + "[OtherSettings]\r\n" +
                      other_settings + "[ButtonLauncher]\r\n";
    for (int n = 1; n <= 64; ++n) {
      char key[64];
      std::snprintf(key, sizeof key, "Launcher%02d", n);
      bool on = n <= shown;
      // A path with a blank before a quote: the program, then its parameters.
      std::string path = ProbePath() + " \"item" + std::to_string(n) + "\"";
      ini += std::string(key) + "Data=" + (on ? "1\t" : "0\t") + path + "\tcomment " +
             std::to_string(n) + "\r\n";
      ini += std::string(key) + "Icon=0\t" + ProbePath() + "\r\n";
    }
    WriteBytes(dir_.Path() + "\\vsmrsys.ini", ini);
  }

  // The probe's log once it holds `lines` lines (or after five seconds).
  std::string WaitForRuns(int lines) {
    std::string log;
    for (int i = 0; i < 100; ++i) {
      log = ReadFileText(ProbeLog());
      int n = 0;
      for (std::size_t p = log.find("\r\n"); p != std::string::npos; p = log.find("\r\n", p + 2)) ++n;
      if (n >= lines) break;
      Sleep(50);
      PumpMessages();
    }
    return log;
  }
};

class FullBarTest : public ShellWindowTest {
 protected:
  void PrepareFiles() override {
    shown = 64;
    ShellWindowTest::PrepareFiles();
  }
};

TEST_F(FullBarTest, SixtyFourButtonsAndNoMoreFollowTheCountCommands) {
  HWND hwnd = window_->hwnd();
  EXPECT_EQ(WidthOf(hwnd), 88 + 64 * 22);
  ASSERT_NE(GetDlgItem(hwnd, IDM_FIRST_BUTTON + 63), nullptr);
  EXPECT_EQ(ClientXOf(hwnd, GetDlgItem(hwnd, IDM_FIRST_BUTTON + 63)), 74 + 63 * 22);

  SendMessageA(hwnd, WM_COMMAND, IDM_APPEND_BUTTON, 0);  // a 65th button is refused
  EXPECT_EQ(WidthOf(hwnd), 88 + 64 * 22);
  EXPECT_EQ(state_->layout.button_count, 64);

  SendMessageA(hwnd, WM_COMMAND, IDM_SET_BUTTON_COUNT, 2);
  EXPECT_EQ(WidthOf(hwnd), 88 + 2 * 22);
  EXPECT_EQ(GetDlgItem(hwnd, IDM_FIRST_BUTTON + 2), nullptr);
  SendMessageA(hwnd, WM_COMMAND, IDM_REMOVE_BUTTON, 0);
  EXPECT_EQ(WidthOf(hwnd), 88 + 22);

  // The open launcher box pushes the buttons right by its length and back.
  SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  EXPECT_EQ(ClientXOf(hwnd, GetDlgItem(hwnd, IDM_FIRST_BUTTON)), 74 + 100);
  SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  EXPECT_EQ(ClientXOf(hwnd, GetDlgItem(hwnd, IDM_FIRST_BUTTON)), 74);
}

TEST_F(ShellWindowTest, NotificationAreaToggleAndIconCallback) {
  HWND hwnd = window_->hwnd();
  SendMessageA(hwnd, WM_COMMAND, IDM_TRAY_TOGGLE, 0);
  EXPECT_TRUE(window_->in_tray());
  EXPECT_FALSE(IsWindowVisible(hwnd));

  // Other icons' messages and other mouse messages leave the mode alone.
  SendMessageA(hwnd, kTrayCallbackMessage, ID_TRAY_ICON - 1, WM_LBUTTONDBLCLK);
  SendMessageA(hwnd, kTrayCallbackMessage, ID_TRAY_ICON, WM_LBUTTONDOWN);
  EXPECT_TRUE(window_->in_tray());

  // The launcher box shows the window while it is open, without leaving the mode.
  SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_TRUE(window_->in_tray());

  SendMessageA(hwnd, kTrayCallbackMessage, ID_TRAY_ICON, WM_LBUTTONDBLCLK);
  EXPECT_FALSE(window_->in_tray());
  EXPECT_TRUE(IsWindowVisible(hwnd));

  SendMessageA(hwnd, WM_COMMAND, IDM_TRAY_TOGGLE, 0);
  SendMessageA(hwnd, WM_COMMAND, IDM_LEAVE_TRAY, 0);
  EXPECT_FALSE(window_->in_tray());
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(ShellWindowTest, VersionDialogNamesTheInstanceIgnoresEscapeClosesOnOk) {
  std::string line;
  std::atomic<bool> open_after_escape{false};
  BoxAnswer answer("バージョン情報", [&](HWND box) {
    char text[128] = {};
    GetDlgItemTextA(box, IDC_VERSION_LINE, text, sizeof text);
    line = text;
    SendMessageA(box, WM_COMMAND, IDCANCEL, 0);  // what Escape sends
    open_after_escape = IsWindow(box) != FALSE;
    Press(box, IDOK);
  });
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_VERSION, 0);  // returns once the box closed
  EXPECT_TRUE(answer.Seen());
  EXPECT_TRUE(open_after_escape);
  EXPECT_EQ(line, kInstanceName);
}

TEST_F(ShellWindowTest, MenusHoldTheirCommandsInOrder) {
  auto ids = [](const char* name) {
    std::vector<int> found;
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), name);
    HMENU sub = GetSubMenu(menu, 0);
    for (int i = 0; i < GetMenuItemCount(sub); ++i) found.push_back(static_cast<int>(GetMenuItemID(sub, i)));
    DestroyMenu(menu);
    return found;
  };
  // Separators report id 0.
  EXPECT_EQ(ids("MPOPUPMENU"), (std::vector<int>{IDM_CLOSE, IDM_VERSION, IDM_OPTIONS,
                                                 IDM_TRAY_TOGGLE, 0, IDM_LAUNCHER_TOGGLE,
                                                 IDM_MAIL_CHECK}));
  EXPECT_EQ(ids("RTRAYMENU"), (std::vector<int>{IDM_OPTIONS, IDM_MAIL_CHECK, 0, IDM_LEAVE_TRAY,
                                                IDM_VERSION, IDM_CLOSE}));
}

TEST_F(ShellWindowTest, ButtonClickRunsItsItem) {
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_FIRST_BUTTON + 2, 0);
  std::string log = WaitForRuns(1);
  EXPECT_NE(log.find("\"item3\"\t"), std::string::npos) << log;
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_FIRST_BUTTON + 3, 0);  // no fourth button
  Sleep(kQuietMs);
  EXPECT_EQ(ReadFileText(ProbeLog()), log);
}

class DropRunTest : public ShellWindowTest {
 protected:
  void PrepareFiles() override {
    other_settings = "UsingDropFile=1\r\n";
    ShellWindowTest::PrepareFiles();
  }
};

TEST_F(DropRunTest, DropOnButtonRunsItemWithQuotedNames) {
  // The rightmost column of button 2 still belongs to it.
  SendMessageA(window_->hwnd(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({74 + 2 * 22 - 1, 10}, {"C:\\a b.txt", "C:\\c.txt"})),
               0);
  std::string log = WaitForRuns(1);
  EXPECT_NE(log.find(" \"item2\" \"C:\\a b.txt\" \"C:\\c.txt\"\t"), std::string::npos) << log;
  EXPECT_EQ(state_->settings.using_drop_file, 1);
}

TEST_F(ShellWindowTest, DropChoiceCancelDoesNothingThenChangeAsksAndReplacesItem) {
  HWND hwnd = window_->hwnd();
  {
    BoxAnswer cancel("ドロップファイル", [](HWND box) { Press(box, IDCANCEL); });
    SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({80, 10}, {"C:\\x.exe"})), 0);
    EXPECT_TRUE(cancel.Seen());
  }
  EXPECT_EQ(state_->settings.using_drop_file, 0);
  EXPECT_EQ(state_->settings.launcher_items[0].path.View(), ProbePath() + " \"item1\"");

  // Declining the change question keeps the item; the next drop asks again.
  {
    BoxAnswer change("ドロップファイル", [](HWND box) { Press(box, IDC_DROP_CHANGE); });
    BoxAnswer no("変更確認", [](HWND box) { Press(box, IDNO); });
    SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({80, 10}, {"C:\\x.exe"})), 0);
    EXPECT_TRUE(change.Seen());
    EXPECT_TRUE(no.Seen());
  }
  EXPECT_EQ(state_->settings.launcher_items[0].path.View(), ProbePath() + " \"item1\"");
  EXPECT_EQ(state_->settings.using_drop_file, 0);

  {
    BoxAnswer change("ドロップファイル", [](HWND box) { Press(box, IDC_DROP_CHANGE); });
    BoxAnswer yes("変更確認", [](HWND box) { Press(box, IDYES); });
    SendMessageA(hwnd, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({100, 10}, {"C:\\first.exe", "C:\\新しい.exe"})), 0);
    EXPECT_TRUE(yes.Seen());
  }
  // Button 2 (x 96-117) took the last name; the one-shot choice is spent.
  const LauncherItem& item = state_->settings.launcher_items[1];
  EXPECT_EQ(item.path.View(), "C:\\新しい.exe");
  EXPECT_EQ(item.icon_path.View(), "C:\\新しい.exe");
  EXPECT_EQ(item.comment.View(), "C:\\新しい.exe");
  EXPECT_EQ(item.icon_index, 0);
  EXPECT_EQ(state_->settings.using_drop_file, 0);
  EXPECT_EQ(ReadFileText(ProbeLog()), "");  // nothing ran along the way
}

class LockedWindowTest : public ShellWindowTest {
 protected:
  void PrepareFiles() override {
    other_settings = "LeaveRoomMode=1\r\nLeaveRoomPassword=Secret\r\n";
    ShellWindowTest::PrepareFiles();
  }
  void EnterLine(const char* text) {
    HWND hwnd = window_->hwnd();
    if (!GetDlgItem(hwnd, IDC_LAUNCHER_BOX)) SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
    HWND combo = GetDlgItem(hwnd, IDC_LAUNCHER_BOX);
    ASSERT_NE(combo, nullptr);
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    SetWindowTextA(combo, text);
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages();
  }
};

TEST_F(LockedWindowTest, OnlyThePasswordUnlocksAndNothingRunsBefore) {
  HWND hwnd = window_->hwnd();
  ASSERT_TRUE(state_->LeaveRoomMode());
  SendMessageA(hwnd, WM_COMMAND, IDM_FIRST_BUTTON, 0);
  EnterLine("secret");  // the case matters
  EXPECT_TRUE(state_->LeaveRoomMode());
  Sleep(kQuietMs);
  EXPECT_EQ(ReadFileText(ProbeLog()), "");
  EXPECT_EQ(state_->history.Entry(0), "");  // attempts are never remembered

  EnterLine("Secret");
  EXPECT_FALSE(state_->LeaveRoomMode());
  EXPECT_EQ(state_->history.Entry(0), "");
  SendMessageA(hwnd, WM_COMMAND, IDM_FIRST_BUTTON, 0);
  EXPECT_NE(WaitForRuns(1).find("\"item1\"\t"), std::string::npos);
}

// A 146 x 22 skin of one colour, as a 24-bit bottom-up BMP file.
void WriteSkin(const std::string& path, COLORREF colour) {
  constexpr int kWidth = 146, kHeight = 22;
  constexpr int kRow = (kWidth * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + kRow * kHeight;
  info.biSize = sizeof info;
  info.biWidth = kWidth;
  info.biHeight = kHeight;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  std::string row(kRow, '\0');
  for (int x = 0; x < kWidth; ++x) {
    row[3 * x] = static_cast<char>(GetBValue(colour));
    row[3 * x + 1] = static_cast<char>(GetGValue(colour));
    row[3 * x + 2] = static_cast<char>(GetRValue(colour));
  }
  for (int y = 0; y < kHeight; ++y) bytes += row;
  WriteBytes(path, bytes);
}

class SkinFileTest : public ShellWindowTest {
 protected:
  std::string SkinPath() const { return dir_.Path() + "\\skin.bmp"; }
  void PrepareFiles() override {
    WriteSkin(SkinPath(), RGB(200, 40, 40));
    window_settings = "SkinBitmapPath=" + SkinPath() + "\r\n";
    ShellWindowTest::PrepareFiles();
  }
};

TEST_F(SkinFileTest, ChangedSkinFileIsPaintedAtTheNextPaint) {
  Repaint();
  if (PixelAt(2, 2) == CLR_INVALID) GTEST_SKIP() << "no display to read back from";
  EXPECT_EQ(PixelAt(2, 2), RGB(200, 40, 40));
  EXPECT_EQ(PixelAt(74 + 1, 1), RGB(200, 40, 40));  // the first button's face

  // Same size, so only the write time tells the files apart; make sure it moves.
  WriteSkin(SkinPath(), RGB(30, 160, 90));
  HANDLE file = CreateFileA(SkinPath().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME written;
  GetSystemTimeAsFileTime(&written);
  ULARGE_INTEGER later{{written.dwLowDateTime, written.dwHighDateTime}};
  later.QuadPart += 100'000'000ull;  // ten seconds on
  written = {later.LowPart, later.HighPart};
  SetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);

  Repaint();
  EXPECT_EQ(PixelAt(2, 2), RGB(30, 160, 90));
  EXPECT_EQ(PixelAt(74 + 1, 1), RGB(30, 160, 90));
}

TEST_F(ShellWindowTest, ChangedItemIconIsPaintedAtTheNextPaint) {
  HWND button = GetDlgItem(window_->hwnd(), IDM_FIRST_BUTTON);
  ASSERT_NE(button, nullptr);
  auto icon_pixels = [&] {
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(button);
    for (int y = 3; y < 19; ++y) {
      for (int x = 3; x < 19; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(button, dc);
    return pixels;
  };
  std::vector<COLORREF> before = icon_pixels();
  if (before.front() == CLR_INVALID) GTEST_SKIP() << "no display to read back from";
  EXPECT_EQ(icon_pixels(), before);  // kept, and drawn the same

  // The test program carries the program's icons: its first one replaces the
  // probe's fallback icon at the next paint.
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  state_->settings.launcher_items[0].icon_path.Set(exe);
  EXPECT_NE(icon_pixels(), before);
}

}  // namespace
}  // namespace vsmr
