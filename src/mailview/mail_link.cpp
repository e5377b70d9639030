// Link search in the mail text: delimiter bytes, the scan either side of the
// click, the scheme search and the shell target.
#include "mailview/mail_link.h"

#include <algorithm>

#include "base/sjis.h"

namespace vsmr {

namespace {

bool IsSingleByteDelimiter(unsigned char c) {
  return c <= 0x22 || (c >= 0x27 && c <= 0x2C) || c == '<' || c == '>' || c == '{' ||
         c == '}';
}

bool IsDelimiter(unsigned char c) { return IsSingleByteDelimiter(c) || IsSjisLeadByte(c); }

// True when byte `at` is the second byte of a double-byte character.
bool IsTrailByte(std::string_view text, std::size_t at) {
  std::size_t i = 0;
  while (i < at) i += IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  return i > at;
}

}  // namespace

MailLink FindLinkAt(std::string_view text, std::size_t start, std::size_t end) {
  MailLink link;
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (start >= text.size() || end < start || IsDelimiter(at(start))) return link;
  bool dot = false;

  // Forward, up to 127 bytes beyond the end; the end of the text counts as a
  // delimiter. Without a delimiter in reach the end stays where it was.
  const std::size_t reach = end + kLinkTargetLimit;
  std::size_t i = start;
  for (; i <= reach && i < text.size() && !IsDelimiter(at(i)); ++i) dot = dot || text[i] == '.';
  std::size_t scan_end = i;
  if (i <= reach) end = i;

  // Backward. A byte in the lead range may be a trail byte; the link then
  // starts right after it, not one byte further.
  std::size_t s = start;
  for (std::size_t n = start + 1; n-- > 0;) {
    if (IsSingleByteDelimiter(at(n))) {
      s = n + 1;
      break;
    }
    if (IsSjisLeadByte(at(n))) {
      s = IsTrailByte(text, n) ? n + 1 : n + 2;
      break;
    }
    dot = dot || text[n] == '.';
    if (n == 0) s = 0;
  }

  const std::string_view word = text.substr(s, scan_end - s);
  for (std::string_view scheme : {"http:", "ftp:", "https:"}) {
    const std::size_t found = word.find(scheme);
    if (found == std::string_view::npos) continue;
    link.kind = kMailLinkWeb;
    link.start = s + found;
    break;
  }
  if (link.kind == kMailLinkNone) {
    if (word.find('@') == std::string_view::npos || !dot) return link;
    link.kind = kMailLinkMail;
    link.start = s;
  }
  link.end = end;

  std::size_t stop = link.start;
  while (stop < text.size() && !IsDelimiter(at(stop))) ++stop;
  const std::string_view address = text.substr(link.start, stop - link.start);
  link.target = link.kind == kMailLinkMail ? "mailto:" + std::string(address) : std::string(address);
  if (link.target.size() > kLinkTargetLimit) link.target.resize(kLinkTargetLimit);
  return link;
}

std::size_t SjisByteOffset(std::string_view text, std::size_t chars) {
  std::size_t i = 0;
  for (; chars > 0 && i < text.size(); --chars) {
    i += IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return std::min(i, text.size());
}

std::size_t SjisCharCount(std::string_view text, std::size_t bytes) {
  bytes = std::min(bytes, text.size());
  std::size_t chars = 0;
  for (std::size_t i = 0; i < bytes; ++chars) {
    i += IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return chars;
}

}  // namespace vsmr
