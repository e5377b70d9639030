// The Unicode-to-code-page-932 table, built from the decoding tables at first use
// rather than stored: it is the largest of the tables and the executable ships
// without it.
#include "mail/mime/cp932.h"

namespace vsmr {
namespace {

struct Cp932EncodeTable {
  std::uint16_t code[0x10000] = {};

  Cp932EncodeTable() {
    for (unsigned byte = 0; byte < 256; ++byte) Keep(UnicodeFromCp932Byte(byte), byte);
    for (unsigned lead = 0x81; lead <= 0xFC; lead = lead == 0x9F ? 0xE0 : lead + 1) {
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        Keep(UnicodeFromCp932(lead, trail), lead << 8 | trail);
      }
    }
    for (std::size_t i = 0; i < charset_tables::kCp932EncodeFixCount; ++i) {
      code[charset_tables::kCp932EncodeFixes[i].unicode] = charset_tables::kCp932EncodeFixes[i].code;
    }
  }

  // The decoders read 0 (none) or 0xFFFF (a lead byte) where a code is no character.
  void Keep(char32_t unicode, unsigned cp932) {
    if (unicode != 0 && unicode < 0xFFFF && code[unicode] == 0) code[unicode] = static_cast<std::uint16_t>(cp932);
  }
};

}  // namespace

std::uint16_t Cp932FromUnicode(char32_t cp) {
  // Built once, thread-safely: the mail worker and the window both convert.
  static const Cp932EncodeTable table;
  return cp > 0xFFFF ? 0 : table.code[cp];
}

}  // namespace vsmr
