// FolderFiles: the folder's trailing separators dropped, then the paths the
// program would form there.
#include "folder_files.h"

#include "console_text.h"

namespace vsmr::tool {

ProgramFiles FolderFiles(const std::string& folder) {
  std::string dir = folder.empty() ? "." : folder;
#ifdef _WIN32
  for (char& c : dir) {
    if (c == '/') c = '\\';
  }
  while (dir.size() > 1 && dir.back() == '\\' && dir[dir.size() - 2] != ':') dir.pop_back();
  return ProgramFilesFor(dir + "\\vesmira.exe");
#else
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  ProgramFiles files;
  files.settings_path = dir + "/vsmrsys.ini";
  files.command_file_path = dir + "/vsmrcmd.dat";
  files.default_icon_path = FromConsole(dir) + "\\vesmira.exe";
  return files;
#endif
}

}  // namespace vsmr::tool
