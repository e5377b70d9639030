// Subcommand registry of the vsmr console tool. Each cmd_*.cpp defines one
// static Subcommand, which adds itself to the list that main() dispatches on.
#pragma once
#include <string>
#include <vector>

namespace vsmr::tool {

using SubcommandMain = int (*)(const std::vector<std::string>& args);

struct Subcommand {
  Subcommand(const char* name, const char* usage, SubcommandMain run);
  const char* name;
  const char* usage;  // one line, shown by `vsmr` without arguments
  SubcommandMain run;
};

const std::vector<const Subcommand*>& AllSubcommands();

}  // namespace vsmr::tool
