// Charset names and the conversion of each charset to Shift-JIS: every
// character against Python's codecs, and the limits every conversion keeps.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "mail/mime/mail_charset.h"

namespace vsmr {
namespace {

std::string Convert(MailCharset charset, std::string_view source, std::size_t limit = 100000,
                    std::size_t dest_size = 256) {
  std::string dest(dest_size + 8, 'Z');
  const std::size_t n = ConvertToShiftJis(charset, source, dest.data(), dest_size, limit);
  EXPECT_EQ('\0', dest[n]);
  EXPECT_EQ(std::string(8, 'Z'), dest.substr(dest_size)) << "wrote past the buffer";
  return dest.substr(0, n);
}

std::string Unhex(std::string_view hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return out;
}

// UTF-8 text (the program's own literals are code page 932).
std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

struct Conversion {
  std::string source;
  std::string expected;
};

// make_charset_cases.py's lines by charset name.
std::map<std::string, std::vector<Conversion>> PythonCases() {
  std::string text;
  EXPECT_TRUE(ReadWholeFile(VSMR_CHARSET_CASES, text));
  std::map<std::string, std::vector<Conversion>> cases;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    const std::string_view line = std::string_view(text).substr(at, end - at);
    at = end == std::string::npos ? text.size() : end + 1;
    const std::size_t a = line.find(' '), b = line.rfind(' ');
    cases[std::string(line.substr(0, a))].push_back(
        {Unhex(line.substr(a + 1, b - a - 1)), Unhex(line.substr(b + 1))});
  }
  return cases;
}

TEST(ConvertToShiftJis, EveryCharacterAsPythonsCodecsAndCp932) {
  const auto cases = PythonCases();
  ASSERT_EQ(5u, cases.size());
  for (const auto& [name, conversions] : cases) {
    SCOPED_TRACE(name);
    const MailCharset charset = MailCharsetNamed(name);
    ASSERT_NE(MailCharset::kUnknown, charset);
    // Each alone, then all in one text with a blank after each.
    int failures = 0;
    std::string all, expected;
    for (const Conversion& c : conversions) {
      const std::string got = Convert(charset, c.source);
      if (got != c.expected && ++failures <= 10) {
        ADD_FAILURE() << "source " << ::testing::PrintToString(c.source) << " gave "
                      << ::testing::PrintToString(got) << ", Python "
                      << ::testing::PrintToString(c.expected);
      }
      all += c.source + " ";
      expected += c.expected + " ";
    }
    EXPECT_EQ(0, failures);
    EXPECT_TRUE(expected == Convert(charset, all, all.size(), expected.size() + 1)) << "in one text";
  }
}

TEST(ConvertToShiftJis, StopsAsTheIso2022JpConversionDoes) {
  const struct {
    const char* name;
    MailCharset charset;
    std::string source;
    std::size_t limit, dest_size;
    std::string expected;
  } rows[] = {
      {"zeroByteEnds", MailCharset::kUtf8, std::string("a\0b", 3), 100, 16, "a"},
      {"bareLfExpanded", MailCharset::kEucJp, "\na\nb\r\nc", 100, 16, "\r\na\r\nb\r\nc"},
      {"stepPerCharacter", MailCharset::kUtf8, Utf8(u8"aあbc"), 2, 16, "aあb"},
      {"lineBreakIsAStep", MailCharset::kShiftJis, "a\nbc", 1, 16, "a\r\n"},
      {"characterNotCut", MailCharset::kUtf8, Utf8(u8"aあ"), 100, 3, "a"},
      {"getaNotCut", MailCharset::kUtf8, Utf8(u8"a😀"), 100, 3, "a"},
      {"crLfNotCut", MailCharset::kIso8859_1, "a\nb", 100, 3, "a"},
      {"nothingFits", MailCharset::kUsAscii, "abc", 100, 1, ""},
      // JIS row 13 (NEC's signs) at its code page 932 place, where Python's
      // euc_jp reads nothing.
      {"eucNecRow13", MailCharset::kEucJp, "\xad\xa1\xad\xe2", 100, 16, "①№"},
      {"unknownReadAsIso2022Jp", MailCharset::kUnknown, "\x1b$B%F\x1b(B\x82\xa0", 100, 16, "テ\x82\xa0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.expected, Convert(row.charset, row.source, row.limit, row.dest_size));
  }
}

TEST(MailCharset, NamesAndContentTypes) {
  const struct {
    const char* text;
    MailCharset named;         // the text as a charset name
    MailCharset content_type;  // the text as a Content-Type value
  } rows[] = {
      {"UTF-8", MailCharset::kUtf8, MailCharset::kUnknown},
      {"Windows-31J", MailCharset::kShiftJis, MailCharset::kUnknown},
      {"utf-8*ja", MailCharset::kUtf8, MailCharset::kUnknown},
      {"koi8-r", MailCharset::kUnknown, MailCharset::kUnknown},
      {"text/plain; charset=\"ISO-2022-JP\"", MailCharset::kUnknown, MailCharset::kIso2022Jp},
      {"text/plain; format=flowed; Charset = cp932 ; delsp=yes", MailCharset::kUnknown,
       MailCharset::kShiftJis},
      {"text/html;charset=euc-jp", MailCharset::kUnknown, MailCharset::kEucJp},
      {"text/plain; name=\"x; charset=utf-8\"; charset=us-ascii", MailCharset::kUnknown,
       MailCharset::kUsAscii},
      {"text/plain; xcharset=utf-8", MailCharset::kUnknown, MailCharset::kUnknown},
      {"text/plain; charset=\"iso-8859-1", MailCharset::kUnknown, MailCharset::kIso8859_1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(row.named, MailCharsetNamed(row.text));
    EXPECT_EQ(row.content_type, ContentTypeCharset(row.text));
  }
}

}  // namespace
}  // namespace vsmr
