// Finding a web or mail address around a click in the mail text, and the
// mapping between the text view's character positions and the text's bytes.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vsmr {

inline constexpr int kMailLinkNone = 0;
inline constexpr int kMailLinkWeb = 1;
inline constexpr int kMailLinkMail = 2;

// Clicks at or beyond this character of the text are ignored, and text past it
// takes no part in the search.
inline constexpr std::size_t kLinkTextLimit = 51199;
// The longest target handed to the shell.
inline constexpr std::size_t kLinkTargetLimit = 127;

struct MailLink {
  int kind = kMailLinkNone;
  std::size_t start = 0;  // byte range to select in the text
  std::size_t end = 0;
  std::string target;     // what the shell opens; empty without a link
};

// The link around bytes `start` to `end` of `text`. A link is a run of bytes
// that are not delimiters (controls, blanks, quotes, brackets, the first byte
// of a double-byte character); it is a web address when an "http:", "ftp:" or
// "https:" appears in it (searched in that order, the link then starting
// there), a mail address when it holds an "@" and a "." was met while it was
// scanned. The end is looked for at most 127 bytes beyond `end`; when none is
// met there the selection keeps `end`. Never reads outside `text`.
MailLink FindLinkAt(std::string_view text, std::size_t start, std::size_t end);

// The byte offset of character `chars` of Shift-JIS `text` (its length when
// the text has fewer characters), and the reverse: the number of characters
// in the first `bytes` bytes.
std::size_t SjisByteOffset(std::string_view text, std::size_t chars);
std::size_t SjisCharCount(std::string_view text, std::size_t bytes);

}  // namespace vsmr
