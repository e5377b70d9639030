// The launcher box's history rules (see launcher_history.h).
#include "command/launcher_history.h"

#include "base/sjis.h"

namespace vsmr {

void LauncherHistory::Enter(std::string_view line) {
  // Cut first, so that a long line entered twice is recognised as the same entry.
  std::string_view stored = line.substr(0, SjisCutLength(line, kEntrySize - 1));
  int found = kEntries - 1;  // no match: the oldest entry is the one dropped
  for (int i = kEntries - 1; i >= 0; --i) {
    if (entries_[i].View() == stored) {
      found = i;
      break;
    }
  }
  for (int i = found; i > 0; --i) entries_[i] = entries_[i - 1];
  entries_[0].Set(stored);
}

}  // namespace vsmr
