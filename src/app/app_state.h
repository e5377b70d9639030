// The shell's state: one object, created once by the entry and handed to the
// main window, so that nothing of it lives in hidden globals.
#pragma once
#include <cstdint>
#include <string>

#include "app/clock_face.h"
#include "app/shell_layout.h"
#include "base/fixed_text.h"
#include "command/command_list.h"
#include "command/launcher_history.h"
#include "command/status_word.h"

namespace vsmr {

struct AppState {
  ShellLayout layout;
  bool in_tray = false;          // the program lives in the notification area
  bool skin_present = false;     // the skin file named in the settings exists
  StatusWord status;             // replaces the time on the clock face when set
  bool shutdown_active = false;  // the shutdown countdown (timer 105) is armed
  Point grab_offset;             // pointer position (client) when a move began
  bool keep_launcher_open = false;
  LauncherHistory history;
  bool leave_room_mode = false;

  CommandList commands;
  std::uint16_t hot_key = 0;

  // Values the settings file provides.
  int launcher_length = 100;
  FixedText<260> skin_path;
  FixedText<260> launcher_font;
  ColorRef clock_color = kDefaultClockColor;

  std::string settings_path;
  std::string command_file_path;
};

}  // namespace vsmr
