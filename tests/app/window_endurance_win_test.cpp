// Long use of the real main window: ten thousand clock ticks, each repainting
// the face, and a thousand openings and closings of the launcher box leave the
// process's GDI objects, user objects, handles and private bytes where they were.
#include <fstream>

#include "command/recording_fakes.h"
#include "main_window_fixture_win.h"

namespace vsmr {
namespace {

constexpr int kWarmUpTicks = 100;
constexpr int kTicks = 10000;
constexpr int kWarmUpToggles = 10;
constexpr int kToggles = 1000;

// Advances a second each time the window reads it.
class SteppingClock : public LocalClock {
 public:
  mutable LocalTime now{2026, 12, 8, 7, 0, 0};
  LocalTime Now() const override {
    LocalTime t = now;
    if (++now.second == 60) {
      now.second = 0;
      if (++now.minute == 60) {
        now.minute = 0;
        ++now.hour;
      }
    }
    return t;
  }
};

class EnduranceWindowTest : public MainWindowTest {
 protected:
  SteppingClock clock_;
  test::RecordingBuiltins builtins_;
  void PrepareFiles() override {
    seams_.clock = &clock_;
    seams_.builtins = &builtins_;
    // Two timers the run passes through, so each tick's timer check has work.
    std::ofstream(state_->files.settings_path, std::ios::binary)
        << "[TimerAlarmData]\r\nCommandTimer01=1,08:00,#1 eight\r\n"
           "CommandTimer02=1,09:00,#2 nine\r\n";
  }
  // One clock tick painted at once; true when the tick invalidated the face
  // and the paint then validated it.
  bool TickAndPaint() {
    HWND hwnd = window_->hwnd();
    SendMessageA(hwnd, WM_TIMER, IDT_CLOCK, 0);
    const bool invalid = GetUpdateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    const bool painted = invalid && !GetUpdateRect(hwnd, nullptr, FALSE);
    PumpMessages();  // the window's own ticks and anything else queued
    return painted;
  }
  void Toggle() {
    SendMessageA(window_->hwnd(), WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
    PumpMessages();
  }
};

TEST_F(EnduranceWindowTest, TenThousandPaintedClockTicksStayFlat) {
  for (int i = 0; i < kWarmUpTicks; ++i) TickAndPaint();
  const ProcessCounters before = ProcessCounters::Read();
  int painted = 0;
  for (int i = 0; i < kTicks; ++i) painted += TickAndPaint() ? 1 : 0;
  const ProcessCounters after = ProcessCounters::Read();
  PrintCounters("10000 clock ticks", before, after);
  EXPECT_EQ(painted, kTicks);
  ExpectFlat(before, after);
  // The fake clock went from 07:00 past 09:00: each timer ran once.
  ASSERT_EQ(builtins_.calls.size(), 2u);
  EXPECT_EQ(builtins_.calls[0].number, 1);
  EXPECT_EQ(builtins_.calls[1].number, 2);
}

TEST_F(EnduranceWindowTest, ThousandLauncherBoxOpeningsStayFlat) {
  HWND hwnd = window_->hwnd();
  for (int i = 0; i < kWarmUpToggles; ++i) {
    Toggle();
    Toggle();
  }
  const ProcessCounters before = ProcessCounters::Read();
  for (int i = 0; i < kToggles; ++i) {
    Toggle();
    ASSERT_NE(GetDlgItem(hwnd, IDC_LAUNCHER_BOX), nullptr) << "opening " << i;
    Repaint();
    Toggle();
    ASSERT_EQ(GetDlgItem(hwnd, IDC_LAUNCHER_BOX), nullptr) << "closing " << i;
  }
  const ProcessCounters after = ProcessCounters::Read();
  PrintCounters("1000 launcher box openings", before, after);
  ExpectFlat(before, after);
}

}  // namespace
}  // namespace vsmr
