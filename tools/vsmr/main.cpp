// vsmr: dispatches to the subcommand named by the first argument.
#include <cstdio>
#include <cstring>

#include "subcommand.h"

namespace vsmr::tool {

static std::vector<const Subcommand*>& Registry() {
  static std::vector<const Subcommand*> list;
  return list;
}

Subcommand::Subcommand(const char* n, const char* u, SubcommandMain r) : name(n), usage(u), run(r) {
  Registry().push_back(this);
}

const std::vector<const Subcommand*>& AllSubcommands() { return Registry(); }

}  // namespace vsmr::tool

int main(int argc, char** argv) {
  using vsmr::tool::AllSubcommands;
  if (argc >= 2) {
    for (const auto* sub : AllSubcommands()) {
      if (std::strcmp(argv[1], sub->name) == 0) {
        return sub->run(std::vector<std::string>(argv + 2, argv + argc));
      }
    }
    std::fprintf(stderr, "vsmr: unknown command '%s'\n", argv[1]);
  }
  std::fprintf(stderr, "usage:\n");
  for (const auto* sub : AllSubcommands()) std::fprintf(stderr, "  vsmr %s\n", sub->usage);
  return 2;
}
