// The real main window's reactions to clicks, dropped files, calls handed over
// from other threads and clock ticks: the status word, the toggle spot, the
// shutdown countdown, where drop lists go, and which thread and when calls run.
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "command/recording_fakes.h"
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
  SetTimer(hwnd, IDT_SHUTDOWN, 30000, nullptr);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(4, 4));
  EXPECT_FALSE(state_->shutdown_active);
  // The timer is gone: killing it again fails.
  EXPECT_FALSE(KillTimer(hwnd, IDT_SHUTDOWN));
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
  SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  HWND combo = GetDlgItem(hwnd, IDC_LAUNCHER_BOX);
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
  SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  HWND combo = GetDlgItem(hwnd, IDC_LAUNCHER_BOX);
  ASSERT_NE(combo, nullptr);
  HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0), '*');
}

TEST_F(MainWindowTest, EnterRunsLineEntersHistoryAndClosesBox) {
  HWND hwnd = window_->hwnd();
  SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  HWND combo = GetDlgItem(hwnd, IDC_LAUNCHER_BOX);
  ASSERT_NE(combo, nullptr);
  HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  // A name the shell cannot open: the run fails quietly, the line is kept.
  SetWindowTextA(combo, "vsmr-no-such-program-here");
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_EQ(GetDlgItem(hwnd, IDC_LAUNCHER_BOX), nullptr);
  EXPECT_EQ(state_->history.Entry(0), "vsmr-no-such-program-here");
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 88);

  state_->keep_launcher_open = true;
  SendMessageA(hwnd, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
  combo = GetDlgItem(hwnd, IDC_LAUNCHER_BOX);
  edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  SetWindowTextA(combo, "vsmr-second-line");
  SendMessageA(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, At(3, 3));  // the same as Enter
  PumpMessages();
  EXPECT_NE(GetDlgItem(hwnd, IDC_LAUNCHER_BOX), nullptr);
  EXPECT_EQ(state_->history.Entry(0), "vsmr-second-line");
  EXPECT_EQ(state_->history.Entry(1), "vsmr-no-such-program-here");
}

// Sends `call` to the window's thread from a new thread, waking the window as
// a mail worker does, while this thread runs a message loop as the window's
// thread does; returns what the sender saw.
CallHandOff::Result SendFromAnotherThread(HWND window, CallHandOff& queue, CallHandOff::Call call) {
  const DWORD here = GetCurrentThreadId();
  std::atomic<bool> done{false};
  CallHandOff::Result result;
  std::thread sender([&] {
    result = queue.Send(std::move(call), 10000,
                        [window] { return PostMessageA(window, kRunCallsMessage, 0, 0) != FALSE; });
    done = true;
    PostThreadMessageA(here, WM_NULL, 0, 0);
  });
  MSG msg;
  while (!done && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  sender.join();
  return result;
}

class HandOffTest : public MainWindowTest {
 protected:
  test::RecordingBuiltins builtins_;
  void PrepareFiles() override { seams_.builtins = &builtins_; }
};

TEST_F(HandOffTest, OtherThreadsCallRunsOnTheWindowsThread) {
  DWORD ran_on = 0;
  CallHandOff::Result result =
      SendFromAnotherThread(window_->hwnd(), state_->hand_off, [&ran_on] {
        ran_on = GetCurrentThreadId();
        return 7;
      });
  EXPECT_EQ(result.outcome, CallHandOff::Outcome::kRan);
  EXPECT_EQ(result.value, 7);
  EXPECT_EQ(ran_on, GetCurrentThreadId());
}

TEST_F(HandOffTest, WakeUpMessageFromOutsideRunsNothing) {
  // Another process can send the message with anything in it; it names no
  // memory, and this process's queue is empty.
  HWND hwnd = window_->hwnd();
  EXPECT_EQ(SendMessageA(hwnd, kRunCallsMessage, 0x1234, static_cast<LPARAM>(0xDEADBEEF)), 0);
  PostMessageA(hwnd, kRunCallsMessage, 5, 1);
  PumpMessages();
  EXPECT_TRUE(builtins_.calls.empty());
  EXPECT_TRUE(state_->status.Empty());
  EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(HandOffTest, ClosingWindowReleasesAWaitingSender) {
  HWND hwnd = window_->hwnd();
  auto wake = [hwnd] { return PostMessageA(hwnd, kRunCallsMessage, 0, 0) != FALSE; };
  std::atomic<bool> ran{false};
  CallHandOff::Result result{CallHandOff::Outcome::kRan, 1};
  std::thread sender([&] { result = state_->hand_off.Send([&ran] { return ran = true; }, 60000, wake); });
  // Once the wake-up message is there, the call is queued; close before it runs.
  MSG msg;
  while (!PeekMessageA(&msg, hwnd, kRunCallsMessage, kRunCallsMessage, PM_NOREMOVE)) Sleep(10);
  DestroyWindow(hwnd);
  sender.join();  // would take a minute if closing did not release it
  EXPECT_EQ(result.outcome, CallHandOff::Outcome::kClosed);
  EXPECT_FALSE(ran);
  EXPECT_EQ(state_->hand_off.Send([&ran] { return ran = true; }, 60000, wake).outcome,
            CallHandOff::Outcome::kClosed);
}

// A clock the test sets; the window reads it on every tick.
class FakeClock : public LocalClock {
 public:
  LocalTime now;
  LocalTime Now() const override { return now; }
};

class TimerWindowTest : public MainWindowTest {
 protected:
  FakeClock clock_{};
  test::RecordingBuiltins builtins_;
  void PrepareFiles() override {
    clock_.now = {2024, 5, 1, 7, 29, 59};
    seams_.clock = &clock_;
    seams_.builtins = &builtins_;
    std::ofstream(state_->files.settings_path, std::ios::binary)
        << "[TimerAlarmData]\r\nCommandTimer01=1,07:30,#1 first\r\n"
           "CommandTimer02=0,07:30,#2 off\r\nCommandTimer03=1,07:30,#3 third\r\n";
  }
  std::vector<int> Ran() const {
    std::vector<int> numbers;
    for (const test::BuiltinCall& call : builtins_.calls) numbers.push_back(call.number);
    return numbers;
  }
  void Tick() { SendMessageA(window_->hwnd(), WM_TIMER, IDT_CLOCK, 0); }
};

TEST_F(TimerWindowTest, ClockTickRunsEachDueTimerOncePerMinute) {
  Tick();
  EXPECT_EQ(Ran(), std::vector<int>{});  // a second early

  // A second late, on the window's own tick.
  clock_.now.minute = 30;
  clock_.now.second = 1;
  for (int i = 0; i < 100 && builtins_.calls.empty(); ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_EQ(Ran(), (std::vector<int>{1, 3}));
  for (const test::BuiltinCall& call : builtins_.calls) {
    EXPECT_EQ(call.context, kContextTimer);
    EXPECT_EQ(call.depth, 1);
  }

  clock_.now.second = 2;
  Tick();
  EXPECT_EQ(Ran(), (std::vector<int>{1, 3}));
  clock_.now.day = 2;
  Tick();
  EXPECT_EQ(Ran(), (std::vector<int>{1, 3, 1, 3}));
}

}  // namespace
}  // namespace vsmr
