// ArgumentVector: every slot starts as "-1", written by the user.
#include "command/interpreter.h"

namespace vsmr {

namespace {
constexpr char kAbsent[] = "-1";
}

void ArgumentVector::Reset() {
  for (const char*& s : slot) s = kAbsent;
  for (const char*& m : marks) m = nullptr;
  count = 0;
}

MarkedView ArgumentVector::GetMarked(int k) const {
  if (k < 1 || k > kSlots) return {kAbsent, {}};
  std::string_view text(slot[k - 1]);
  const char* m = marks[k - 1];
  return {text, m == nullptr ? std::string_view() : std::string_view(m, text.size())};
}

}  // namespace vsmr
