// MIME charset names and the Content-Type charset parameter.
#include "mail/mime/mail_charset.h"

#include "mail/mime/mail_ascii.h"

namespace vsmr {
namespace {

struct CharsetName {
  std::string_view name;  // lower case
  MailCharset charset;
};

// The registered names and the aliases mailers write.
constexpr CharsetName kNames[] = {
    {"us-ascii", MailCharset::kUsAscii},       {"ascii", MailCharset::kUsAscii},
    {"ansi_x3.4-1968", MailCharset::kUsAscii}, {"csascii", MailCharset::kUsAscii},
    {"iso-8859-1", MailCharset::kIso8859_1},   {"iso_8859-1", MailCharset::kIso8859_1},
    {"iso8859-1", MailCharset::kIso8859_1},    {"latin1", MailCharset::kIso8859_1},
    {"l1", MailCharset::kIso8859_1},           {"csisolatin1", MailCharset::kIso8859_1},
    {"utf-8", MailCharset::kUtf8},             {"utf8", MailCharset::kUtf8},
    {"iso-2022-jp", MailCharset::kIso2022Jp},  {"csiso2022jp", MailCharset::kIso2022Jp},
    {"shift_jis", MailCharset::kShiftJis},     {"shift-jis", MailCharset::kShiftJis},
    {"sjis", MailCharset::kShiftJis},          {"x-sjis", MailCharset::kShiftJis},
    {"ms_kanji", MailCharset::kShiftJis},      {"csshiftjis", MailCharset::kShiftJis},
    {"windows-31j", MailCharset::kShiftJis},   {"cswindows31j", MailCharset::kShiftJis},
    {"cp932", MailCharset::kShiftJis},         {"ms932", MailCharset::kShiftJis},
    {"euc-jp", MailCharset::kEucJp},           {"eucjp", MailCharset::kEucJp},
    {"x-euc-jp", MailCharset::kEucJp},         {"cseucpkdfmtjapanese", MailCharset::kEucJp},
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

MailCharset MailCharsetNamed(std::string_view name) {
  name = name.substr(0, name.find('*'));
  if (name.size() > kCharsetNameMax) return MailCharset::kUnknown;
  for (const CharsetName& entry : kNames) {
    if (entry.name.size() == name.size() && StartsWithNoCase(name, entry.name)) return entry.charset;
  }
  return MailCharset::kUnknown;
}

MailCharset ContentTypeCharset(std::string_view content_type) {
  // Parameters follow the media type, each after a ";": name=value or name="value".
  std::size_t at = content_type.find(';');
  while (at != std::string_view::npos) {
    std::string_view rest = content_type.substr(at + 1);
    std::size_t eq = rest.find('=');
    std::size_t next = rest.find(';');
    if (eq == std::string_view::npos) return MailCharset::kUnknown;
    if (next != std::string_view::npos && next < eq) {
      at += 1 + next;
      continue;
    }
    std::string_view name = Trim(rest.substr(0, eq));
    std::string_view value = Trim(rest.substr(eq + 1));
    std::size_t end;
    if (!value.empty() && value.front() == '"') {
      value.remove_prefix(1);
      end = value.find('"');
    } else {
      end = value.find(';');
    }
    std::string_view text = Trim(value.substr(0, end));
    if (name.size() == 7 && StartsWithNoCase(name, "charset")) return MailCharsetNamed(text);
    if (end == std::string_view::npos) return MailCharset::kUnknown;
    at = content_type.find(';', static_cast<std::size_t>(value.data() - content_type.data()) + end);
  }
  return MailCharset::kUnknown;
}

}  // namespace vsmr
