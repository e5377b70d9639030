// In-place replacement inside a NUL-terminated buffer, shared by parameter
// expansion, the sound built-in and quoted-printable decoding.
#pragma once
#include <cstddef>
#include <string_view>

namespace vsmr {

// Replaces every occurrence of `pattern` in the NUL-terminated text in `buffer`
// by `replacement`, left to right. The scan resumes after the text just
// inserted, so an inserted text is never searched for the same pattern again.
// `capacity` is the buffer's size in bytes (NUL included); text that would grow
// past it is cut at capacity - 1 bytes instead of overrunning the buffer.
// Returns the number of replacements made. An empty pattern replaces nothing.
std::size_t ReplaceAll(char* buffer, std::size_t capacity, std::string_view pattern,
                       std::string_view replacement);

}  // namespace vsmr
