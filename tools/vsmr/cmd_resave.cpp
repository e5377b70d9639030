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
  const ProgramSave save = SaveProgramSettings(*program.settings, *program.commands,
                                               program.Live(), program.files, program.loaded);
  int result = 0;
  for (const FileSave* file : {&save.commands, &save.settings}) {
    if (file->outcome == FileSave::Outcome::kWritten) continue;
    std::fprintf(stderr, "vsmr resave: %s %s: %s\n",
                 file->outcome == FileSave::Outcome::kFailed ? "could not write"
                                                             : "left alone, it could not be read:",
                 file->path.c_str(), file->reason.c_str());
    result = 1;
  }
  return result;
}

const Subcommand kResave("resave", "resave [--dir DIR] [--work-area RIGHT,BOTTOM]", RunResave);

}  // namespace
}  // namespace vsmr::tool
