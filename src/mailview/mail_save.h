// Saving the mail text view's text as a file the user named.
#pragma once
#include <string>
#include <string_view>

namespace vsmr {

// Writes `text` to `path` exactly (no terminating zero byte), replacing an
// existing file in one step so that a failed write leaves it as it was.
// Returns an empty text on success, otherwise the message that names the file.
std::string SaveMailTextFile(const std::string& path, std::string_view text);

}  // namespace vsmr
