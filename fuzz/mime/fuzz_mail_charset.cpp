// Fuzz target: text in each charset converted to Shift-JIS, then read as HTML,
// as the message view does. The first byte picks the charset, the second the
// room; every character written must be one code page 932 defines, whole.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "mail/mime/cp932.h"
#include "mail/mime/mail_charset.h"
#include "mail/mime/mail_html.h"

namespace {

// Every byte of `text` begins or ends a character the code page defines.
void RequireWholeCharacters(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0) __builtin_trap();
    if (vsmr::UnicodeFromCp932Byte(c) != 0xFFFF) continue;
    if (i + 1 >= text.size()) __builtin_trap();
    if (vsmr::UnicodeFromCp932(c, static_cast<unsigned char>(text[++i])) == 0) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  constexpr vsmr::MailCharset kCharsets[] = {vsmr::MailCharset::kUsAscii, vsmr::MailCharset::kIso8859_1,
                                             vsmr::MailCharset::kUtf8, vsmr::MailCharset::kShiftJis,
                                             vsmr::MailCharset::kEucJp};
  const vsmr::MailCharset charset = kCharsets[data[0] % std::size(kCharsets)];
  const std::size_t room = 1 + data[1];
  std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  std::vector<char> converted(room);
  const std::size_t n = vsmr::ConvertToShiftJis(charset, text, converted.data(), room, size);
  if (n >= room || converted[n] != '\0') __builtin_trap();
  RequireWholeCharacters(std::string_view(converted.data(), n));
  std::vector<char> shown(room);
  const std::size_t m = vsmr::HtmlToText(std::string_view(converted.data(), n), shown.data(), room);
  if (m >= room || shown[m] != '\0') __builtin_trap();
  RequireWholeCharacters(std::string_view(shown.data(), m));
  return 0;
}
