// Tables of the mail decoders' character conversion, generated at build time
// by make_charset_tables.py from Python's cp932 and euc_jp codecs and its HTML
// entity tables. Read them through cp932.h and mail_html_entity.h.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vsmr::charset_tables {

// Unicode to code page 932 is the inversion of the tables below (the first code
// of a character kept) with these corrections, sorted by code point; a code of 0
// means the code page lacks the character. See Cp932FromUnicode.
struct Cp932EncodeFix {
  std::uint16_t unicode;
  std::uint16_t code;
};
extern const Cp932EncodeFix kCp932EncodeFixes[];
extern const std::size_t kCp932EncodeFixCount;

// Code page 932 to Unicode: single bytes (0xFFFF: a lead byte), and double
// bytes by lead (0x81-0x9F, then 0xE0-0xFC) and trail (0x40-0xFC); 0 where the
// code page defines no character.
extern const std::uint16_t kCp932SingleToUnicode[256];
inline constexpr std::size_t kCp932TrailCount = 0xFC - 0x40 + 1;
extern const std::uint16_t kCp932DoubleToUnicode[60 * kCp932TrailCount];

// JIS X 0212 (row and cell 0x21-0x7E, as EUC-JP's 0x8F form has them) to
// Unicode; 0 where none is defined.
extern const std::uint16_t kJisX0212ToUnicode[94 * 94];

// HTML named character references, sorted by name (bytes); names that end in
// ";" are the full form, the others the few that may stand without it. Name i
// is kHtmlEntityNames from kHtmlEntityNameEnds[i - 1] (0 for the first) to
// kHtmlEntityNameEnds[i]. kHtmlEntityPoints[i] holds the code point it stands
// for in its low 21 bits and, above them, 0 or 1 + the index in
// kHtmlEntitySeconds of a second code point. (Packed so: as pointers and
// structures the table took twice the room in the executable.)
inline constexpr unsigned kHtmlEntityPointBits = 21;
extern const char kHtmlEntityNames[];
extern const std::uint16_t kHtmlEntityNameEnds[];
extern const std::uint32_t kHtmlEntityPoints[];
extern const std::uint32_t kHtmlEntitySeconds[];
extern const std::size_t kHtmlEntityCount;

// Numeric references replaced by another code point (sorted by number).
struct HtmlNumericFix {
  std::uint32_t number;
  std::uint32_t replacement;
};
extern const HtmlNumericFix kHtmlNumericFixes[];
extern const std::size_t kHtmlNumericFixCount;

// Numeric references that stand for nothing (inclusive ranges, sorted).
struct HtmlDroppedRange {
  std::uint32_t first;
  std::uint32_t last;
};
extern const HtmlDroppedRange kHtmlDroppedRanges[];
extern const std::size_t kHtmlDroppedRangeCount;

}  // namespace vsmr::charset_tables
