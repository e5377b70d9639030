// Fuzz target: ISO-2022-JP conversion into buffers of every small size, with
// the first two bytes choosing the buffer size and the step limit. The result
// stays inside the buffer, and one more step or one more byte of room only
// ever adds one character after the same text.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "mail/mime/mail_codec.h"

namespace {

std::string_view Convert(std::string_view source, std::size_t dest_size, std::size_t limit,
                         std::vector<char>& dest) {
  // Exactly dest_size bytes, so any overrun is reported by the sanitizer.
  dest.assign(dest_size, 'Z');
  std::size_t n = vsmr::JisToShiftJis(source, dest.data(), dest.size(), limit);
  if (dest_size == 0) return {};
  if (n >= dest_size || dest[n] != '\0') __builtin_trap();
  return std::string_view(dest.data(), n);
}

// `longer` is `shorter` followed by at most one character (two bytes).
void CheckGrowth(std::string_view shorter, std::string_view longer) {
  if (longer.substr(0, shorter.size()) != shorter) __builtin_trap();
  if (longer.size() > shorter.size() + 2) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::size_t dest_size = data[0];
  std::size_t limit = data[1] == 0xFF ? size : data[1];
  std::string_view source(reinterpret_cast<const char*>(data + 2), size - 2);
  std::vector<char> base, more_steps, more_room;
  std::string_view text = Convert(source, dest_size, limit, base);
  if (dest_size == 0) return 0;
  CheckGrowth(text, Convert(source, dest_size, limit + 1, more_steps));
  CheckGrowth(text, Convert(source, dest_size + 1, limit, more_room));
  return 0;
}
