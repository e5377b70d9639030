// The real main window applying the settings it loads (its place, the
// launcher box, the notification area), handing its live values to the save
// when it closes, and putting the options dialog's OK into effect.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <commctrl.h>

#include "base/resource_ids.h"
#include "main_window_fixture_win.h"
#include "support/dialog_driver_win.h"

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
  EXPECT_TRUE(state_->in_tray);
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

}  // namespace
}  // namespace vsmr
