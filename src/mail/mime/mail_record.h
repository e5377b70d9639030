// The decoded header of one message and the header-level decoders that fill
// and format it: field lookup, encoded words, the list's sender and date texts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/fixed_text.h"

namespace vsmr {

// Working widths of header decoding.
inline constexpr std::size_t kHeaderSearchLimit = 16383;  // bytes of a block searched
inline constexpr std::size_t kHeaderValueSize = 1024;     // one value, continuations included
inline constexpr std::size_t kMailDateSize = 128;

// Default texts of fields that a message lacks.
inline constexpr const char kNoSubjectText[] = "(件名なし)";
inline constexpr const char kNoSenderText[] = "(送信者不明)";
inline constexpr const char kNoRecipientText[] = "(宛先不明)";
inline constexpr const char kNoDateText[] = "(日付なし)";

// One message's header, decoded to Shift-JIS. A value-initialised record
// (`MailRecord record{};`) is all zeros.
struct MailRecord {
  FixedText<kHeaderValueSize> subject;       // decoded, or kNoSubjectText
  FixedText<kHeaderValueSize> from;          // decoded, or kNoSenderText
  FixedText<kHeaderValueSize> to;            // decoded, or kNoRecipientText
  FixedText<kMailDateSize> date;             // raw, or kNoDateText
  FixedText<kHeaderValueSize> reply_to;      // decoded, or a copy of from
  FixedText<kHeaderValueSize> message_id;    // raw, or a copy of date: the message's key
  FixedText<kHeaderValueSize> content_type;  // raw, or "text/plain"
  std::int32_t multipart = 0;                // content_type begins with "multipart"
};

// Looks up `field_name` (lower case with its colon, e.g. "subject:") in the
// first kHeaderSearchLimit bytes of `header_block`: the first line that begins
// with the name (case-insensitive). The value is the rest of the line after the
// colon and one blank or tab, with continuation lines (leading blanks and tabs
// dropped) appended directly. Writes the value into `value` (cut at
// value_size - 1 bytes, always terminated). True when the value is not empty.
bool FindHeaderField(std::string_view header_block, std::string_view field_name, char* value,
                     std::size_t value_size);

// Fills `record` (reset first) from a message's header block. Returns the
// multipart flag.
bool ParseMailHeaders(std::string_view header_block, MailRecord& record);

// Decodes a raw header value to Shift-JIS and appends it to the NUL-terminated
// `field` of `field_size` bytes, cut at a character boundary when it is full.
// Encoded words (B or Q, in a charset of mail_charset.h, names in any case)
// are decoded, the blanks between two of them dropped and the bytes of
// adjacent words in one charset converted together. The text around them is
// split into tokens at every "=", CR, LF and tab (none shown) and converted
// from ISO-2022-JP, or from UTF-8 when the whole value is UTF-8 with 8-bit
// bytes; an incomplete ISO-2022-JP B word among it is still decoded.
void DecodeHeaderText(std::string_view raw_value, char* field, std::size_t field_size);

// The From text as the message list shows it: angle-bracketed parts removed
// ("Name <a@b>" gives "Name "; "<a@b>" alone gives "a@b>").
std::string SenderListText(std::string_view from);

enum class MailDateForm {
  kShort,  // list column: "03/01/05 12:34"
  kLong,   // message view: "2003年01月05日(日) 12:34:56"
};

// Formats a raw RFC 822 Date value (as kept in MailRecord::date). No time-zone
// conversion; kNoDateText is returned unchanged.
std::string FormatMailDate(std::string_view date_value, MailDateForm form);

}  // namespace vsmr
