// Transfer encodings in full: Base64 and quoted-printable of bodies and parts,
// and the B and Q encodings of encoded words.
#include <cstring>

#include "mail/mime/mail_ascii.h"
#include "mail/mime/mail_codec.h"
#include "mail/mime/mail_record.h"

namespace vsmr {
namespace {

constexpr int Base64Value(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

constexpr int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Quoted-printable and Q alike; `underscore_blank` for Q.
std::size_t DecodeQuoted(std::string_view text, char* out, std::size_t out_size,
                         bool underscore_blank) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < text.size() && length < out_size; ++i) {
    char c = text[i];
    if (c == '=') {
      if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
        c = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
        i += 2;
      } else if (i + 1 == text.size()) {
        break;  // a soft line break at the very end
      } else if (text[i + 1] == '\n') {
        ++i;
        continue;
      } else if (text[i + 1] == '\r' && i + 2 < text.size() && text[i + 2] == '\n') {
        i += 2;
        continue;
      }
    } else if (c == '_' && underscore_blank) {
      c = ' ';
    }
    out[length++] = c;
  }
  return length;
}

}  // namespace

std::size_t DecodeBase64Text(std::string_view text, char* out, std::size_t out_size) {
  std::size_t length = 0;
  unsigned bits = 0;
  int count = 0;
  for (char ch : text) {
    const int value = Base64Value(static_cast<unsigned char>(ch));
    if (value < 0) continue;
    bits = (bits << 6) | static_cast<unsigned>(value);
    count += 6;
    if (count >= 8) {
      count -= 8;
      if (length >= out_size) break;
      out[length++] = static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return length;
}

std::size_t DecodeQuotedPrintableText(std::string_view text, char* out, std::size_t out_size) {
  return DecodeQuoted(text, out, out_size, false);
}

std::size_t DecodeQEncodedText(std::string_view text, char* out, std::size_t out_size) {
  return DecodeQuoted(text, out, out_size, true);
}

TransferEncoding TransferEncodingOf(std::string_view header_block) {
  if (header_block.size() > kEncodingSearchLimit) header_block = header_block.substr(0, kEncodingSearchLimit);
  char value[kHeaderValueSize];
  if (!FindHeaderField(header_block, "content-transfer-encoding:", value, sizeof value)) {
    return TransferEncoding::kNone;
  }
  if (StartsWithNoCase(value, "base64")) return TransferEncoding::kBase64;
  if (StartsWithNoCase(value, "quoted-printable")) return TransferEncoding::kQuotedPrintable;
  return TransferEncoding::kNone;
}

std::size_t DecodeTransferEncoding(TransferEncoding encoding, char* text) {
  const std::string_view source(text, std::strlen(text));
  std::size_t length = source.size();
  if (encoding == TransferEncoding::kBase64) {
    length = DecodeBase64Text(source, text, source.size());
  } else if (encoding == TransferEncoding::kQuotedPrintable) {
    length = DecodeQuotedPrintableText(source, text, source.size());
  }
  text[length] = '\0';
  return length;
}

}  // namespace vsmr
