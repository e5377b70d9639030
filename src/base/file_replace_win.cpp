// ReplaceFile on Windows: MoveFileExA replaces an existing target in one step
// (rename() there refuses to replace).
#include <windows.h>

#include "base/file_io.h"

namespace vsmr {

bool MoveFileOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace vsmr
