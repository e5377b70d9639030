// Whole-file reads and atomic whole-file writes: a crash at any moment leaves
// either the old file or the new one, never a torn one.
#pragma once
#include <string>
#include <string_view>

namespace vsmr {

// Reads the whole file (binary). Returns false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes `bytes` to a temporary file in the same folder, flushes it to disk and
// then puts it in place of `path` in one step. Returns false (and leaves the old
// file as it was) when any step fails.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Moves `from` over `to`, replacing it in one step. Implemented per platform.
bool MoveFileOver(const std::string& from, const std::string& to);

}  // namespace vsmr
