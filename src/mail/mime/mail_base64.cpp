// Base64 decoding without padding logic: "=" decodes as zero bits, so a
// padding group yields zero bytes that end the text for its readers.
#include "mail/mime/mail_codec.h"

namespace vsmr {
namespace {

constexpr unsigned Base64Value(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return 0;
}

}  // namespace

std::size_t DecodeBase64(std::string_view text, char* out, std::size_t out_size) {
  if (out_size == 0) return 0;
  std::size_t room = out_size - 1;
  std::size_t length = 0;
  for (std::size_t i = 0; i + 4 <= text.size() && length + 3 <= room; i += 4) {
    unsigned a = Base64Value(static_cast<unsigned char>(text[i]));
    unsigned b = Base64Value(static_cast<unsigned char>(text[i + 1]));
    unsigned c = Base64Value(static_cast<unsigned char>(text[i + 2]));
    unsigned d = Base64Value(static_cast<unsigned char>(text[i + 3]));
    out[length++] = static_cast<char>((a * 4 + b / 16) & 0xFF);
    out[length++] = static_cast<char>((b * 16 + c / 4) & 0xFF);
    out[length++] = static_cast<char>((c * 64 + d) & 0xFF);
  }
  out[length] = '\0';
  return length;
}

}  // namespace vsmr
