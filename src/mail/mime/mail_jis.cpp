// ISO-2022-JP to Shift-JIS: the JIS X 0208 pair transformation with the two
// designations of each set that mail uses, and LF to CR LF for the text view.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "mail/mime/mail_codec.h"

namespace vsmr {
namespace {

constexpr unsigned char kEsc = 0x1B;

constexpr bool IsJisByte(unsigned char c) { return c >= 0x21 && c <= 0x7E; }

// True when all eight bytes at `p` lie in 0x21-0x7E (tested as one word).
inline bool AllJisBytes(const unsigned char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, sizeof x);
  constexpr std::uint64_t kOnes = ~std::uint64_t{0} / 255;
  constexpr std::uint64_t kHigh = kOnes * 0x80;
  std::uint64_t below = (x - kOnes * 0x21) & ~x & kHigh;    // some byte < 0x21
  std::uint64_t above = ((x + kOnes * (0x7F - 0x7E)) | x) & kHigh;  // some byte > 0x7E
  return (below | above) == 0;
}

// The pair transformation as two lookups (message bodies run through here in
// bulk): the first byte depends on c1 alone, the second on c2 and c1's parity.
struct PairTables {
  std::array<unsigned char, 128> first{};
  std::array<std::array<unsigned char, 128>, 2> second{};
};

constexpr PairTables MakePairTables() {
  PairTables t;
  for (unsigned c = 0x21; c <= 0x7E; ++c) {
    t.first[c] = static_cast<unsigned char>((c + 0xE1) / 2 + (c >= 0x5F ? 0x40 : 0));
    t.second[0][c] = static_cast<unsigned char>(c + 0x7E);
    t.second[1][c] = static_cast<unsigned char>(c + 0x1F + (c >= 0x60 ? 1 : 0));
  }
  return t;
}

constexpr PairTables kPairs = MakePairTables();

// Bytes that a single-byte run cannot simply copy.
constexpr std::array<bool, 256> MakeSpecial() {
  std::array<bool, 256> s{};
  s[0] = s['\n'] = s[kEsc] = true;
  return s;
}

constexpr std::array<bool, 256> kSpecial = MakeSpecial();

}  // namespace

std::size_t JisToShiftJis(std::string_view source, char* dest, std::size_t dest_size,
                          std::size_t step_limit) {
  if (dest_size == 0) return 0;
  const auto* in = reinterpret_cast<const unsigned char*>(source.data());
  auto* to = reinterpret_cast<unsigned char*>(dest);
  const std::size_t size = source.size();
  const std::size_t room = dest_size - 1;
  std::size_t i = 0;
  std::size_t out = 0;
  std::size_t steps = 0;
  bool two_byte = false;
  while (i < size && steps <= step_limit) {
    // Runs of plain pairs or plain bytes first, each one step, bounded so that
    // neither the source, the step limit nor the destination can be passed.
    std::size_t steps_left = step_limit - steps + 1;
    if (two_byte) {
      std::size_t n = std::min({steps_left, (size - i) / 2, (room - out) / 2});
      std::size_t k = 0;
      // Four pairs at a time while all eight bytes are in 0x21-0x7E.
      for (; k + 4 <= n && AllJisBytes(in + i); k += 4) {
        for (int pair = 0; pair < 4; ++pair) {
          to[out] = kPairs.first[in[i]];
          to[out + 1] = kPairs.second[in[i] & 1][in[i + 1]];
          out += 2;
          i += 2;
        }
      }
      for (; k < n && IsJisByte(in[i]) && IsJisByte(in[i + 1]); ++k) {
        to[out] = kPairs.first[in[i]];
        to[out + 1] = kPairs.second[in[i] & 1][in[i + 1]];
        out += 2;
        i += 2;
      }
      steps += k;
    } else {
      std::size_t n = std::min({steps_left, size - i, room - out});
      std::size_t k = 0;
      for (; k < n && !kSpecial[in[i]]; ++k) to[out++] = in[i++];
      steps += k;
    }
    if (i >= size || steps > step_limit) break;

    // One step of any other kind.
    unsigned char c = in[i];
    if (c == 0) break;
    if (c == kEsc && i + 2 < size) {
      unsigned char set = in[i + 1], final = in[i + 2];
      if (set == '$' && (final == 'B' || final == '@')) {
        two_byte = true;
        i += 3;
        ++steps;
        continue;
      }
      if (set == '(' && (final == 'B' || final == 'J')) {
        two_byte = false;
        i += 3;
        ++steps;
        continue;
      }
    }
    if (c == '\n' && (i == 0 || in[i - 1] != '\r')) {
      if (out + 2 > room) break;
      to[out++] = '\r';
      to[out++] = '\n';
      ++i;
      ++steps;
      continue;
    }
    if (two_byte) {
      // A two-byte run holds only pairs; anything else ends the conversion, as
      // does a pair whose second byte is out of range. A pair that would not
      // fit ends it too (never half a character).
      break;
    }
    if (out + 1 > room) break;
    to[out++] = c;
    ++i;
    ++steps;
  }
  dest[out] = '\0';
  return out;
}

}  // namespace vsmr
