// The leave-room lock: the password typed into the launcher box that switches
// it off (the leave-room built-in switches it on). The surfaces it locks check
// the flag themselves; the timers behind it are reached through LeaveRoomHost.
#pragma once
#include <string_view>

#include "command/interpreter.h"
#include "settings/settings_records.h"

namespace vsmr {

inline constexpr int kMailRestartDelayMs = 3000;  // first check after unlocking

// The timers the lock touches on the main window.
class LeaveRoomHost {
 public:
  virtual ~LeaveRoomHost() = default;
  // Arms the automatic mail timer (IDT_AUTO_MAIL) to fire after `delay_ms`.
  virtual void ArmMailTimer(int delay_ms) = 0;
};

// True when automatic checks are configured: an interval and an enabled account.
bool AutoMailConfigured(const SettingsState& settings);

enum class LockedLineResult { kIgnored, kWrongPassword, kUnlocked };

// A line entered in the launcher box while the lock is on. An empty line is
// ignored; the password, byte for byte, switches the lock off, runs
// `_onrecover` as a fresh top-level run with kContextEvent and, when automatic
// checks are configured, arms the mail timer with 3000 ms; any other line
// does nothing (it is neither run nor kept in the history).
LockedLineResult EnterLockedLine(std::string_view line, SettingsState& settings,
                                 Interpreter& interpreter, WindowRef window, LeaveRoomHost& host);

}  // namespace vsmr
