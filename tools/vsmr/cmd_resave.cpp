// vsmr resave: runs the program's start-up sequence and then its save
// sequence on a folder's files, as a close right after start-up would, so
// hand-edited files come out in the form the program writes.
#include <cstdio>

#include "settings_tool.h"
#include "subcommand.h"

namespace vsmr::tool {
namespace {

int RunResave(const std::vector<std::string>& args) {
  LoadedProgram program;
  if (!LoadFolder("resave", args, program)) return 2;
  if (!SaveProgramSettings(*program.settings, *program.commands, program.Live(), program.files)) {
    std::fprintf(stderr, "vsmr resave: could not write %s or %s\n", program.files.settings_path.c_str(),
                 program.files.command_file_path.c_str());
    return 1;
  }
  return 0;
}

const Subcommand kResave("resave", "resave [--dir DIR] [--work-area RIGHT,BOTTOM]", RunResave);

}  // namespace
}  // namespace vsmr::tool
