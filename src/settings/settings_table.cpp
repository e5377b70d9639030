// The rows of vsmrsys.ini. A file that did not exist gets its sections in
// this order; the hot key's section comes last because the program's save
// writes it after the launcher items.
#include "settings/settings_table.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "mail/account/account_values.h"

namespace vsmr {
namespace {

constexpr std::string_view kUserWindow = "UserWindowData";
constexpr std::string_view kTimers = "TimerAlarmData";
constexpr std::string_view kMail = "MailPopSetting";
constexpr std::string_view kOther = "OtherSettings";
constexpr std::string_view kButtons = "ButtonLauncher";
constexpr std::string_view kHotKeySection = "CommandLineLauncher";

using C = SettingCodec;
using R = SettingRecord;
using S = SettingsState;
using L = LiveSettings;

constexpr SettingRow kRows[] = {
    {.section = kUserWindow, .key = "CommandLineLauncher", .field = &S::command_line_launcher,
     .live = &L::command_line_launcher},
    {.section = kUserWindow, .key = "CommandLineLauncherLength",
     .field = &S::command_line_launcher_length, .number_default = 100,
     .clamp = ClampLauncherLength},
    {.section = kUserWindow, .key = "WindowPositionX", .field = &S::window_position_x,
     .live = &L::window_position_x},
    {.section = kUserWindow, .key = "WindowPositionY", .field = &S::window_position_y,
     .live = &L::window_position_y},
    {.section = kUserWindow, .key = "InTaskOrNot", .field = &S::in_task_or_not,
     .live = &L::in_task_or_not},
    {.section = kUserWindow, .key = "SkinBitmapPath", .field = &S::skin_bitmap_path,
     .read_length = 260},
    {.section = kUserWindow, .key = "CommandLauncherCmbBxFont",
     .field = &S::command_launcher_cmb_bx_font, .read_length = 260},
    // RGB(0, 255, 64)
    {.section = kUserWindow, .key = "ClockFontColor", .field = &S::clock_font_color,
     .number_default = 4259584},
    // The default mail window is 560 x 330 pixels around the work area's
    // half-way point (halves rounded toward zero).
    {.section = kUserWindow, .key = "NewMailDialogLeft", .field = &S::new_mail_dialog_left,
     .number_default = -280, .default_from = DefaultFrom::kHalfWorkWidth,
     .clamp = ClampScreenCoordinate},
    {.section = kUserWindow, .key = "NewMailDialogTop", .field = &S::new_mail_dialog_top,
     .number_default = -165, .default_from = DefaultFrom::kHalfWorkHeight,
     .clamp = ClampScreenCoordinate},
    {.section = kUserWindow, .key = "NewMailDialogRight", .field = &S::new_mail_dialog_right,
     .number_default = 280, .default_from = DefaultFrom::kHalfWorkWidth,
     .clamp = ClampScreenCoordinate},
    {.section = kUserWindow, .key = "NewMailDialogBottom", .field = &S::new_mail_dialog_bottom,
     .number_default = 165, .default_from = DefaultFrom::kHalfWorkHeight,
     .clamp = ClampScreenCoordinate},
    {.section = kUserWindow, .key = "NewMailDialogListHeight",
     .field = &S::new_mail_dialog_list_height, .number_default = 110},

    {.section = kTimers, .key = "CommandTimer%02d", .record = R::kTimer, .codec = C::kTimer,
     .read_length = 140},

    {.section = kMail, .key = "AutoCheckTime", .field = &S::auto_check_time,
     .clamp = ClampAutoCheckTime},
    {.section = kMail, .key = "ShowMailDialog", .field = &S::show_mail_dialog, .number_default = 1},
    // Read before the accounts: it decides whether their previous state is read.
    {.section = kMail, .key = "SavePreviousMailStatus", .field = &S::save_previous_mail_status},
    {.section = kMail, .key = "MailLauncherCommand", .field = &S::mail_launcher_command,
     .read_length = 256},
    {.section = kMail, .key = "MailLauncherOrNot", .field = &S::mail_launcher_or_not},
    {.section = kMail, .key = "TimeOut", .field = &S::time_out, .number_default = kPopDefaultTimeoutSeconds,
     .clamp = ClampTimeOut},
    {.section = kMail, .key = "LimitMailSize", .field = &S::limit_mail_size,
     .number_default = kPopDefaultLimitMailSize, .clamp = ClampLimitMailSize},
    {.section = kMail, .key = "DeleteMailPermission", .field = &S::delete_mail_permission},
    {.section = kMail, .key = "Mail%dAccountData", .record = R::kAccount, .codec = C::kAccount,
     .read_length = 772},
    {.section = kMail, .key = "Mail%dPrevMailData", .record = R::kAccount,
     .codec = C::kPreviousMail, .read_length = 772},
    // Kept as read, so that a value the mail client does not know is saved
    // back unchanged (the check refuses such an account).
    {.section = kMail, .key = "Mail%dSecurity", .record = R::kAccount, .codec = C::kAccountNumber,
     .account_field = &MailAccount::security, .omitted_at_default = true},
    {.section = kMail, .key = "Mail%dPort", .record = R::kAccount, .codec = C::kAccountNumber,
     .clamp = ClampMailPort, .account_field = &MailAccount::port, .omitted_at_default = true},
    {.section = kMail, .key = "MailLauncherDone", .codec = C::kLauncherRuns,
     .read_length = kMailLauncherRunsTextLength, .omitted_at_default = true},

    {.section = kOther, .key = "UsingDropFile", .field = &S::using_drop_file},
    {.section = kOther, .key = "LeaveRoomMode", .field = &S::leave_room_mode},
    {.section = kOther, .key = "LeaveRoomPassword", .field = &S::leave_room_password,
     .read_length = 32},

    {.section = kButtons, .key = "Launcher%02dData", .record = R::kItem, .codec = C::kItemData,
     .text_default = "0\t\t", .read_length = 520},
    {.section = kButtons, .key = "Launcher%02dIcon", .record = R::kItem, .codec = C::kItemIcon,
     .text_default = "0\t", .read_length = 520},
    {.section = kButtons, .key = "ApplicationPath%d", .record = R::kItem, .codec = C::kOlderPath,
     .text_default = "not found", .read_length = 260},
    {.section = kButtons, .key = "Comment%d", .record = R::kItem, .codec = C::kOlderComment,
     .default_from = DefaultFrom::kItemPath, .read_length = 256},
    {.section = kButtons, .key = "IconPath%d", .record = R::kItem, .codec = C::kOlderIconPath,
     .default_from = DefaultFrom::kDefaultIconPath, .read_length = 260},
    {.section = kButtons, .key = "IconIndex%d", .record = R::kItem, .codec = C::kOlderIconIndex},
    {.section = kButtons, .key = "ShowButton%d", .record = R::kItem, .codec = C::kOlderShown},

    {.section = kHotKeySection, .key = "HotKey", .field = &S::hot_key},
};

}  // namespace

std::span<const SettingRow> SettingsTable() { return kRows; }

int RecordSlots(SettingRecord record) {
  switch (record) {
    case SettingRecord::kTimer: return kCommandTimerCount;
    case SettingRecord::kAccount: return kMailAccountCount;
    case SettingRecord::kItem: return kLauncherItemCount;
    case SettingRecord::kNone: break;
  }
  return 1;
}

std::string SettingKeyName(const SettingRow& row, int slot) {
  if (row.record == SettingRecord::kNone) return row.key;
  char name[48];
  std::snprintf(name, sizeof name, row.key, slot + 1);
  return name;
}

std::int32_t ClampAutoCheckTime(std::int32_t seconds) {
  if (seconds == 0) return 0;
  if (seconds < 10) return 10;
  if (seconds > 43200) return 43200;
  return seconds;
}

std::int32_t ClampTimeOut(std::int32_t seconds) {
  return std::clamp(seconds, 0, kPopMaxTimeoutSeconds);
}

std::int32_t ClampLimitMailSize(std::int32_t bytes) {
  return std::clamp(bytes, 0, kPopMaxMessageSize);
}

std::int32_t ClampScreenCoordinate(std::int32_t coordinate) {
  return std::clamp(coordinate, -kScreenCoordinateLimit - 1, kScreenCoordinateLimit);
}

std::int32_t ClampMailPort(std::int32_t port) {
  return port >= 0 && port <= std::numeric_limits<std::uint16_t>::max() ? port : 0;
}

}  // namespace vsmr
