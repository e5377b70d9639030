// The text made from dropped file names: each name in double quotes, separated
// by one blank, bounded like a command line.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "command/interpreter.h"

namespace vsmr {

inline constexpr std::size_t kClipboardDropMax = 1023;  // bytes put on the clipboard

// "\"a\" \"b\"". A name that would not fit whole within kLineMax bytes is
// left out (with every later one), so the list never holds a cut name.
std::string BuildDropList(const std::vector<std::string>& names);

// The first bytes of the drop list for the clipboard, never splitting a
// double-byte character.
std::string_view ClipboardDropText(std::string_view drop_list);

}  // namespace vsmr
