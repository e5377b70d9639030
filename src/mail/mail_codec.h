// Byte-level decoders of mail text: Base64, ISO-2022-JP to Shift-JIS and the
// few quoted-printable sequences Japanese mail uses.
#pragma once
#include <cstddef>
#include <string_view>

namespace vsmr {

// Decodes `text` four characters at a time (a trailing partial group is
// ignored); characters outside the alphabet, "=" included, count as 0, so a
// padding group yields zero bytes that end the decoded text. Writes at most
// out_size - 1 bytes and a terminating zero; returns the bytes written.
std::size_t DecodeBase64(std::string_view text, char* out, std::size_t out_size);

// Converts ISO-2022-JP `source` to Shift-JIS in `dest` (dest_size bytes, the
// result always terminated), stopping after step_limit + 1 steps (one per
// escape sequence, character pair, line-break expansion or copied byte), at a
// zero byte, at the end of `source`, at a byte a two-byte run cannot hold, or
// when `dest` is full (never in the middle of a character). Bare LFs become
// CR LF. Returns the length written.
std::size_t JisToShiftJis(std::string_view source, char* dest, std::size_t dest_size,
                          std::size_t step_limit);

// Bytes of a header block searched for Content-Transfer-Encoding.
inline constexpr std::size_t kEncodingSearchLimit = 8191;

// When `header_block` (its first 8,191 bytes) says the body is quoted-printable,
// decodes "=3D", "=1B", soft line breaks, "=20" and "=09" in the NUL-terminated
// `body`, in place (the text only shrinks). Other encoded bytes stay as they are.
void DecodeQuotedPrintable(std::string_view header_block, char* body);

}  // namespace vsmr
