// LoadSettings: [UserWindowData], [TimerAlarmData], [MailPopSetting] and
// [OtherSettings] into SettingsState, in the program's fixed reading order.
#include "settings/compound_value.h"
#include "settings/settings_store.h"

namespace vsmr {
namespace {

// Read lengths of the string and compound keys, terminator included.
constexpr std::size_t kTimerLength = 140;
constexpr std::size_t kAccountLength = 772;
constexpr std::size_t kPathLength = 260;
constexpr std::size_t kMailLauncherLength = 256;
constexpr std::size_t kPasswordLength = 32;

template <std::size_t N>
void ReadText(const ProfileDocument& file, std::string_view section, std::string_view key,
              std::size_t read_length, FixedText<N>& field) {
  // The key's read length cuts first, then the field's width.
  char value[kAccountLength];
  std::size_t length = read_length < sizeof value ? read_length : sizeof value;
  file.ReadString(section, key, "", value, length);
  field.Set(value);
}

void LoadUserWindow(SettingsState& s, const ProfileDocument& file, SettingsWindowHooks& window) {
  const std::string_view sec = kUserWindowSection;
  s.command_line_launcher = file.ReadInt(sec, "CommandLineLauncher", 0);
  s.command_line_launcher_length = file.ReadInt(sec, "CommandLineLauncherLength", 100);
  s.window_position_x = file.ReadInt(sec, "WindowPositionX", 0);
  s.window_position_y = file.ReadInt(sec, "WindowPositionY", 0);
  s.in_task_or_not = file.ReadInt(sec, "InTaskOrNot", 0);
  ReadText(file, sec, "SkinBitmapPath", kPathLength, s.skin_bitmap_path);
  ReadText(file, sec, "CommandLauncherCmbBxFont", kPathLength, s.command_launcher_cmb_bx_font);
  s.clock_font_color = file.ReadInt(sec, "ClockFontColor", 4259584);
  // The default mail window is 560 x 330 pixels around the work area's
  // half-way point (halves rounded toward zero).
  ScreenPoint edge = window.WorkAreaRightBottom();
  std::int32_t half_w = edge.x / 2;
  std::int32_t half_h = edge.y / 2;
  s.new_mail_dialog_left = file.ReadInt(sec, "NewMailDialogLeft", half_w - 280);
  s.new_mail_dialog_top = file.ReadInt(sec, "NewMailDialogTop", half_h - 165);
  s.new_mail_dialog_right = file.ReadInt(sec, "NewMailDialogRight", half_w + 280);
  s.new_mail_dialog_bottom = file.ReadInt(sec, "NewMailDialogBottom", half_h + 165);
  s.new_mail_dialog_list_height = file.ReadInt(sec, "NewMailDialogListHeight", 110);
}

void LoadTimers(SettingsState& s, const ProfileDocument& file) {
  char value[kTimerLength];
  for (int i = 0; i < kCommandTimerCount; ++i) {
    file.ReadString(kTimerSection, CommandTimerKey(i), "", value, sizeof value);
    FieldCursor fields{std::string_view(value)};
    CommandTimer& timer = s.timers[i];
    timer.enabled = NumericField(fields.Next(','));
    timer.hour = NumericField(fields.Next(':'));
    timer.minute = NumericField(fields.Next(','));
    timer.command.Set(fields.Rest());
  }
}

void LoadAccounts(SettingsState& s, const ProfileDocument& file) {
  s.check_list = MailCheckList{};
  char value[kAccountLength];
  for (int i = 0; i < kMailAccountCount; ++i) {
    file.ReadString(kMailSection, MailAccountKey(i), "", value, sizeof value);
    FieldCursor fields{std::string_view(value)};
    MailAccount& account = s.accounts[i];
    account.enabled = NumericField(fields.Next('\t'));
    account.server.Set(fields.Next('\t'));
    account.user_name.Set(fields.Next('\t'));
    account.password.Set(fields.Next('\t'));
    account.sound_file.Set(fields.Rest());
    if (account.enabled == 0) continue;

    PreviousMailState& entry = s.check_list.entries[s.check_list.count++];
    entry.account = i;
    if (s.save_previous_mail_status != 0) {
      file.ReadString(kMailSection, PrevMailKey(i), "", value, sizeof value);
      FieldCursor previous{std::string_view(value)};
      entry.message_count = NumericField(previous.Next(','));
      entry.key_text.Set(previous.Rest());
    }
  }
}

void LoadMail(SettingsState& s, const ProfileDocument& file) {
  const std::string_view sec = kMailSection;
  s.auto_check_time = ClampAutoCheckTime(file.ReadInt(sec, "AutoCheckTime", 0));
  s.show_mail_dialog = file.ReadInt(sec, "ShowMailDialog", 1);
  s.time_out = file.ReadInt(sec, "TimeOut", 10);
  s.limit_mail_size = file.ReadInt(sec, "LimitMailSize", 65536);
  s.save_previous_mail_status = file.ReadInt(sec, "SavePreviousMailStatus", 0);
  s.delete_mail_permission = file.ReadInt(sec, "DeleteMailPermission", 0);
  LoadAccounts(s, file);
  s.mail_launcher_or_not = file.ReadInt(sec, "MailLauncherOrNot", 0);
  ReadText(file, sec, "MailLauncherCommand", kMailLauncherLength, s.mail_launcher_command);
}

void LoadOther(SettingsState& s, const ProfileDocument& file) {
  s.using_drop_file = file.ReadInt(kOtherSection, "UsingDropFile", 0);
  s.leave_room_mode = file.ReadInt(kOtherSection, "LeaveRoomMode", 0);
  ReadText(file, kOtherSection, "LeaveRoomPassword", kPasswordLength, s.leave_room_password);
}

}  // namespace

std::int32_t LoadSettings(SettingsState& state, const ProfileDocument& file,
                          SettingsWindowHooks& window) {
  LoadUserWindow(state, file, window);
  LoadTimers(state, file);
  LoadMail(state, file);
  LoadOther(state, file);
  window.MoveMainWindow(ScreenPoint{state.window_position_x, state.window_position_y});
  if (state.command_line_launcher != 0) window.SendWindowCommand(kLauncherToggleCommand);
  return state.in_task_or_not;
}

}  // namespace vsmr
