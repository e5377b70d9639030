// The start-up sequence on a folder named by the arguments, and the live
// values of a close right after it.
#include "settings_tool.h"

#include <cstdio>

#include "folder_files.h"

namespace vsmr::tool {

LiveSettings LoadedProgram::Live() const {
  LiveSettings live;
  live.window_position_x = settings->window_position_x;
  live.window_position_y = settings->window_position_y;
  live.in_task_or_not = settings->in_task_or_not;
  return live;
}

bool LoadFolder(const char* command, const std::vector<std::string>& args, LoadedProgram& program) {
  std::string folder = ".";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool has_value = i + 1 < args.size();
    if (a == "--dir" && has_value) {
      folder = args[++i];
    } else if (a == "--work-area" && has_value) {
      int right = 0, bottom = 0;
      if (std::sscanf(args[++i].c_str(), "%d,%d", &right, &bottom) != 2) {
        std::fprintf(stderr, "vsmr %s: --work-area wants RIGHT,BOTTOM\n", command);
        return false;
      }
      program.work_area_right = right;
      program.work_area_bottom = bottom;
    } else {
      std::fprintf(stderr, "vsmr %s: unexpected argument '%s'\nusage: vsmr %s [--dir DIR] [--work-area RIGHT,BOTTOM]\n",
                   command, a.c_str(), command);
      return false;
    }
  }
  program.files = FolderFiles(folder);
  program.loaded = LoadProgramSettings(*program.settings, *program.commands, program.files,
                      program.work_area_right, program.work_area_bottom);
  return true;
}

}  // namespace vsmr::tool
