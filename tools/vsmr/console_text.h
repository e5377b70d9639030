// Text crossing the console: the program's text is code page 932; on Windows
// it is printed as it is, elsewhere converted to UTF-8 (and arguments taken
// as UTF-8 are converted to code page 932).
#pragma once
#include <string>
#include <string_view>

namespace vsmr::tool {

// Code page 932 -> what the console shows (UTF-8 off Windows).
std::string ToConsole(std::string_view cp932);
// A command-line argument -> code page 932.
std::string FromConsole(std::string_view argument);
// A field of a tab-separated output line: tab, CR, LF and backslash escaped
// as \t, \r, \n, \\ (then converted with ToConsole).
std::string EscapeField(std::string_view cp932);

}  // namespace vsmr::tool
