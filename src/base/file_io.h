// Whole-file reads and atomic whole-file writes: a crash at any moment leaves
// either the old file or the new one, never a torn one. Failures carry the
// system's own reason, for the messages that name them.
#pragma once
#include <string>
#include <string_view>

namespace vsmr {

enum class FileReadOutcome {
  kRead,
  kMissing,     // there is no such file (or folder on the way)
  kUnreadable,  // it exists but could not be read: locked, no permission, ...
};

struct FileRead {
  FileReadOutcome outcome = FileReadOutcome::kMissing;
  std::string reason;  // the system's text for kUnreadable
};

// Reads the whole file (binary) into `bytes` (empty unless kRead).
FileRead ReadFileChecked(const std::string& path, std::string& bytes);

// ReadFileChecked, true only for kRead.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes `bytes` to a temporary file beside `path` (`path` + ".tmp"), flushes
// it to the disk and then puts it in place of `path` in one step. False when
// any step fails: the old file then stays as it was, no temporary file is
// left, and `reason` (when given) receives the system's text.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* reason = nullptr);

// The temporary file WriteFileAtomically writes before it replaces `path`.
inline std::string TemporaryFileFor(const std::string& path) { return path + ".tmp"; }

}  // namespace vsmr
