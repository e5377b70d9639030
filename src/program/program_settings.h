// The start-up and save sequences over the program's two files: the command
// list in vsmrcmd.dat, and everything else (the launcher items and the hot
// key among it) in vsmrsys.ini. The main window, the built-ins that save and
// the console tool run them.
#pragma once
#include <string>
#include <string_view>

#include "command/command_list.h"
#include "settings/settings_records.h"
#include "settings/settings_store.h"

namespace vsmr {

// Where the program's two files are, and the icon path that launcher items of
// the older form default to.
struct ProgramFiles {
  std::string settings_path;      // vsmrsys.ini, as opened
  std::string command_file_path;  // vsmrcmd.dat, as opened
  std::string default_icon_path;  // stored in the file as it is
};

// The program's files beside `executable_path` (a backslash path).
ProgramFiles ProgramFilesFor(std::string_view executable_path);

// Start-up: loads the command list, then every setting. Only data changes;
// the caller applies what was read (window position, launcher box, tray).
// A leave-room lock stored without a password starts off.
void LoadProgramSettings(SettingsState& settings, CommandList& commands,
                         const ProgramFiles& files, std::int32_t work_area_right,
                         std::int32_t work_area_bottom);

// Save: every setting (with `live` for the window's values), then the
// command list. The settings file is replaced once, atomically, after the
// command file, with the bytes that writing key by key would give. Returns
// false when either file could not be written (the old one then stays as it was).
bool SaveProgramSettings(const SettingsState& settings, const CommandList& commands,
                         const LiveSettings& live, const ProgramFiles& files);

}  // namespace vsmr
