// A folder named on the command line taken as the program's own: where its
// vsmrsys.ini and vsmrcmd.dat are, for every subcommand that reads them.
#pragma once
#include <string>

#include "program/program_settings.h"

namespace vsmr::tool {

// The program's files in `folder` (empty: the current folder) as the tool uses
// them: on Windows through the executable path folder + "\vesmira.exe", as
// the program forms them; elsewhere opened as folder + "/vsmrsys.ini" and
// folder + "/vsmrcmd.dat". Older launcher items default to the icon path
// folder + "\vesmira.exe" either way, the path the program forms from its
// own location.
ProgramFiles FolderFiles(const std::string& folder);

}  // namespace vsmr::tool
