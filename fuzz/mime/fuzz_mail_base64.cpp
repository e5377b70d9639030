// Fuzz target: Base64 groups into an exactly sized buffer, and the same text
// as a header value with encoded words.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "mail/mime/mail_codec.h"
#include "mail/mime/mail_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<char> out(size / 4 * 3 + 1);
  std::size_t n = vsmr::DecodeBase64(text, out.data(), out.size());
  if (n != size / 4 * 3) __builtin_trap();
  char field[vsmr::kHeaderValueSize] = {};
  vsmr::DecodeHeaderText(text, field, sizeof field);
  return 0;
}
