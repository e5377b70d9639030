// SaveSettings and the store's part of the save sequence: the same four
// sections in the program's fixed writing order, then the 64 launcher items.
#include "settings/compound_value.h"
#include "settings/settings_store.h"

namespace vsmr {
namespace {

class KeyWriter {
 public:
  KeyWriter(SettingsWriter& out, std::string_view section) : out_(out), section_(section) {}
  void Int(std::string_view key, std::int32_t value) {
    CompoundText text;
    text.Number(value);
    out_.Write(section_, key, text.View());
  }
  void Text(std::string_view key, std::string_view text) { out_.Write(section_, key, text); }

 private:
  SettingsWriter& out_;
  std::string_view section_;
};

void SaveUserWindow(const SettingsState& s, std::int32_t in_tray, SettingsWindowHooks& window,
                    SettingsWriter& out) {
  KeyWriter w(out, kUserWindowSection);
  w.Int("CommandLineLauncher", window.LauncherBoxKeptOpen() ? 1 : 0);
  w.Int("CommandLineLauncherLength", s.command_line_launcher_length);
  ScreenPoint position = window.MainWindowPosition();
  w.Int("WindowPositionX", position.x);
  w.Int("WindowPositionY", position.y);
  w.Int("InTaskOrNot", in_tray);
  w.Text("SkinBitmapPath", StoredText(s.skin_bitmap_path));
  w.Text("CommandLauncherCmbBxFont", StoredText(s.command_launcher_cmb_bx_font));
  w.Int("ClockFontColor", s.clock_font_color);
  w.Int("NewMailDialogLeft", s.new_mail_dialog_left);
  w.Int("NewMailDialogTop", s.new_mail_dialog_top);
  w.Int("NewMailDialogRight", s.new_mail_dialog_right);
  w.Int("NewMailDialogBottom", s.new_mail_dialog_bottom);
  w.Int("NewMailDialogListHeight", s.new_mail_dialog_list_height);
}

void SaveTimers(const SettingsState& s, SettingsWriter& out) {
  for (int i = 0; i < kCommandTimerCount; ++i) {
    const CommandTimer& timer = s.timers[i];
    CompoundText value;
    value.Number(timer.enabled).Char(',').TwoDigits(timer.hour).Char(':');
    value.TwoDigits(timer.minute).Char(',').Text(StoredText(timer.command));
    out.Write(kTimerSection, CommandTimerKey(i), value.View());
  }
}

void SaveMail(const SettingsState& s, SettingsWriter& out) {
  KeyWriter w(out, kMailSection);
  w.Int("AutoCheckTime", s.auto_check_time);
  w.Int("ShowMailDialog", s.show_mail_dialog);
  w.Int("SavePreviousMailStatus", s.save_previous_mail_status);
  w.Text("MailLauncherCommand", StoredText(s.mail_launcher_command));
  w.Int("MailLauncherOrNot", s.mail_launcher_or_not);
  w.Int("TimeOut", s.time_out);
  w.Int("LimitMailSize", s.limit_mail_size);
  w.Int("DeleteMailPermission", s.delete_mail_permission);

  int entries = s.check_list.count;
  if (entries < 0) entries = 0;
  if (entries > kMailAccountCount) entries = kMailAccountCount;
  for (int i = 0; i < kMailAccountCount; ++i) {
    const MailAccount& account = s.accounts[i];
    CompoundText value;
    value.Number(account.enabled).Char('\t').Text(StoredText(account.server)).Char('\t');
    value.Text(StoredText(account.user_name)).Char('\t').Text(StoredText(account.password)).Char('\t');
    value.Text(StoredText(account.sound_file));
    out.Write(kMailSection, MailAccountKey(i), value.View());
    // An account without an entry (a disabled one) keeps what the file holds.
    for (int e = 0; e < entries; ++e) {
      const PreviousMailState& entry = s.check_list.entries[e];
      if (entry.account != i) continue;
      value.Clear();
      value.Number(entry.message_count).Char(',').Text(StoredText(entry.key_text));
      out.Write(kMailSection, PrevMailKey(i), value.View());
    }
  }
}

void SaveOther(const SettingsState& s, SettingsWriter& out) {
  KeyWriter w(out, kOtherSection);
  w.Int("UsingDropFile", s.using_drop_file);
  w.Int("LeaveRoomMode", s.leave_room_mode);
  w.Text("LeaveRoomPassword", StoredText(s.leave_room_password));
}

}  // namespace

void SaveSettings(const SettingsState& state, std::int32_t in_tray, SettingsWindowHooks& window,
                  SettingsWriter& out) {
  SaveUserWindow(state, in_tray, window, out);
  SaveTimers(state, out);
  SaveMail(state, out);
  SaveOther(state, out);
}

void WriteSettingsAndItems(const SettingsState& state, std::int32_t in_tray,
                           SettingsWindowHooks& window, SettingsWriter& out) {
  SaveSettings(state, in_tray, window, out);
  for (int i = 0; i < kLauncherItemCount; ++i) SaveLauncherItem(state.launcher_items[i], i, out);
}

}  // namespace vsmr
