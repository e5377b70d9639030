// ReplaceFile on POSIX: rename(2) replaces the target atomically.
#include <cstdio>

#include "base/file_io.h"

namespace vsmr {

bool MoveFileOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace vsmr
