// Code page 932 as Python's cp932 codec has it: Unicode to the code page (the
// geta mark for a character it lacks) and the code page back to Unicode.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mail/mime/charset_tables.h"

namespace vsmr {

// 〓, shown for a character that code page 932 lacks.
inline constexpr std::uint16_t kGetaMark = 0x81AC;
// What a decoder reads where its input holds no character.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code of `cp` in code page 932: a byte (at most 0xFF) or lead << 8 | trail;
// 0 when the code page lacks the character.
std::uint16_t Cp932FromUnicode(char32_t cp);

// The same, with the geta mark for what the code page lacks.
inline std::uint16_t Cp932OrGeta(char32_t cp) {
  const std::uint16_t code = Cp932FromUnicode(cp);
  return code != 0 ? code : kGetaMark;
}

// The character of a double-byte code (lead 0x81-0x9F or 0xE0-0xFC, trail
// 0x40-0xFC); 0 when the code page defines none there.
inline char32_t UnicodeFromCp932(unsigned char lead, unsigned char trail) {
  if (trail < 0x40 || trail > 0xFC) return 0;
  const unsigned row = lead >= 0xE0 ? lead - 0xE0 + 31 : lead - 0x81;
  if (lead < 0x81 || row >= 60) return 0;
  return charset_tables::kCp932DoubleToUnicode[row * charset_tables::kCp932TrailCount + trail - 0x40];
}

// The character of a single byte; 0xFFFF for a lead byte.
inline char32_t UnicodeFromCp932Byte(unsigned char byte) {
  return charset_tables::kCp932SingleToUnicode[byte];
}

}  // namespace vsmr
