// The leave-room lock: the password step that unlocks and the mail timer
// re-arm. What each surface does while locked is checked where it shows:
// window tests (buttons, drops, the box) and end to end (the tray).
#include <gtest/gtest.h>

#include "fake_bar_host.h"
#include "command/recording_fakes.h"

namespace vsmr {
namespace {

using test::FakeBarHost;
using Calls = std::vector<std::string>;

struct Locked {
  SettingsState settings;
  FakeBarHost host;
  test::Harness h;
  Locked() {
    settings.leave_room_mode = 1;
    settings.leave_room_password.Set("Secret");
    test::AddCommand(h.commands, "_onrecover", "#41");
  }
  LockedLineResult Enter(std::string_view line) {
    return EnterLockedLine(line, settings, h.interpreter, nullptr, host);
  }
};

TEST(LeaveRoomTest, OnlyTheExactPasswordUnlocks) {
  struct Row {
    const char* line;
    LockedLineResult result;
  } rows[] = {
      {"", LockedLineResult::kIgnored},
      {"secret", LockedLineResult::kWrongPassword},  // case counts
      {"Secret ", LockedLineResult::kWrongPassword},
      {"Secre", LockedLineResult::kWrongPassword},
      {"Secret", LockedLineResult::kUnlocked},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    Locked l;
    EXPECT_EQ(l.Enter(row.line), row.result);
    bool unlocked = row.result == LockedLineResult::kUnlocked;
    EXPECT_EQ(l.settings.leave_room_mode, unlocked ? 0 : 1);
    EXPECT_EQ(l.h.builtins.calls.size(), unlocked ? 1u : 0u) << "only _onrecover may run";
    EXPECT_TRUE(l.h.shell.calls.empty()) << "a wrong line is never run";
  }
}

TEST(LeaveRoomTest, EmptyPasswordCannotBeTyped) {
  Locked l;
  l.settings.leave_room_password.Clear();
  EXPECT_EQ(l.Enter(""), LockedLineResult::kIgnored);
  EXPECT_EQ(l.settings.leave_room_mode, 1);
}

TEST(LeaveRoomTest, UnlockRunsRecoverEventAsFreshRun) {
  Locked l;
  l.h.interpreter.nesting_depth = 7;
  l.Enter("Secret");
  ASSERT_EQ(l.h.builtins.calls.size(), 1u);
  EXPECT_EQ(l.h.builtins.calls[0].number, 41);
  EXPECT_EQ(l.h.builtins.calls[0].context, kContextEvent);
  EXPECT_EQ(l.h.builtins.calls[0].depth, 1) << "a fresh run, not one nested in the left-over depth";
}

TEST(LeaveRoomTest, MailTimerReArmedOnlyWhenChecksAreConfigured) {
  struct Row {
    const char* name;
    int interval;
    int enabled_account;  // -1: none
    Calls calls;
  } rows[] = {
      {"interval and an enabled account", 600, 3, {"arm 3000"}},
      {"no interval", 0, 0, {}},
      {"no enabled account", 600, -1, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Locked l;
    l.settings.auto_check_time = row.interval;
    if (row.enabled_account >= 0) l.settings.accounts[row.enabled_account].enabled = 1;
    l.Enter("Secret");
    EXPECT_EQ(l.host.calls, row.calls);
  }
}

}  // namespace
}  // namespace vsmr
