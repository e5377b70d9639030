// The launcher box's history: the last ten distinct lines entered, entry 0 the
// most recent. Kept in memory only.
#pragma once
#include <cstddef>
#include <string_view>

#include "base/fixed_text.h"

namespace vsmr {

class LauncherHistory {
 public:
  static constexpr int kEntries = 10;
  static constexpr std::size_t kEntrySize = 512;  // a stored line holds at most 511 bytes

  // Moves an equal entry (exact, case-sensitive, compared after cutting) to
  // entry 0, or pushes the line in front and drops the oldest.
  void Enter(std::string_view line);

  std::string_view Entry(int i) const { return entries_[i].View(); }

 private:
  FixedText<kEntrySize> entries_[kEntries];
};

}  // namespace vsmr
