// The start-up and save sequences over the program's two files: the command
// list in vsmrcmd.dat, and everything else (the launcher items and the hot
// key among it) in vsmrsys.ini. The main window, the built-ins that save and
// the console tool run them.
#pragma once
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "command/command_file.h"
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

// What the start-up found in the two files, which every save of the run
// needs: a file that exists but could not be read is never written, and what
// the command list does not hold of vsmrcmd.dat is written back beside it.
struct LoadedFiles {
  FileRead settings;
  FileRead commands;
  CommandFileKeep command_file;
};

// Start-up: loads the command list, then every setting. Only data changes;
// the caller applies what was read (window position, launcher box, tray).
// A leave-room lock stored without a password starts off.
LoadedFiles LoadProgramSettings(SettingsState& settings, CommandList& commands,
                                const ProgramFiles& files, std::int32_t work_area_right,
                                std::int32_t work_area_bottom);

// The start-up's word about the files, or empty when there is none to say:
// a file that exists but could not be read (why, and that it is not written),
// where reading vsmrcmd.dat stopped with lines left unread (which line, why),
// and the first line with a field longer than the table keeps.
std::string LoadedFilesNotice(const LoadedFiles& loaded, const ProgramFiles& files);
// The status word that stands for that notice: "FileErrR" when a file could
// not be read, else "FileErrL".
std::string_view LoadedFilesNoticeWord(const LoadedFiles& loaded);

// What a save did with one file.
struct FileSave {
  enum class Outcome {
    kWritten,
    kLeftAlone,  // it could not be read at start-up: it is never written
    kFailed,     // writing or replacing it failed; the old file stays as it was
  };
  Outcome outcome = Outcome::kWritten;
  std::string path;
  std::string reason;  // the system's text for kFailed, the read's for kLeftAlone
};

struct ProgramSave {
  FileSave commands;
  FileSave settings;
  // False when a write failed (a file left alone is no failure of this save).
  bool Ok() const {
    return commands.outcome != FileSave::Outcome::kFailed &&
           settings.outcome != FileSave::Outcome::kFailed;
  }
};

// Save: every setting (with `live` for the window's values), then the
// command list. The settings file is replaced once, atomically, after the
// command file, with the bytes that writing key by key would give; it is
// read again first, and one that cannot be read then is not written either.
ProgramSave SaveProgramSettings(const SettingsState& settings, const CommandList& commands,
                                const LiveSettings& live, const ProgramFiles& files,
                                const LoadedFiles& loaded);

// The message for a save that failed: each file that could not be written
// with the system's reason. Empty when the save succeeded.
std::string SaveFailureText(const ProgramSave& save);

}  // namespace vsmr
