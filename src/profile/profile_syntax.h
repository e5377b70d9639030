// The line grammar of a profile (INI) file in code page 932: blanks, section
// headers, "key=value" lines, name folding, quotes and the integer rule.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vsmr::profile {

// Blanks that surround names and values and make a line blank: space, tab,
// vertical tab, form feed, and the old end-of-file mark 0x1A.
constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view TrimBlanks(std::string_view text);
inline bool IsBlankLine(std::string_view line) { return TrimBlanks(line).empty(); }

// "[name]" (blanks allowed around the line and the name; text after the last
// ']' is ignored) gives the trimmed name; any other line gives nothing.
std::optional<std::string_view> ParseSectionHeader(std::string_view line);

// A key line: the trimmed text before the first '=' and after it.
struct KeyLine {
  std::string_view name;
  std::string_view value;
};
std::optional<KeyLine> ParseKeyLine(std::string_view line);

// The name as a lookup key: ASCII letters lowered, double-byte characters left
// alone (their trail bytes include the letter range).
std::string FoldName(std::string_view name);

// A value wrapped in one matching pair of double or single quotes loses them,
// as the platform's reader does.
std::string_view StripQuotes(std::string_view value);

// The leading signed decimal number of `text`; no digits gives 0. Out-of-range
// numbers wrap modulo 2^32 like the platform's reader.
std::int32_t LeadingInt(std::string_view text);

// A written value is one line: it ends at the first CR, LF or NUL.
std::string_view SingleLine(std::string_view text);

}  // namespace vsmr::profile
