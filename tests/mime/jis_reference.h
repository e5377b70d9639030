// A plain step-by-step ISO-2022-JP to Shift-JIS conversion, one step per loop,
// used to check the bulk paths of JisToShiftJis (unit test and fuzz target).
#pragma once
#include <cstddef>
#include <string_view>

namespace vsmr::testing {

inline std::size_t ReferenceJisToShiftJis(std::string_view source, char* dest,
                                          std::size_t dest_size, std::size_t step_limit) {
  if (dest_size == 0) return 0;
  auto at = [&](std::size_t k) -> unsigned char {
    return k < source.size() ? static_cast<unsigned char>(source[k]) : 0;
  };
  auto jis = [](unsigned char c) { return c >= 0x21 && c <= 0x7E; };
  std::size_t i = 0, out = 0, steps = 0, room = dest_size - 1;
  bool two_byte = false;
  for (; i < source.size() && steps <= step_limit; ++steps) {
    unsigned char c = at(i);
    if (c == 0) break;
    if (c == 0x1B && i + 2 < source.size()) {
      if (at(i + 1) == '$' && (at(i + 2) == 'B' || at(i + 2) == '@')) {
        two_byte = true;
        i += 3;
        continue;
      }
      if (at(i + 1) == '(' && (at(i + 2) == 'B' || at(i + 2) == 'J')) {
        two_byte = false;
        i += 3;
        continue;
      }
    }
    if (c == '\n' && (i == 0 || at(i - 1) != '\r')) {
      if (out + 2 > room) break;
      dest[out++] = '\r';
      dest[out++] = '\n';
      ++i;
      continue;
    }
    if (two_byte) {
      unsigned char c2 = at(i + 1);
      if (!jis(c) || !jis(c2) || out + 2 > room) break;
      unsigned first = (c + 0xE1u) / 2 + (c >= 0x5F ? 0x40u : 0u);
      unsigned second = (c & 1) ? c2 + 0x1Fu + (c2 >= 0x60 ? 1u : 0u) : c2 + 0x7Eu;
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

}  // namespace vsmr::testing
