// The leave-room lock's rules (see leave_room.h).
#include "app/leave_room.h"

#include "command/events.h"
namespace vsmr {

bool AutoMailConfigured(const SettingsState& settings) {
  if (settings.auto_check_time == 0) return false;
  for (const MailAccount& account : settings.accounts) {
    if (account.enabled != 0) return true;
  }
  return false;
}

LockedLineResult EnterLockedLine(std::string_view line, SettingsState& settings,
                                 Interpreter& interpreter, WindowRef window, LeaveRoomHost& host) {
  if (line.empty()) return LockedLineResult::kIgnored;
  if (line != settings.leave_room_password.View()) return LockedLineResult::kWrongPassword;
  settings.leave_room_mode = 0;
  RunEvent(interpreter, window, Event::kRecover);
  if (AutoMailConfigured(settings)) host.ArmMailTimer(kMailRestartDelayMs);
  return LockedLineResult::kUnlocked;
}

}  // namespace vsmr
