// What `vsmr settings` and `vsmr resave` share: a folder taken as the
// program's own, and the program's start-up sequence run on its files.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "command/command_list.h"
#include "settings/settings_records.h"
#include "settings/settings_sequence.h"

namespace vsmr::tool {

// A main window for running the sequences without one: it keeps the
// position it is moved to, has a fixed work area, and the launcher box is
// never kept open (as in a close right after start-up).
class HeadlessWindow : public SettingsWindowHooks {
 public:
  ScreenPoint work_area{1024, 768};
  ScreenPoint position{0, 0};
  bool launcher_opened = false;

  ScreenPoint WorkAreaRightBottom() override { return work_area; }
  void MoveMainWindow(ScreenPoint to) override { position = to; }
  void SendWindowCommand(int command) override {
    if (command == kLauncherToggleCommand) launcher_opened = !launcher_opened;
  }
  ScreenPoint MainWindowPosition() override { return position; }
  bool LauncherBoxKeptOpen() override { return false; }
};

// Everything the program holds after its start-up sequence.
struct LoadedProgram {
  ProgramFiles files;
  HeadlessWindow window;
  std::unique_ptr<SettingsState> settings = std::make_unique<SettingsState>();
  std::unique_ptr<CommandList> commands = std::make_unique<CommandList>();
  std::uint16_t hot_key = 0;
  std::int32_t in_tray = 0;
};

// Parses "[--dir DIR] [--work-area RIGHT,BOTTOM]" into `program` and runs the
// start-up sequence. Returns false (after printing why) on a bad argument.
bool LoadFolder(const char* command, const std::vector<std::string>& args, LoadedProgram& program);

// The program's files in `folder` as the host tool uses them: the files are
// opened as folder + "/vsmrsys.ini" (on Windows through the executable path
// folder + "\vesmira.exe"), and older launcher items default to the icon path
// folder + "\vesmira.exe", the path the program forms from its own location.
ProgramFiles FolderFiles(const std::string& folder);

}  // namespace vsmr::tool
