// The launcher box's completion list (command names, then history lines) and
// the position rules of the enumerator that hands it to the platform.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "command/command_list.h"
#include "command/launcher_history.h"

namespace vsmr {

// The command list's names in list order up to the first empty name, then the
// history from entry 0 up to the first empty entry.
std::vector<std::string> BuildCompletionList(const CommandList& commands,
                                             const LauncherHistory& history);

// A position in a list of `size` texts.
struct EnumCursor {
  std::size_t position = 0;

  // How many texts to hand out for a request of `requested` (and advances past them).
  std::size_t Take(std::size_t requested, std::size_t size);
  // Advances by `count`; refused (position unchanged) when that would reach or
  // pass the end.
  bool Skip(std::size_t count, std::size_t size);
};

}  // namespace vsmr
