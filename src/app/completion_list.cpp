// The launcher box's completion list (see completion_list.h).
#include "app/completion_list.h"

namespace vsmr {

std::vector<std::string> BuildCompletionList(const CommandList& commands,
                                             const LauncherHistory& history) {
  std::vector<std::string> list;
  for (int i = 0; i < commands.count && !commands.entries[i].name.Empty(); ++i) {
    list.emplace_back(commands.entries[i].name.View());
  }
  for (int i = 0; i < LauncherHistory::kEntries && !history.Entry(i).empty(); ++i) {
    list.emplace_back(history.Entry(i));
  }
  return list;
}

std::size_t EnumCursor::Take(std::size_t requested, std::size_t size) {
  std::size_t left = position < size ? size - position : 0;
  std::size_t n = requested < left ? requested : left;
  position += n;
  return n;
}

bool EnumCursor::Skip(std::size_t count, std::size_t size) {
  if (position + count >= size) return false;
  position += count;
  return true;
}

}  // namespace vsmr
