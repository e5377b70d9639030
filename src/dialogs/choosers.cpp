// Portable part of the choosers: putting a chosen path into the caller's buffer.
#include "dialogs/choosers.h"

#include <cstring>

#include "base/sjis.h"

namespace vsmr {

int StoreChosenPath(char* path, std::size_t capacity, std::string_view chosen) {
  if (capacity == 0) return 0;
  std::size_t n = SjisCutLength(chosen, capacity - 1);
  std::memcpy(path, chosen.data(), n);
  path[n] = '\0';
  return 1;
}

}  // namespace vsmr
