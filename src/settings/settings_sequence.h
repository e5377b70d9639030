// The start-up and save sequences over both files: the command list (with the
// hot key), the 64 launcher items and the other settings, in the program's
// order. The main window, the built-ins that save and the console tool use
// them. They join two libraries, so they are defined here, inline: whoever
// includes this header links vsmr_command as well as vsmr_settings.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "command/command_list.h"
#include "settings/settings_records.h"
#include "settings/settings_store.h"
#include "settings/settings_window_hooks.h"

namespace vsmr {

// Where the program's two files are, and the icon path that launcher items of
// the older form default to.
struct ProgramFiles {
  std::string settings_path;      // vsmrsys.ini, as opened
  std::string command_file_path;  // vsmrcmd.dat, as opened
  std::string default_icon_path;  // stored in the file as it is
};

// The program's files beside `executable_path` (a backslash path).
inline ProgramFiles ProgramFilesFor(std::string_view executable_path) {
  ProgramFiles files;
  files.settings_path = SettingsPath(executable_path);
  files.command_file_path = CommandFilePath(executable_path);
  files.default_icon_path = DefaultIconPath(files.settings_path);
  return files;
}

// Start-up: loads the command list and hot key, then items 0 to 63 (each shown
// one reported to window.LauncherItemShown), then LoadSettings. Returns
// InTaskOrNot as read.
inline std::int32_t LoadProgramSettings(SettingsState& settings, CommandList& commands,
                                        std::uint16_t& hot_key, SettingsWindowHooks& window,
                                        const ProgramFiles& files) {
  LoadCommandList(commands, hot_key, files.settings_path, files.command_file_path);
  // The file is read once; nothing writes it while the program starts.
  ProfileDocument file = ProfileDocument::Load(files.settings_path);
  for (int i = 0; i < kLauncherItemCount; ++i) {
    LauncherItem& item = settings.launcher_items[i];
    item.shown = LoadLauncherItem(item, i, file, files.default_icon_path);
    if (item.shown != 0) window.LauncherItemShown(i);
  }
  return LoadSettings(settings, file, window);
}

// Save: SaveSettings with `in_tray` as InTaskOrNot, the 64 items, then the
// command list with the hot key. The settings file is replaced once,
// atomically, with the bytes that writing key by key would give. Returns false
// when either file could not be written (the old one then stays as it was).
inline bool SaveProgramSettings(const SettingsState& settings, const CommandList& commands,
                                std::uint16_t hot_key, std::int32_t in_tray,
                                SettingsWindowHooks& window, const ProgramFiles& files) {
  ProfileDocument file = ProfileDocument::Load(files.settings_path);
  DocumentWriter out(file);
  WriteSettingsAndItems(settings, in_tray, window, out);
  bool commands_saved = SaveCommandList(commands, hot_key, file, files.command_file_path);
  bool settings_saved = file.Save(files.settings_path);
  return commands_saved && settings_saved;
}

}  // namespace vsmr
