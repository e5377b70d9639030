// The built-ins on the real main window: the bar they rebuild, the menus they
// track and the choices that come back, the shutdown countdown's timer, the
// window's place, the command editor the add built-in opens, and the start-up
// order that keeps `_oncmdopn` from doubling the buttons and follows the first paint.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "main_window_fixture_win.h"
#include "support/dialog_driver_win.h"

namespace vsmr {
namespace {

class BuiltinWindowTest : public MainWindowTest {
 protected:
  // Runs `line` as if typed into the launcher box (context -1).
  void Run(const std::string& line) {
    HWND hwnd = window_->hwnd();
    if (!state_->layout.launcher_open) SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
    SetWindowTextA(GetDlgItem(hwnd, IDC_LAUNCHER_BOX), line.c_str());
    SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_ENTER, 0);
  }
  int ButtonCount() {
    int n = 0;
    while (GetDlgItem(window_->hwnd(), IDM_FIRST_BUTTON + n)) ++n;
    return n;
  }
};

TEST_F(BuiltinWindowTest, ShowItemsRebuildsTheBar) {
  for (int i = 0; i < 6; ++i) state_->settings.launcher_items[i].comment.Set("c" + std::to_string(i + 1));
  Run("#202 r 2 4");
  EXPECT_EQ(state_->layout.button_count, 3);
  EXPECT_EQ(ButtonCount(), 3);
  EXPECT_EQ(state_->buttons.slots[0].item, 1);
  EXPECT_EQ(state_->buttons.slots[2].item, 3);
  Run("#203 b 1");
  EXPECT_EQ(ButtonCount(), 2);
  EXPECT_EQ(state_->buttons.slots[0].item, 2);
}

TEST_F(BuiltinWindowTest, MenuAtPointerAndTheChoiceRunsItsSlot) {
  system_.choice = IDM_FIRST_MENU_ENTRY + 1;
  Run("#801 \"#109 first\" \"#109 second\" -separator- \"-subitem- #109 inner\"");
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(system_.menu_at.x, cursor.x);
  EXPECT_EQ(system_.menu_at.y, cursor.y);
  EXPECT_EQ(system_.menu_items,
            (std::vector<std::string>{"2601 #109 first(&#)", "2602 #109 second(&#)", "0 ",
                                      "2604>#109 inner"}));
  EXPECT_TRUE(state_->status.Empty());  // the choice arrives after the menu closed
  PumpMessages();
  EXPECT_EQ(state_->status.Read().View(), "second");
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_FIRST_MENU_ENTRY + 3, 0);
  EXPECT_EQ(state_->status.Read().View(), "inner");
}

TEST_F(BuiltinWindowTest, MenuAtTheButtonThatRan) {
  LauncherItem* items = state_->settings.launcher_items;
  items[0].path.Set("#109 one");
  items[1].path.Set("#802 a b");
  items[0].shown = items[1].shown = 1;
  Run("#202 1");
  HWND hwnd = window_->hwnd();
  SendMessageA(hwnd, WM_COMMAND, IDM_FIRST_BUTTON + 1, 0);
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(system_.menu_at.x, rect.left + state_->layout.ButtonX(1));
  EXPECT_EQ(system_.menu_at.y, rect.top);
}

TEST_F(BuiltinWindowTest, ShutdownCountdownRunsUntilYesOrItsEnd) {
  HWND hwnd = window_->hwnd();
  Run("#2001");  // Yes, the first button: cancelled at once
  EXPECT_FALSE(state_->shutdown_active);
  EXPECT_FALSE(KillTimer(hwnd, IDT_SHUTDOWN));
  ASSERT_EQ(system_.boxes.size(), 1u);
  EXPECT_EQ(system_.boxes[0],
            "ウィンドウズ終了確認|まもなくウィンドウズが終了します。\n中止しますか？|36");

  system_.answers = {IDNO};
  Run("#2001 q 1");
  EXPECT_TRUE(state_->shutdown_active);
  EXPECT_EQ(system_.ended, (std::vector<UINT>{EWX_REBOOT}));
  SendMessageA(hwnd, WM_TIMER, IDT_SHUTDOWN, 0);
  EXPECT_FALSE(state_->shutdown_active);
  EXPECT_EQ(system_.ended, (std::vector<UINT>{EWX_REBOOT, EWX_SHUTDOWN}));
  EXPECT_FALSE(KillTimer(hwnd, IDT_SHUTDOWN));
  SendMessageA(hwnd, WM_TIMER, IDT_SHUTDOWN, 0);  // a late tick ends nothing
  EXPECT_EQ(system_.ended.size(), 2u);
}

TEST_F(BuiltinWindowTest, MoveSuspendAddAndSave) {
  HWND hwnd = window_->hwnd();
  SetWindowPos(hwnd, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Run("#401 -1 10 & #2002");
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.left, 30);
  EXPECT_EQ(rect.top, 10);
  EXPECT_EQ(system_.suspended, 1);
  std::string shown_body, shown_name;
  {
    DialogDriver driver([&](HWND dialog) {
      char text[300];
      GetDlgItemTextA(dialog, IDC_CMD_BODY, text, sizeof text);
      shown_body = text;
      GetDlgItemTextA(dialog, IDC_CMD_NAME, text, sizeof text);
      shown_name = text;
      SetDlgItemTextA(dialog, IDC_CMD_COMMENT, "電卓");
      Press(dialog, IDOK);
    });
    Run("#303 calc.exe calc");
  }
  EXPECT_EQ(shown_body, "calc.exe");
  EXPECT_EQ(shown_name, "calc");
  ASSERT_EQ(state_->commands.count, 1);
  EXPECT_EQ(state_->commands.entries[0].name.View(), "calc");
  EXPECT_EQ(state_->commands.entries[0].comment.View(), "電卓");
  {
    DialogDriver driver([](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_CMD_BODY, "");
      Press(dialog, IDOK);  // OK with an empty path adds nothing
    });
    Run("#303 y.exe y");
  }
  {
    DialogDriver driver([](HWND dialog) { Press(dialog, IDCANCEL); });
    Run("#303 x.exe x");
  }
  EXPECT_EQ(state_->commands.count, 1);
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_TRAY_TOGGLE, 0);  // saved as 0 all the same
  ASSERT_TRUE(window_->in_tray());
  Run("#104");
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_TRAY_TOGGLE, 0);
  std::ifstream saved(dir_.Path() + "\\vsmrsys.ini", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_NE(bytes.find("WindowPositionX=30\r\nWindowPositionY=10\r\nInTaskOrNot=0\r\n"),
            std::string::npos);
}

TEST_F(BuiltinWindowTest, CloseFromTheLauncherBoxEndsTheWindow) {
  HWND hwnd = window_->hwnd();
  Run("#101");
  EXPECT_FALSE(IsWindow(hwnd));
  std::ifstream saved(dir_.Path() + "\\vsmrcmd.dat", std::ios::binary);
  EXPECT_TRUE(saved.good());  // closing saved the lists
}

// `_oncmdopn` shows one more item while the box opens at start-up.
class StartupOrderTest : public BuiltinWindowTest {
 protected:
  void PrepareFiles() override {
    std::ofstream(dir_.Path() + "\\vsmrsys.ini", std::ios::binary)
        << "[UserWindowData]\r\nCommandLineLauncher=1\r\n[ButtonLauncher]\r\n"
           "Launcher01Data=1\ta\t\r\nLauncher02Data=1\tb\t\r\nLauncher03Data=1\tc\t\r\n"
           "Launcher04Data=0\td\t\r\n";
    std::ofstream(dir_.Path() + "\\vsmrcmd.dat", std::ios::binary) << "_oncmdopn\t #202 4\t\r\n";
  }
};

TEST_F(StartupOrderTest, ButtonsExistBeforeTheBoxOpens) {
  EXPECT_TRUE(state_->layout.launcher_open);
  EXPECT_EQ(state_->layout.button_count, 4);
  EXPECT_EQ(ButtonCount(), 4);
}

// The first paint comes before the buttons and the box: they follow from the
// message loop, or at once when a command arrives first.
class FirstPaintTest : public StartupOrderTest {
 protected:
  FirstPaintTest() { pump_after_create_ = false; }
};

TEST_F(FirstPaintTest, ButtonsAndTheBoxFollowTheFirstPaint) {
  EXPECT_EQ(ButtonCount(), 0);
  EXPECT_FALSE(state_->layout.launcher_open);
  PumpMessages();
  EXPECT_TRUE(state_->layout.launcher_open);
  EXPECT_EQ(ButtonCount(), 4);
}

TEST_F(FirstPaintTest, ACommandBeforeTheRestFindsTheStartUpFinished) {
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  EXPECT_EQ(ButtonCount(), 4);
  EXPECT_FALSE(state_->layout.launcher_open);  // opened by the start-up, closed by the command
  PumpMessages();
  EXPECT_FALSE(state_->layout.launcher_open);
}

}  // namespace
}  // namespace vsmr
