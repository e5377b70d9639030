// The options dialog's rules that need no window: the working copies it edits,
// the automatic check interval as hours, minutes and seconds, the command
// list's add, delete and row moves, and what OK puts into effect.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "command/command_list.h"
#include "dialogs/launcher_item_rules.h"
#include "settings/settings_records.h"

namespace vsmr {

// Characters the length and interval fields are read from.
inline constexpr int kOptionNumberChars = 7;

// No drop radio button is checked (the setting holds a one-time value).
inline constexpr int kNoDropRadio = -1;

// What the dialog edits, taken afresh from the live tables at each opening:
// a copy of the settings, whose timers, items, accounts and the fields that
// ApplyOptions takes back the controls edit (the list rows' check boxes are
// the records' enabled and shown flags), and the fields whose text is kept
// as typed until OK.
struct OptionsCopy {
  SettingsState settings;
  CommandList commands;

  std::string launcher_length;  // the decimal text of the launcher box length field
  std::string hours, minutes, seconds;  // the automatic check interval's fields
  int drop_radio = kNoDropRadio;  // index of the checked drop radio button
};

// Fills `copy` from the live state (the fields as the controls show them).
void TakeOptionsCopy(const SettingsState& settings, const CommandList& commands, OptionsCopy& copy);

// The interval fields for `seconds`: whole hours, the minutes and seconds left.
struct IntervalFields {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};
IntervalFields SplitInterval(std::int32_t seconds);

// The interval the three fields give, each read from its first 7 characters,
// kept as the setting keeps it: 0 stays 0, other values below 10 become 10,
// values above 43200 become 43200. Large hour counts cannot overflow.
std::int32_t IntervalFromFields(std::string_view hours, std::string_view minutes,
                                std::string_view seconds);

// What OK leaves for the window to do.
struct OptionsEffects {
  int shown_items = 0;            // the button count the bar must show
  std::int32_t mail_interval = 0; // seconds to arm the automatic mail timer with; 0: none
  bool hot_key_changed = false;   // a failed registration is worth a notice only then
};

// OK: puts `copy` into effect. The launcher box length is held to 0 to
// kLauncherLengthLimit. Each shown item with an empty comment takes its
// path as comment, and one whose icon path names nothing (`exists`) takes its
// path as icon path with index 0. The check list is rebuilt from the enabled
// accounts in slot order, each staying account keeping what its last check saw.
// A drop radio of kNoDropRadio leaves the DropAction.
OptionsEffects ApplyOptions(const OptionsCopy& copy, SettingsState& settings,
                            CommandList& commands, const PathExists& exists);

// The row a row moves to by `step` (-1 up, +1 down) among `rows`, or -1 when
// it cannot move (the first up, the last down, or no row selected).
int MovedRow(int row, int step, int rows);

// Removes command `row`, closing the gap. False when there is no such row.
bool EraseCommand(CommandList& commands, int row);

// 追加: clears the slot after the last command for the editor, or returns
// false when the list is full.
bool BeginAddCommand(CommandList& commands);
// After the editor: the new command counts when its body is not empty.
bool FinishAddCommand(CommandList& commands);

}  // namespace vsmr
