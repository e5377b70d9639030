// Conversion of mail text to Shift-JIS from UTF-8, Shift_JIS, EUC-JP, US-ASCII
// and ISO-8859-1, one loop for all: runs of ASCII are copied, every other
// character is read by its charset's reader and written in code page 932.
#include <algorithm>
#include <array>

#include "mail/mime/cp932.h"
#include "mail/mime/mail_charset.h"
#include "mail/mime/mail_codec.h"

namespace vsmr {
namespace {

// One character read from the source: its code page 932 code (0: the geta
// mark) and the bytes it took.
struct Read {
  std::uint16_t code;
  std::size_t length;
};

// Bytes copied as they are: ASCII but the zero byte and LF.
constexpr std::array<bool, 256> MakePlain() {
  std::array<bool, 256> plain{};
  for (int c = 1; c < 0x80; ++c) plain[c] = c != '\n';
  return plain;
}

constexpr std::array<bool, 256> kPlain = MakePlain();

constexpr bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::size_t DecodeUtf8Char(const unsigned char* in, std::size_t left, char32_t& cp) {
  const unsigned char c = in[0];
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    cp = c & 0x0F;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    cp = c & 0x07;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    cp = kReplacementCharacter;
    return 1;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char next = k < left ? in[k] : 0;
    if (k == 1 ? (next < low || next > high) : !IsContinuation(next)) {
      cp = kReplacementCharacter;
      return k;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  return length;
}

bool IsUtf8Text(std::string_view text, bool cut_at_end) {
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  bool eight_bit = false;
  for (std::size_t i = 0; i < text.size();) {
    if (in[i] < 0x80) {
      ++i;
      continue;
    }
    eight_bit = true;
    char32_t cp;
    const std::size_t length = DecodeUtf8Char(in + i, text.size() - i, cp);
    if (cp == kReplacementCharacter) {
      // A sequence that only lacks the bytes the cut took away.
      const bool cut = cut_at_end && i + length == text.size() && in[i] >= 0xC2 && in[i] <= 0xF4;
      return eight_bit && cut;
    }
    i += length;
  }
  return eight_bit;
}

namespace {

// UTF-8: a character, or one geta mark for each maximal ill-formed part (as
// Python's decoder replaces them).
Read ReadUtf8(const unsigned char* in, std::size_t left) {
  // Most of Japanese text: three bytes from U+0800 on, no surrogate.
  if (left >= 3 && (in[0] & 0xF0) == 0xE0 && (in[1] & 0xC0) == 0x80 && (in[2] & 0xC0) == 0x80) {
    const char32_t cp = (in[0] & 0x0Fu) << 12 | (in[1] & 0x3Fu) << 6 | (in[2] & 0x3Fu);
    if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) return Read{Cp932FromUnicode(cp), 3};
  }
  char32_t cp;
  const std::size_t length = DecodeUtf8Char(in, left, cp);
  return Read{Cp932FromUnicode(cp), length};
}

constexpr bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// What follows a byte that begins no character: that byte alone becomes the
// geta mark and the next byte is read afresh (as Python's decoders do).
constexpr Read kInvalidByte{0, 1};

// Code page 932 (all the Shift_JIS names): each character through Unicode, so
// that a code the page has twice comes out as Python's encoder writes it.
Read ReadShiftJis(const unsigned char* in, std::size_t left) {
  const unsigned char c = in[0];
  if (!IsLead(c)) return Read{Cp932FromUnicode(UnicodeFromCp932Byte(c)), 1};
  const char32_t cp = left < 2 ? 0 : UnicodeFromCp932(c, in[1]);
  return cp == 0 ? kInvalidByte : Read{Cp932FromUnicode(cp), 2};
}

constexpr bool IsEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }

// EUC-JP: JIS X 0208 at its code page 932 place (as ISO-2022-JP is read),
// half-width katakana after 0x8E, JIS X 0212 after 0x8F.
Read ReadEucJp(const unsigned char* in, std::size_t left) {
  const unsigned char c = in[0];
  if (IsEucByte(c)) {
    if (left < 2 || !IsEucByte(in[1])) return kInvalidByte;
    const unsigned c1 = c - 0x80, c2 = in[1] - 0x80;
    const unsigned lead = (c1 + 0xE1) / 2 + (c1 >= 0x5F ? 0x40 : 0);
    const unsigned trail = (c1 & 1) ? c2 + 0x1F + (c2 >= 0x60 ? 1 : 0) : c2 + 0x7E;
    const char32_t cp = UnicodeFromCp932(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
    return cp == 0 ? kInvalidByte : Read{Cp932FromUnicode(cp), 2};
  }
  if (c == 0x8E) {
    if (left < 2 || in[1] < 0xA1 || in[1] > 0xDF) return kInvalidByte;
    return Read{in[1], 2};
  }
  if (c == 0x8F) {
    if (left < 3 || !IsEucByte(in[1]) || !IsEucByte(in[2])) return kInvalidByte;
    const char32_t cp = charset_tables::kJisX0212ToUnicode[(in[1] - 0xA1) * 94 + (in[2] - 0xA1)];
    return cp == 0 ? kInvalidByte : Read{Cp932FromUnicode(cp), 3};
  }
  return kInvalidByte;
}

Read ReadAscii(const unsigned char*, std::size_t) { return kInvalidByte; }

Read ReadLatin1(const unsigned char* in, std::size_t) { return Read{Cp932FromUnicode(in[0]), 1}; }

template <Read (*ReadOne)(const unsigned char*, std::size_t)>
std::size_t Convert(std::string_view source, char* dest, std::size_t dest_size,
                    std::size_t step_limit) {
  if (dest_size == 0) return 0;
  const auto* in = reinterpret_cast<const unsigned char*>(source.data());
  auto* to = reinterpret_cast<unsigned char*>(dest);
  const std::size_t size = source.size();
  const std::size_t room = dest_size - 1;
  std::size_t i = 0, out = 0, steps = 0;
  while (i < size && steps <= step_limit) {
    // A run of ASCII, each byte one step, bounded by source, steps and room.
    const std::size_t n = std::min({step_limit - steps + 1, size - i, room - out});
    std::size_t k = 0;
    for (; k < n && kPlain[in[i]]; ++k) to[out++] = in[i++];
    steps += k;
    if (i >= size || steps > step_limit) break;

    const unsigned char c = in[i];
    if (c == 0) break;
    if (c == '\n') {
      const bool expand = i == 0 || in[i - 1] != '\r';
      if (out + (expand ? 2 : 1) > room) break;
      if (expand) to[out++] = '\r';
      to[out++] = '\n';
      ++i;
      ++steps;
      continue;
    }
    // A run of other characters, each one step.
    bool full = false;
    do {
      const Read read = ReadOne(in + i, size - i);
      const std::uint16_t code = read.code != 0 ? read.code : kGetaMark;
      if (code > 0xFF) {
        if (out + 2 > room) {
          full = true;
          break;
        }
        to[out] = static_cast<unsigned char>(code >> 8);
        to[out + 1] = static_cast<unsigned char>(code & 0xFF);
        out += 2;
      } else {
        if (out + 1 > room) {
          full = true;
          break;
        }
        to[out++] = static_cast<unsigned char>(code);
      }
      i += read.length;
      ++steps;
    } while (i < size && steps <= step_limit && in[i] >= 0x80);
    if (full) break;
  }
  dest[out] = '\0';
  return out;
}

}  // namespace

std::size_t ConvertToShiftJis(MailCharset charset, std::string_view source, char* dest,
                              std::size_t dest_size, std::size_t step_limit) {
  switch (charset) {
    case MailCharset::kUtf8: return Convert<ReadUtf8>(source, dest, dest_size, step_limit);
    case MailCharset::kShiftJis: return Convert<ReadShiftJis>(source, dest, dest_size, step_limit);
    case MailCharset::kEucJp: return Convert<ReadEucJp>(source, dest, dest_size, step_limit);
    case MailCharset::kUsAscii: return Convert<ReadAscii>(source, dest, dest_size, step_limit);
    case MailCharset::kIso8859_1: return Convert<ReadLatin1>(source, dest, dest_size, step_limit);
    case MailCharset::kIso2022Jp:
    case MailCharset::kUnknown: break;
  }
  return JisToShiftJis(source, dest, dest_size, step_limit);
}

}  // namespace vsmr
