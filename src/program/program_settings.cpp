// The start-up and save sequences: the command file and the settings file,
// in the program's order.
#include "program/program_settings.h"

namespace vsmr {

ProgramFiles ProgramFilesFor(std::string_view executable_path) {
  ProgramFiles files;
  files.settings_path = SettingsPath(executable_path);
  files.command_file_path = CommandFilePath(executable_path);
  files.default_icon_path = DefaultIconPath(files.settings_path);
  return files;
}

void LoadProgramSettings(SettingsState& settings, CommandList& commands,
                         const ProgramFiles& files, std::int32_t work_area_right,
                         std::int32_t work_area_bottom) {
  LoadCommandList(commands, files.command_file_path);
  // The file is read once; nothing writes it while the program starts.
  ProfileDocument file = ProfileDocument::Load(files.settings_path);
  SettingsLoadInputs inputs;
  inputs.work_area_right = work_area_right;
  inputs.work_area_bottom = work_area_bottom;
  inputs.default_icon_path = files.default_icon_path;
  LoadSettingsFile(settings, file, inputs);
  // Only the password switches the lock off, and an empty line is never
  // taken: a lock saved without one would hold for good.
  if (settings.leave_room_password.Empty()) settings.leave_room_mode = 0;
}

bool SaveProgramSettings(const SettingsState& settings, const CommandList& commands,
                         const LiveSettings& live, const ProgramFiles& files) {
  ProfileDocument file = ProfileDocument::Load(files.settings_path);
  DocumentWriter out(file);
  SaveSettingsFile(settings, live, out);
  bool commands_saved = SaveCommandList(commands, files.command_file_path);
  bool settings_saved = file.Save(files.settings_path);
  return commands_saved && settings_saved;
}

}  // namespace vsmr
