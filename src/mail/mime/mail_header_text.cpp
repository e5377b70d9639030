// Header value decoding: RFC 2047 encoded words (B and Q, in the charsets of
// mail_charset.h, names in any case), adjacent words of one charset joined
// before conversion so that a character split between them comes out whole,
// and the text between words read token by token as it always was: raw
// ISO-2022-JP and ASCII, or raw UTF-8 when the whole value is UTF-8 (RFC 6532).
#include <cstring>
#include <string>

#include "base/sjis.h"
#include "mail/mime/mail_charset.h"
#include "mail/mime/mail_codec.h"
#include "mail/mime/mail_record.h"

namespace vsmr {
namespace {

// The two spellings of an ISO-2022-JP word's start that the token reading
// decodes when a word is not complete enough to be read as a word (the leading
// "=" is already gone: it separates tokens).
constexpr std::string_view kUpperPrefix = "?ISO-2022-JP?B?";
constexpr std::string_view kLowerPrefix = "?iso-2022-jp?B?";
constexpr std::size_t kTokenStepLimit = 1020;
constexpr std::size_t kBase64TextMax = 1023;

bool IsSeparator(char c) { return c == '=' || c == '\r' || c == '\n' || c == '\t'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Appends converted text to the field, cut at a character boundary.
class FieldWriter {
 public:
  FieldWriter(char* field, std::size_t size) : field_(field), size_(size) {
    length_ = ::strnlen(field, size - 1);
    field_[length_] = '\0';
  }
  void Append(std::string_view text) {
    const std::size_t n = SjisCutLength(text, size_ - 1 - length_);
    std::memcpy(field_ + length_, text.data(), n);
    length_ += n;
    field_[length_] = '\0';
  }
  void AppendConverted(MailCharset charset, std::string_view bytes) {
    // A step emits at most two bytes, so this holds any token's conversion.
    char converted[2 * (kTokenStepLimit + 1) + 1];
    const std::size_t n = ConvertToShiftJis(charset, bytes, converted, sizeof converted, kTokenStepLimit);
    Append(std::string_view(converted, n));
  }

 private:
  char* field_;
  std::size_t size_;
  std::size_t length_;
};

// An ISO-2022-JP B word seen as a token: its padding and closing "?=" were cut
// away by the "=" separators and are restored before decoding.
void AppendTokenWord(FieldWriter& out, std::string_view encoded) {
  std::string text(encoded.substr(0, kBase64TextMax));
  if (!text.empty() && text.back() == '?') text.back() = '=';
  static constexpr const char* kPadding[] = {"", "===", "==", "="};
  text += kPadding[text.size() % 4];
  char bytes[(kBase64TextMax + 3) / 4 * 3 + 1];
  const std::size_t n = DecodeBase64(text, bytes, sizeof bytes);
  out.AppendConverted(MailCharset::kIso2022Jp, std::string_view(bytes, n));
}

// Text outside encoded words: split into tokens at every "=", CR, LF and tab
// (none of them shown), each converted on its own.
void AppendTokens(FieldWriter& out, std::string_view text, MailCharset raw) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    std::size_t end = pos;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    if (end == pos) break;
    const std::string_view token = text.substr(pos, end - pos);
    pos = end;
    if (token.starts_with(kUpperPrefix) || token.starts_with(kLowerPrefix)) {
      AppendTokenWord(out, token.substr(kUpperPrefix.size()));
    } else if (token != "?") {  // a lone "?" is what remains of a closing "?="
      out.AppendConverted(raw, token);
    }
  }
}

struct EncodedWord {
  MailCharset charset;
  bool q;                 // Q encoding, else B
  std::string_view text;  // the encoded text
  std::size_t length;     // of the whole word
};

// A complete word "=?charset?B|Q?text?=" at `at` in a charset that is read;
// its text holds no blank or "?".
bool ParseEncodedWord(std::string_view value, std::size_t at, EncodedWord& word) {
  const std::size_t name = at + 2;
  const std::size_t mark = value.find('?', name);
  if (mark == std::string_view::npos || mark + 2 >= value.size() || value[mark + 2] != '?') return false;
  word.charset = MailCharsetNamed(value.substr(name, mark - name));
  if (word.charset == MailCharset::kUnknown) return false;
  const char encoding = value[mark + 1];
  if (encoding != 'B' && encoding != 'b' && encoding != 'Q' && encoding != 'q') return false;
  word.q = encoding == 'Q' || encoding == 'q';
  const std::size_t start = mark + 3;
  const std::size_t end = value.find('?', start);
  if (end == std::string_view::npos || end + 1 >= value.size() || value[end + 1] != '=') return false;
  word.text = value.substr(start, end - start);
  for (char c : word.text) {
    if (IsBlank(c)) return false;
  }
  word.length = end + 2 - at;
  return true;
}

bool AllBlank(std::string_view text) {
  for (char c : text) {
    if (!IsBlank(c)) return false;
  }
  return true;
}

}  // namespace

void DecodeHeaderText(std::string_view raw_value, char* field, std::size_t field_size) {
  if (field_size == 0) return;
  FieldWriter out(field, field_size);
  // A value cut at the field width may end inside a UTF-8 character.
  const MailCharset raw = IsUtf8Text(raw_value, raw_value.size() >= kHeaderValueSize - 1)
                              ? MailCharset::kUtf8
                              : MailCharset::kUnknown;
  // The decoded bytes of adjacent words in one charset, converted together.
  char run[kHeaderValueSize];
  std::size_t run_length = 0;
  MailCharset run_charset = MailCharset::kUnknown;
  bool in_run = false;
  auto flush = [&] {
    if (in_run) out.AppendConverted(run_charset, std::string_view(run, run_length));
    in_run = false;
    run_length = 0;
  };

  std::size_t gap_start = 0;
  std::size_t pos = 0;
  while ((pos = raw_value.find("=?", pos)) != std::string_view::npos) {
    EncodedWord word;
    if (!ParseEncodedWord(raw_value, pos, word)) {
      ++pos;
      continue;
    }
    // Blanks between two words are not shown; other text ends the run.
    const std::string_view gap = raw_value.substr(gap_start, pos - gap_start);
    if (!in_run || !AllBlank(gap)) {
      flush();
      AppendTokens(out, gap, raw);
    }
    if (in_run && word.charset != run_charset) flush();
    in_run = true;
    run_charset = word.charset;
    char* to = run + run_length;
    const std::size_t room = sizeof run - run_length;
    run_length += word.q ? DecodeQEncodedText(word.text, to, room) : DecodeBase64Text(word.text, to, room);
    pos = gap_start = pos + word.length;
  }
  flush();
  AppendTokens(out, raw_value.substr(gap_start), raw);
}

}  // namespace vsmr
