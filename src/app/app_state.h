// The shell's state: one object, created once by the entry and handed to the
// main window, so that nothing of it lives in hidden globals.
#pragma once
#include <cstdint>
#include <string>

#include "app/button_bar.h"
#include "app/call_hand_off.h"
#include "app/clock_face.h"
#include "app/shell_layout.h"
#include "base/fixed_text.h"
#include "command/command_list.h"
#include "command/command_menu.h"
#include "command/launcher_history.h"
#include "command/status_word.h"
#include "dialogs/choosers.h"
#include "program/program_settings.h"
#include "settings/settings_records.h"

namespace vsmr {

struct AppState {
  // The system is of the NT family: the launcher item dialog hands the shell's
  // icon chooser wide strings there and ANSI strings elsewhere.
  bool nt_platform = false;
  ShellLayout layout;
  bool skin_present = false;     // the skin file named in the settings exists
  StatusWord status;             // replaces the time on the clock face when set
  bool shutdown_active = false;  // the shutdown countdown (IDT_SHUTDOWN) is armed
  Point grab_offset;             // pointer position (client) when a move began
  bool keep_launcher_open = false;
  LauncherHistory history;
  ButtonBar buttons;             // the launcher buttons; how many: layout.button_count
  FileChooserState file_chooser; // the open-file dialog's filter, kept for the run

  CommandList commands;
  MenuSlots menu_slots;          // the command menus' entries, until a choice arrives

  // Everything vsmrsys.ini holds (the leave-room lock and the hot key among
  // it), and where the program's files are.
  SettingsState settings;
  ProgramFiles files;
  LoadedFiles loaded_files;  // what the start-up found in them, for every save

  bool LeaveRoomMode() const { return settings.leave_room_mode != 0; }

  // Calls other threads hand to the user-interface thread.
  CallHandOff hand_off;
};

}  // namespace vsmr
