// HTML character references ("&amp;", "&#12354;", "&#x3042;") read as
// Python's html.unescape reads them.
#pragma once
#include <cstddef>
#include <string_view>

namespace vsmr {

// Longest reference name read (HTML's longest name has 32 characters).
inline constexpr std::size_t kHtmlEntityNameMax = 32;

struct HtmlCharRef {
  std::size_t length = 0;  // bytes of the text it replaces, "&" included; 0: none
  char32_t first = 0;      // what it stands for: up to two code points (0: none)
  char32_t second = 0;
};

// The reference that begins at text[0] (an "&"). A name without its ";" that
// begins with one of the few names allowed to stand alone replaces only that
// start ("&ampx" is "&" and "x").
HtmlCharRef ReadHtmlCharRef(std::string_view text);

}  // namespace vsmr
