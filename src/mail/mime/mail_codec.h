// Byte-level decoders of mail text: Base64, ISO-2022-JP to Shift-JIS, the few
// quoted-printable sequences Japanese mail uses, and the transfer encodings of
// bodies and encoded words in full.
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

// Base64 as mail readers take it: characters outside the alphabet (line
// breaks, padding) are skipped, a last group of two or three characters gives
// its one or two bytes. Quoted-printable in full: "=XX" in either case is the
// byte, "=" before a line break (a soft line break) and at the very end goes,
// any other "=" stays. The Q encoding of encoded words is quoted-printable with
// "_" for a blank. Each writes at most out_size bytes to `out`, which may be
// text.data() itself (the text only shrinks), and returns the length.
std::size_t DecodeBase64Text(std::string_view text, char* out, std::size_t out_size);
std::size_t DecodeQuotedPrintableText(std::string_view text, char* out, std::size_t out_size);
std::size_t DecodeQEncodedText(std::string_view text, char* out, std::size_t out_size);

enum class TransferEncoding { kNone, kBase64, kQuotedPrintable };

// The Content-Transfer-Encoding named in (the first 8,191 bytes of)
// `header_block`; kNone for 7bit, 8bit, binary or none.
TransferEncoding TransferEncodingOf(std::string_view header_block);

// Decodes the NUL-terminated `text` in place; returns its new length (the
// text stays terminated).
std::size_t DecodeTransferEncoding(TransferEncoding encoding, char* text);

}  // namespace vsmr
