// The real main window applying the settings it loads (its place, the
// launcher box, the notification area), handing its live values to the save
// when it closes, putting the options dialog's OK into effect, naming the
// lines of the command file it left unread, and saying when a save fails.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <commctrl.h>

#include "base/resource_ids.h"
#include "main_window_fixture_win.h"
#include "support/dialog_driver_win.h"
#include "support/win_files.h"

namespace vsmr {
namespace {

class LoadedWindowTest : public MainWindowTest {
 protected:
  std::string SettingsPath() const { return dir_.Path() + "\\vsmrsys.ini"; }
  void PrepareFiles() override {
    std::ofstream(SettingsPath(), std::ios::binary)
        << "[UserWindowData]\r\nCommandLineLauncher=1\r\nWindowPositionX=37\r\n"
           "WindowPositionY=41\r\nInTaskOrNot=1\r\n[CommandLineLauncher]\r\nHotKey=0\r\n";
  }
  std::string SavedSettings() const {
    std::ifstream in(SettingsPath(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
};

TEST_F(LoadedWindowTest, StartsWhereItWasWithTheBoxOpenInTheTray) {
  HWND hwnd = window_->hwnd();
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(37, rect.left);
  EXPECT_EQ(41, rect.top);
  EXPECT_TRUE(state_->layout.launcher_open);
  HWND combo = FindWindowExA(hwnd, nullptr, "ComboBox", nullptr);
  ASSERT_NE(nullptr, combo);
  EXPECT_TRUE(IsWindowVisible(combo));
  EXPECT_TRUE(window_->in_tray());
}

TEST_F(LoadedWindowTest, CloseSavesWhereTheWindowIsAndWhetherTheBoxStaysOpen) {
  HWND hwnd = window_->hwnd();
  SetWindowPos(hwnd, nullptr, -200, 15, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  state_->keep_launcher_open = true;
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  std::string saved = SavedSettings();
  EXPECT_EQ(0u, saved.find("[UserWindowData]\r\nCommandLineLauncher=1\r\nWindowPositionX=-200\r\n"
                            "WindowPositionY=15\r\nInTaskOrNot=1\r\n"))
      << saved.substr(0, 200);
}

TEST_F(LoadedWindowTest, OptionsOkReopensTheBoxAndReportsAHotKeyThatIsTakenOnceSet) {
  HWND hwnd = window_->hwnd();
  // Another owner holds Ctrl+Alt+Q.
  ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 'Q'));
  {
    DialogDriver driver([&](HWND dialog) {
      SendDlgItemMessageA(dialog, IDC_OPT_HOT_KEY, HKM_SETHOTKEY,
                          MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
      SetDlgItemTextA(dialog, IDC_OPT_LAUNCHER_LENGTH, "150");
      Press(dialog, IDOK);
    });
    SendMessageA(hwnd, WM_COMMAND, IDM_OPTIONS, 0);
  }
  const std::vector<std::string> notice = {
      "注意|ホットキーを登録できませんでした。ほかのプログラムが使っているキーかもしれません。"
      "別のキーを設定してください|48"};
  EXPECT_EQ(system_.boxes, notice) << "a hot key that cannot be registered was not reported";
  // An OK that leaves the (still taken) key alone says nothing more.
  {
    DialogDriver driver([&](HWND dialog) { Press(dialog, IDOK); });
    SendMessageA(hwnd, WM_COMMAND, IDM_OPTIONS, 0);
  }
  UnregisterHotKey(nullptr, 7);
  EXPECT_EQ(system_.boxes, notice);
  EXPECT_EQ(state_->settings.hot_key, 0x0651);
  EXPECT_EQ(state_->settings.command_line_launcher_length, 150);
  EXPECT_TRUE(state_->layout.launcher_open);
  EXPECT_EQ(state_->layout.opened_length, 150) << "the open box was not opened again";
}

// A hand-edited command file of 300 lines with an empty line at line 10.
class KeptLinesWindowTest : public MainWindowTest {
 protected:
  std::string CommandsPath() const { return dir_.Path() + "\\vsmrcmd.dat"; }
  void PrepareFiles() override {
    for (int i = 1; i <= 300; ++i) {
      bytes_ += i == 10 ? std::string("\r\n") : "c" + std::to_string(i) + "\tnotepad.exe\t\r\n";
    }
    std::ofstream(CommandsPath(), std::ios::binary) << bytes_;
  }
  void ClickClock() { SendMessageA(window_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 10)); }
  // Runs `line` as if typed into the launcher box.
  void Run(const std::string& line) {
    HWND hwnd = window_->hwnd();
    if (!state_->layout.launcher_open) SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
    SetWindowTextA(GetDlgItem(hwnd, IDC_LAUNCHER_BOX), line.c_str());
    SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_ENTER, 0);
  }
  std::string bytes_;
};

TEST_F(KeptLinesWindowTest, StartUpNamesTheLineWhereReadingStoppedOnceWithoutHoldingItUp) {
  EXPECT_EQ(state_->commands.count, 9);
  EXPECT_TRUE(system_.boxes.empty()) << system_.boxes[0];
  EXPECT_EQ(state_->status.Read().View(), "FileErrL");
  ClickClock();
  ASSERT_EQ(system_.boxes.size(), 1u);
  EXPECT_EQ(system_.boxes[0], "注意|" + CommandsPath() +
                                  " の 10 行目から後は、空の行があるため読み込んでいません。\n"
                                  "これらの行はファイルにそのまま残します。|48");
  EXPECT_TRUE(state_->status.Empty());
  state_->status.Set("FileErrL");  // the same code again, from elsewhere: said once only
  ClickClock();
  EXPECT_EQ(system_.boxes.size(), 1u);

  SendMessageA(window_->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(ReadFileText(CommandsPath()), bytes_);
  EXPECT_EQ(system_.boxes.size(), 1u);
}

TEST_F(KeptLinesWindowTest, EverySaveThatFailsSaysWhichFileAndWhy) {
  // A folder where the new copy of the command file would be written.
  ASSERT_TRUE(CreateDirectoryA((CommandsPath() + ".tmp").c_str(), nullptr));
  ClickClock();  // the start-up's notice
  system_.boxes.clear();
  const std::string failed = "ERROR|" + CommandsPath() + " に保存できませんでした。\n";
  Run("#104");
  ASSERT_EQ(system_.boxes.size(), 1u);
  EXPECT_EQ(system_.boxes[0].substr(0, failed.size()), failed);
  EXPECT_GT(system_.boxes[0].size(), failed.size() + 4) << "no reason given";
  EXPECT_EQ(system_.boxes[0].substr(system_.boxes[0].size() - 3), "|16");

  SendMessageA(window_->hwnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(system_.boxes.size(), 2u);
  EXPECT_EQ(system_.boxes[1], system_.boxes[0]);
  EXPECT_EQ(ReadFileText(CommandsPath()), bytes_);
  RemoveDirectoryA((CommandsPath() + ".tmp").c_str());
}

}  // namespace
}  // namespace vsmr
