// The tables and scalars that vsmrsys.ini fills: launcher items, command
// timers, mail accounts, the mail check list and every single-valued key.
// Plain fixed-capacity values; the application state object owns one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/fixed_text.h"
#include "mail/account/mail_account.h"

namespace vsmr {

inline constexpr int kLauncherItemCount = 64;
inline constexpr int kCommandTimerCount = 8;
inline constexpr int kMailAccountCount = 5;

// The launcher box's width in pixels as every way of setting it keeps it: 0
// to 4096, wider than any screen and far from overflowing the strip's widths.
inline constexpr std::int32_t kLauncherLengthLimit = 4096;
inline std::int32_t ClampLauncherLength(std::int32_t length) {
  return length < 0 ? 0 : length > kLauncherLengthLimit ? kLauncherLengthLimit : length;
}

// One launcher button's item; numbered 1 to 64 in the file, 0 to 63 here.
struct LauncherItem {
  FixedText<260> path;       // what the button runs
  FixedText<256> comment;    // its tool-tip text
  FixedText<260> icon_path;  // file the button's icon is taken from
  std::int32_t icon_index = 0;
  std::int32_t shown = 0;    // nonzero: the item has a button on the bar
};

// A command run every day at hour:minute while enabled; numbered 01 to 08.
struct CommandTimer {
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t enabled = 0;
  FixedText<128> command;
};

// What the last check saw in one enabled account's mailbox.
struct PreviousMailState {
  std::int32_t account = 0;   // index 0 to 4 of the MailAccount
  FixedText<128> key_text;    // message-id of the mailbox's first message
  std::int32_t message_count = 0;
};

// One entry per enabled account, in account order. A rebuild keeps each
// account's entry by its slot, so a result is stored by slot, not by index.
struct MailCheckList {
  std::int32_t count = 0;
  PreviousMailState entries[kMailAccountCount];
};

// The check list of `accounts`: one entry per enabled account, in slot order.
// An account that has an entry in `kept` keeps its key text and message count
// (what the last check saw); any other starts with count 0 and no key text.
MailCheckList RebuildMailCheckList(const MailAccount (&accounts)[kMailAccountCount],
                                   const MailCheckList& kept);

// The messages whose mail launcher commands have run, by identity (a hash of
// the message), oldest first: a message's commands run at most once, across
// starts and whatever the previous-mail state says.
inline constexpr int kMailLauncherRunsKept = 100;
struct MailLauncherRuns {
  std::int32_t count = 0;
  std::uint64_t ids[kMailLauncherRunsKept] = {};

  bool Contains(std::uint64_t id) const {
    for (int i = 0; i < count && i < kMailLauncherRunsKept; ++i) {
      if (ids[i] == id) return true;
    }
    return false;
  }
  // Adds `id` once; when the list is full the oldest identity goes.
  void Remember(std::uint64_t id) {
    if (Contains(id)) return;
    if (count < 0 || count > kMailLauncherRunsKept) count = 0;
    if (count == kMailLauncherRunsKept) {
      for (int i = 1; i < count; ++i) ids[i - 1] = ids[i];
      --count;
    }
    ids[count++] = id;
  }
};

// The list as vsmrsys.ini keeps it: 16 hexadecimal digits an identity, joined
// by commas, oldest first; and back. Reading skips what is not an identity.
std::string MailLauncherRunsText(const MailLauncherRuns& runs);
MailLauncherRuns ParseMailLauncherRuns(std::string_view text);
// The longest such text with its terminator.
inline constexpr std::size_t kMailLauncherRunsTextLength = kMailLauncherRunsKept * 17;

// Every setting of vsmrsys.ini. Field names follow the keys. A fresh state
// holds zeros: the defaults of absent keys are the settings table's, and a
// state holds them once loaded.
struct SettingsState {
  // [UserWindowData]
  std::int32_t command_line_launcher = 0;  // as read: open the launcher box at start-up
  std::int32_t command_line_launcher_length = 0;  // 0 to kLauncherLengthLimit after loading
  std::int32_t window_position_x = 0;  // as read: where the main window starts
  std::int32_t window_position_y = 0;
  std::int32_t in_task_or_not = 0;  // as read; the shell keeps the live flag
  FixedText<260> skin_bitmap_path;
  FixedText<260> command_launcher_cmb_bx_font;
  std::int32_t clock_font_color = 0;  // a Windows colour value: red in the low byte
  std::int32_t new_mail_dialog_left = 0;
  std::int32_t new_mail_dialog_top = 0;
  std::int32_t new_mail_dialog_right = 0;
  std::int32_t new_mail_dialog_bottom = 0;
  std::int32_t new_mail_dialog_list_height = 0;

  // [TimerAlarmData]
  CommandTimer timers[kCommandTimerCount];

  // [MailPopSetting]
  std::int32_t auto_check_time = 0;  // seconds; 0 or 10 to 43200 after loading
  std::int32_t show_mail_dialog = 0;
  std::int32_t save_previous_mail_status = 0;
  FixedText<256> mail_launcher_command;
  std::int32_t mail_launcher_or_not = 0;
  std::int32_t time_out = 0;         // seconds; 0 to 3600 after loading
  std::int32_t limit_mail_size = 0;  // bytes; 0 to 1 MiB after loading
  std::int32_t delete_mail_permission = 0;
  MailAccount accounts[kMailAccountCount];
  MailCheckList check_list;
  MailLauncherRuns mail_launcher_runs;  // MailLauncherDone

  // [OtherSettings]
  std::int32_t using_drop_file = 0;
  std::int32_t leave_room_mode = 0;  // the leave-room lock itself
  FixedText<32> leave_room_password;

  // [ButtonLauncher]
  LauncherItem launcher_items[kLauncherItemCount];

  // [CommandLineLauncher]
  std::uint16_t hot_key = 0;  // low byte the virtual key, high byte the modifier flags; 0: none
};

// What a save writes from the running program rather than from the state:
// field names follow the keys.
struct LiveSettings {
  std::int32_t command_line_launcher = 0;  // 1: the launcher box is open and kept open
  std::int32_t window_position_x = 0;      // the main window's current top-left corner
  std::int32_t window_position_y = 0;
  std::int32_t in_task_or_not = 0;         // the in-tray flag; 0 for the built-ins' saves
};

}  // namespace vsmr
