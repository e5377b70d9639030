// The options dialog's rules (see options_rules.h).
#include "dialogs/options_rules.h"

#include <algorithm>
#include <iterator>

#include "dialogs/editor_rules.h"
#include "settings/settings_table.h"

namespace vsmr {

namespace {

constexpr int kDropRadios = 3;  // ask, run with the files, change the item

}  // namespace

void TakeOptionsCopy(const SettingsState& settings, const CommandList& commands,
                     OptionsCopy& copy) {
  copy.settings = settings;
  copy.commands = commands;
  copy.launcher_length = std::to_string(settings.command_line_launcher_length);
  const IntervalFields interval = SplitInterval(settings.auto_check_time);
  copy.hours = std::to_string(interval.hours);
  copy.minutes = std::to_string(interval.minutes);
  copy.seconds = std::to_string(interval.seconds);
  const int drop = settings.using_drop_file;
  copy.drop_radio = drop >= 0 && drop < kDropRadios ? drop : kNoDropRadio;
}

IntervalFields SplitInterval(std::int32_t seconds) {
  return {seconds / 3600, seconds % 3600 / 60, seconds % 60};
}

std::int32_t IntervalFromFields(std::string_view hours, std::string_view minutes,
                                std::string_view seconds) {
  const std::int64_t total = std::int64_t{ReadFieldNumber(hours, kOptionNumberChars)} * 3600 +
                             std::int64_t{ReadFieldNumber(minutes, kOptionNumberChars)} * 60 +
                             ReadFieldNumber(seconds, kOptionNumberChars);
  // Brought into range first, so that a huge count of hours neither wraps nor overflows.
  return ClampAutoCheckTime(static_cast<std::int32_t>(std::clamp<std::int64_t>(total, -1, 43201)));
}

OptionsEffects ApplyOptions(const OptionsCopy& copy, SettingsState& settings,
                            CommandList& commands, const PathExists& exists) {
  const SettingsState& edited = copy.settings;
  OptionsEffects effects;
  std::copy(std::begin(edited.timers), std::end(edited.timers), settings.timers);
  for (int i = 0; i < kLauncherItemCount; ++i) {
    LauncherItem& item = settings.launcher_items[i];
    item = edited.launcher_items[i];
    if (item.shown == 0) continue;
    ++effects.shown_items;
    if (item.comment.Empty()) item.comment.SetChars(item.path.View());
    if (!exists(std::string(item.icon_path.View()))) {
      item.icon_path = item.path;
      item.icon_index = 0;
    }
  }
  commands = copy.commands;
  settings.command_line_launcher_length =
      ClampLauncherLength(ReadFieldNumber(copy.launcher_length, kOptionNumberChars));

  std::copy(std::begin(edited.accounts), std::end(edited.accounts), settings.accounts);
  settings.check_list = RebuildMailCheckList(settings.accounts, settings.check_list);
  settings.auto_check_time = IntervalFromFields(copy.hours, copy.minutes, copy.seconds);
  if (settings.check_list.count > 0) effects.mail_interval = settings.auto_check_time;

  settings.save_previous_mail_status = edited.save_previous_mail_status;
  settings.show_mail_dialog = edited.show_mail_dialog;
  settings.mail_launcher_command = edited.mail_launcher_command;
  settings.mail_launcher_or_not = edited.mail_launcher_or_not;
  settings.skin_bitmap_path = edited.skin_bitmap_path;
  settings.clock_font_color = edited.clock_font_color;
  settings.command_launcher_cmb_bx_font = edited.command_launcher_cmb_bx_font;
  effects.hot_key_changed = settings.hot_key != edited.hot_key;
  settings.hot_key = edited.hot_key;
  if (copy.drop_radio != kNoDropRadio) settings.using_drop_file = copy.drop_radio;
  settings.leave_room_password = edited.leave_room_password;
  return effects;
}

int MovedRow(int row, int step, int rows) {
  if (row < 0 || row >= rows) return -1;
  const int target = row + step;
  return target >= 0 && target < rows ? target : -1;
}

bool EraseCommand(CommandList& commands, int row) {
  if (row < 0 || row >= commands.count) return false;
  for (int i = row; i + 1 < commands.count; ++i) commands.entries[i] = commands.entries[i + 1];
  commands.entries[--commands.count] = CommandEntry{};
  return true;
}

bool BeginAddCommand(CommandList& commands) {
  if (commands.count >= kMaxCommands) return false;
  commands.entries[commands.count] = CommandEntry{};
  return true;
}

bool FinishAddCommand(CommandList& commands) {
  if (commands.count >= kMaxCommands || commands.entries[commands.count].body.Empty()) {
    return false;
  }
  ++commands.count;
  return true;
}

}  // namespace vsmr
