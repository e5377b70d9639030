// What `vsmr settings` and `vsmr resave` share: a folder taken as the
// program's own, and the program's start-up sequence run on its files.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "command/command_list.h"
#include "program/program_settings.h"
#include "settings/settings_records.h"

namespace vsmr::tool {

// Everything the program holds after its start-up sequence.
struct LoadedProgram {
  ProgramFiles files;
  std::int32_t work_area_right = 1024;
  std::int32_t work_area_bottom = 768;
  std::unique_ptr<SettingsState> settings = std::make_unique<SettingsState>();
  std::unique_ptr<CommandList> commands = std::make_unique<CommandList>();
  LoadedFiles loaded;  // what the save needs of the start-up

  // What a close right after start-up saves from the window: where it was
  // read, the launcher box not kept open, the notification-area flag as read.
  LiveSettings Live() const;
};

// Parses "[--dir DIR] [--work-area RIGHT,BOTTOM]" into `program` and runs the
// start-up sequence. Returns false (after printing why) on a bad argument.
bool LoadFolder(const char* command, const std::vector<std::string>& args, LoadedProgram& program);

}  // namespace vsmr::tool
