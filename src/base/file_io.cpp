// The platform-independent half of the whole-file helpers.
#include "base/file_io.h"

namespace vsmr {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  return ReadFileChecked(path, bytes).outcome == FileReadOutcome::kRead;
}

}  // namespace vsmr
