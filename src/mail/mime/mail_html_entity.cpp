// HTML character references over the generated tables: named references by
// binary search, numeric ones with the replacements HTML prescribes.
#include "mail/mime/mail_html_entity.h"

#include <algorithm>

#include "mail/mime/charset_tables.h"
#include "mail/mime/cp932.h"

namespace vsmr {
namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

std::string_view EntityName(std::size_t i) {
  const std::size_t begin = i == 0 ? 0 : charset_tables::kHtmlEntityNameEnds[i - 1];
  return std::string_view(charset_tables::kHtmlEntityNames + begin, charset_tables::kHtmlEntityNameEnds[i] - begin);
}

// The reference `name` stands for, as a reference `length` bytes long; none
// (length 0) when no entity has that name.
HtmlCharRef FindEntity(std::string_view name, std::size_t length) {
  std::size_t low = 0, high = charset_tables::kHtmlEntityCount;
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if (EntityName(mid) < name) low = mid + 1; else high = mid;
  }
  if (low == charset_tables::kHtmlEntityCount || EntityName(low) != name) return {};
  const std::uint32_t points = charset_tables::kHtmlEntityPoints[low];
  const std::uint32_t second = points >> charset_tables::kHtmlEntityPointBits;
  return HtmlCharRef{length, points & ((1u << charset_tables::kHtmlEntityPointBits) - 1),
                     second == 0 ? 0 : charset_tables::kHtmlEntitySeconds[second - 1]};
}

char32_t NumericCodePoint(char32_t number) {
  const auto* fixes = charset_tables::kHtmlNumericFixes;
  const auto* fixes_end = fixes + charset_tables::kHtmlNumericFixCount;
  const auto* fix = std::find_if(fixes, fixes_end, [&](const auto& f) { return f.number == number; });
  if (fix != fixes_end) return fix->replacement;
  if ((number >= 0xD800 && number <= 0xDFFF) || number > kMaxCodePoint) return kReplacementCharacter;
  for (std::size_t i = 0; i < charset_tables::kHtmlDroppedRangeCount; ++i) {
    const auto& range = charset_tables::kHtmlDroppedRanges[i];
    if (number >= range.first && number <= range.last) return 0;
  }
  return number;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

HtmlCharRef ReadNumeric(std::string_view text) {
  const bool hex = text.size() > 2 && (text[2] == 'x' || text[2] == 'X');
  std::size_t i = hex ? 3 : 2;
  const std::size_t digits_start = i;
  char32_t number = 0;
  for (; i < text.size(); ++i) {
    const int digit = hex ? HexDigit(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) break;
    // Anything past the last code point stays past it.
    number = std::min<char32_t>(number * (hex ? 16 : 10) + static_cast<char32_t>(digit), kMaxCodePoint + 1);
  }
  if (i == digits_start) return {};
  if (i < text.size() && text[i] == ';') ++i;
  return HtmlCharRef{i, NumericCodePoint(number), 0};
}

bool IsNameByte(char c) {
  return c != '\t' && c != '\n' && c != '\f' && c != ' ' && c != '<' && c != '&' && c != '#' && c != ';';
}

}  // namespace

HtmlCharRef ReadHtmlCharRef(std::string_view text) {
  if (text.size() < 2 || text[0] != '&') return {};
  if (text[1] == '#') return ReadNumeric(text);
  std::size_t end = 1;
  while (end < text.size() && end - 1 < kHtmlEntityNameMax && IsNameByte(text[end])) ++end;
  if (end == 1) return {};
  if (end < text.size() && text[end] == ';') ++end;
  // The whole name, else its longest start (two characters at least) that
  // stands without ";".
  const std::string_view name = text.substr(1, end - 1);
  if (const HtmlCharRef whole = FindEntity(name, end); whole.length != 0) return whole;
  for (std::size_t length = name.size() - 1; length >= 2 && length < name.size(); --length) {
    if (const HtmlCharRef start = FindEntity(name.substr(0, length), length + 1); start.length != 0) return start;
  }
  return {};
}

}  // namespace vsmr
