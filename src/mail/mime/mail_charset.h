// The character sets mail text is read in, found by their MIME names, and
// their conversion to Shift-JIS (code page 932).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vsmr {

enum class MailCharset : std::uint8_t {
  kUnknown,  // none given or none of these: read as ISO-2022-JP always was
  kUsAscii,
  kIso8859_1,
  kUtf8,
  kIso2022Jp,
  kShiftJis,  // Shift_JIS, Windows-31J and CP932 alike: read as code page 932
  kEucJp,
};

// Longest charset name looked up; longer names are unknown.
inline constexpr std::size_t kCharsetNameMax = 40;

// The charset a MIME name (any letter case; an RFC 2231 "*language" suffix
// ignored) stands for, or kUnknown.
MailCharset MailCharsetNamed(std::string_view name);

// The charset parameter of a Content-Type value (quoted or not), or kUnknown.
MailCharset ContentTypeCharset(std::string_view content_type);

// Converts `source` in `charset` to Shift-JIS in `dest` (dest_size bytes, the
// result always terminated), as JisToShiftJis does for ISO-2022-JP (which
// kUnknown and kIso2022Jp use): it stops at a zero byte, at the end of
// `source`, after step_limit + 1 steps (one per character or line-break
// expansion) or when `dest` is full (never inside a character); bare LFs
// become CR LF. A character code page 932 lacks, or a byte sequence that is
// no character, becomes the geta mark. Returns the length written.
std::size_t ConvertToShiftJis(MailCharset charset, std::string_view source, char* dest,
                              std::size_t dest_size, std::size_t step_limit);

// Reads the UTF-8 character at `in` (`left` bytes): sets `cp` (U+FFFD for a
// byte sequence that is none) and returns the bytes it takes (an ill-formed
// sequence takes its longest well-formed start, at least one byte).
std::size_t DecodeUtf8Char(const unsigned char* in, std::size_t left, char32_t& cp);

// True when `text` holds bytes of 0x80 and above and is UTF-8 throughout; with
// `cut_at_end`, a last sequence that only lacks its final bytes is accepted.
bool IsUtf8Text(std::string_view text, bool cut_at_end);

}  // namespace vsmr
