// Fuzz target: ISO-2022-JP conversion into buffers of every small size, with
// the first two bytes choosing the buffer size and the step limit; the result
// must equal the plain step-by-step conversion.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "../../tests/mime/jis_reference.h"
#include "mail/mail_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::size_t dest_size = data[0];
  std::size_t limit = data[1] == 0xFF ? size : data[1];
  std::string_view source(reinterpret_cast<const char*>(data + 2), size - 2);
  // Exactly dest_size bytes, so any overrun is reported by the sanitizer.
  std::vector<char> dest(dest_size);
  std::size_t n = vsmr::JisToShiftJis(source, dest.data(), dest.size(), limit);
  if (dest_size == 0) return 0;
  if (n >= dest_size || dest[n] != '\0') __builtin_trap();
  std::vector<char> reference(dest_size);
  std::size_t m = vsmr::testing::ReferenceJisToShiftJis(source, reference.data(), dest_size, limit);
  if (m != n || std::memcmp(reference.data(), dest.data(), n + 1) != 0) {
    __builtin_trap();
  }
  return 0;
}
