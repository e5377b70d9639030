// ISO-2022-JP to Shift-JIS: the JIS X 0208 pair transformation with the two
// designations of each set that mail uses, and LF to CR LF for the text view.
#include "mail/mail_codec.h"

namespace vsmr {
namespace {

constexpr unsigned char kEsc = 0x1B;

constexpr bool IsJisByte(unsigned char c) { return c >= 0x21 && c <= 0x7E; }

}  // namespace

std::size_t JisToShiftJis(std::string_view source, char* dest, std::size_t dest_size,
                          std::size_t step_limit) {
  if (dest_size == 0) return 0;
  const auto* in = reinterpret_cast<const unsigned char*>(source.data());
  const std::size_t size = source.size();
  const std::size_t room = dest_size - 1;
  std::size_t i = 0;
  std::size_t out = 0;
  std::size_t steps = 0;
  bool two_byte = false;
  for (; i < size && steps <= step_limit; ++steps) {
    unsigned char c = in[i];
    if (c == 0) break;
    if (c == kEsc && i + 2 < size) {
      unsigned char set = in[i + 1], final = in[i + 2];
      if (set == '$' && (final == 'B' || final == '@')) {
        two_byte = true;
        i += 3;
        continue;
      }
      if (set == '(' && (final == 'B' || final == 'J')) {
        two_byte = false;
        i += 3;
        continue;
      }
    }
    if (c == '\n' && (i == 0 || in[i - 1] != '\r')) {
      if (out + 2 > room) break;
      dest[out++] = '\r';
      dest[out++] = '\n';
      ++i;
      continue;
    }
    if (two_byte) {
      // A two-byte run holds only pairs; anything else ends the conversion,
      // as does a pair whose second byte is out of range.
      if (!IsJisByte(c) || i + 1 >= size || !IsJisByte(in[i + 1])) break;
      if (out + 2 > room) break;
      unsigned c2 = in[i + 1];
      unsigned first = (c + 0xE1u) / 2 + (c >= 0x5F ? 0x40u : 0u);
      unsigned second = (c & 1) ? c2 + 0x1F + (c2 >= 0x60 ? 1u : 0u) : c2 + 0x7E;
      dest[out++] = static_cast<char>(first);
      dest[out++] = static_cast<char>(second);
      i += 2;
      continue;
    }
    if (out + 1 > room) break;
    dest[out++] = static_cast<char>(c);
    ++i;
  }
  dest[out] = '\0';
  return out;
}

}  // namespace vsmr
