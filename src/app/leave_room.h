// The leave-room lock: what each launching surface does while it is on, the
// password typed into the launcher box that switches it off, and switching it
// on. The timers behind it are reached through LeaveRoomHost.
#pragma once
#include <string_view>

#include "command/interpreter.h"
#include "settings/settings_records.h"

namespace vsmr {

inline constexpr int kAutoMailTimer = 109;
inline constexpr int kMailRestartDelayMs = 3000;  // first check after unlocking
inline constexpr int kTrayIconId = 202;
inline constexpr int kLockedTrayIconId = 203;

// The places that consult the lock.
enum class LockSurface {
  kLauncherBoxOpen,      // the launcher box being opened
  kLauncherBoxEnter,     // Enter in the launcher box (window command 803)
  kLauncherButtons,      // clicks on commands 701-764
  kFileDrops,            // files dropped on the main window
  kClockRightClick,      // right click on the clock face
  kTrayRightClick,       // right click on the notification-area icon
  kTrayDoubleClick,      // double click on the notification-area icon
  kTrayIconAdded,        // the notification-area icon being added
  kMailCheck,            // menu command 308 and the automatic checks
  kLauncherToggle,       // the hot key and the launcher toggle spot
  kTimersMenusEvents,    // command timers, command menus, event commands
};

// What a surface does while the lock is on.
enum class LockedBehaviour {
  kUnaffected,      // acts as usual
  kRefused,         // does nothing
  kPasswordField,   // the box echoes '*' and gets no completion
  kPasswordCheck,   // the line is compared with the password instead of run
  kEventOnly,       // _onrightdown still runs; the main popup menu is not shown
  kLockIcon,        // icon resource 203 instead of 202
};

struct LockRule {
  LockSurface surface;
  LockedBehaviour behaviour;
};

// One row per surface.
inline constexpr LockRule kLockTable[] = {
    {LockSurface::kLauncherBoxOpen, LockedBehaviour::kPasswordField},
    {LockSurface::kLauncherBoxEnter, LockedBehaviour::kPasswordCheck},
    {LockSurface::kLauncherButtons, LockedBehaviour::kRefused},
    {LockSurface::kFileDrops, LockedBehaviour::kRefused},
    {LockSurface::kClockRightClick, LockedBehaviour::kEventOnly},
    {LockSurface::kTrayRightClick, LockedBehaviour::kRefused},
    {LockSurface::kTrayDoubleClick, LockedBehaviour::kUnaffected},
    {LockSurface::kTrayIconAdded, LockedBehaviour::kLockIcon},
    {LockSurface::kMailCheck, LockedBehaviour::kRefused},
    {LockSurface::kLauncherToggle, LockedBehaviour::kUnaffected},
    {LockSurface::kTimersMenusEvents, LockedBehaviour::kUnaffected},
};

// How `surface` behaves in the current state (kUnaffected while unlocked).
LockedBehaviour BehaviourOf(LockSurface surface, bool locked);
// True when `surface` does its usual work now (refused only while locked).
bool SurfaceActs(LockSurface surface, bool locked);
// The icon resource for the notification-area icon added now.
int TrayIconResource(bool locked);

// The timers the lock touches on the main window.
class LeaveRoomHost {
 public:
  virtual ~LeaveRoomHost() = default;
  // Arms the automatic mail timer (109) to fire after `delay_ms`.
  virtual void ArmMailTimer(int delay_ms) = 0;
  // Stops the automatic mail timer.
  virtual void StopMailTimer() = 0;
};

// True when automatic checks are configured: an interval and an enabled account.
bool AutoMailConfigured(const SettingsState& settings);

// Switches the lock on (the leave-room built-in): sets the flag, runs
// `_onleave` with context -1 inside the current run, stops the mail timer.
void EnterLeaveRoom(SettingsState& settings, Interpreter& interpreter, WindowRef window,
                    LeaveRoomHost& host);

enum class LockedLineResult { kIgnored, kWrongPassword, kUnlocked };

// A line entered in the launcher box while the lock is on. An empty line is
// ignored; the password, byte for byte, switches the lock off, runs
// `_onrecover` as a fresh top-level run with context -2 and, when automatic
// checks are configured, arms the mail timer with 3000 ms; any other line
// does nothing (it is neither run nor kept in the history).
LockedLineResult EnterLockedLine(std::string_view line, SettingsState& settings,
                                 Interpreter& interpreter, WindowRef window, LeaveRoomHost& host);

}  // namespace vsmr
