// ArgumentVector: every slot starts as "-1".
#include "command/interpreter.h"

namespace vsmr {

namespace {
constexpr char kAbsent[] = "-1";
}

void ArgumentVector::Reset() {
  for (const char*& s : slot) s = kAbsent;
  count = 0;
}

}  // namespace vsmr
