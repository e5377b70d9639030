// Header value decoding: B-encoded words in ISO-2022-JP and raw ISO-2022-JP
// text, converted token by token and appended to a record field.
#include <cstring>
#include <string>

#include "base/sjis.h"
#include "mail/mail_codec.h"
#include "mail/mail_record.h"

namespace vsmr {
namespace {

// The two spellings of an encoded word's start that are decoded (the leading
// "=" is already gone: it separates tokens).
constexpr std::string_view kUpperPrefix = "?ISO-2022-JP?B?";
constexpr std::string_view kLowerPrefix = "?iso-2022-jp?B?";
constexpr std::size_t kTokenStepLimit = 1020;
constexpr std::size_t kBase64TextMax = 1023;

bool IsSeparator(char c) { return c == '=' || c == '\r' || c == '\n' || c == '\t'; }

// Appends converted text to the field, cut at a character boundary.
void AppendToField(char* field, std::size_t field_size, std::size_t& length, std::string_view text) {
  std::size_t n = SjisCutLength(text, field_size - 1 - length);
  std::memcpy(field + length, text.data(), n);
  length += n;
  field[length] = '\0';
}

void AppendConverted(char* field, std::size_t field_size, std::size_t& length,
                     std::string_view jis) {
  // A step emits at most two bytes, so this holds any token's conversion.
  char converted[2 * (kTokenStepLimit + 1) + 1];
  std::size_t n = JisToShiftJis(jis, converted, sizeof converted, kTokenStepLimit);
  AppendToField(field, field_size, length, std::string_view(converted, n));
}

void AppendEncodedWord(char* field, std::size_t field_size, std::size_t& length,
                       std::string_view encoded) {
  std::string text(encoded.substr(0, kBase64TextMax));
  // The "=" separators cut away the word's padding and its closing "?=":
  // restore a length that is a multiple of four.
  if (!text.empty() && text.back() == '?') text.back() = '=';
  static constexpr const char* kPadding[] = {"", "===", "==", "="};
  text += kPadding[text.size() % 4];
  char bytes[(kBase64TextMax + 3) / 4 * 3 + 1];
  std::size_t n = DecodeBase64(text, bytes, sizeof bytes);
  AppendConverted(field, field_size, length, std::string_view(bytes, n));
}

}  // namespace

void DecodeHeaderText(std::string_view raw_value, char* field, std::size_t field_size) {
  if (field_size == 0) return;
  std::size_t length = ::strnlen(field, field_size - 1);
  field[length] = '\0';
  std::size_t pos = 0;
  while (pos < raw_value.size()) {
    while (pos < raw_value.size() && IsSeparator(raw_value[pos])) ++pos;
    std::size_t end = pos;
    while (end < raw_value.size() && !IsSeparator(raw_value[end])) ++end;
    if (end == pos) break;
    std::string_view token = raw_value.substr(pos, end - pos);
    pos = end;
    if (token.starts_with(kUpperPrefix) || token.starts_with(kLowerPrefix)) {
      AppendEncodedWord(field, field_size, length, token.substr(kUpperPrefix.size()));
    } else if (token != "?") {  // a lone "?" is what remains of a closing "?="
      AppendConverted(field, field_size, length, token);
    }
  }
}

}  // namespace vsmr
