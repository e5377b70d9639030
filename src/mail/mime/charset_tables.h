// Tables of the mail decoders' character conversion, generated at build time
// by make_charset_tables.py from Python's cp932 and euc_jp codecs and its HTML
// entity tables. Read them through cp932.h and mail_html_entity.h.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vsmr::charset_tables {

// Unicode (BMP) to code page 932: page kCp932PageOf[cp >> 8] (from 1; 0: no
// character of that page), entry cp & 0xFF of kCp932Pages[page - 1]. An entry
// is 0 for a character the code page lacks, the byte for a single-byte
// character, else lead byte << 8 | trail byte.
extern const std::uint8_t kCp932PageOf[256];
extern const std::uint16_t kCp932Pages[][256];
extern const std::size_t kCp932PageCount;

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
// ";" are the full form, the others the few that may stand without it.
struct HtmlEntity {
  const char* name;
  std::uint32_t first;   // the code point it stands for
  std::uint32_t second;  // a second code point, or 0
};
extern const HtmlEntity kHtmlEntities[];
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
