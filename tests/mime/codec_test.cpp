// Base64, ISO-2022-JP conversion and quoted-printable decoding, byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "mail/mail_codec.h"
#include "mime/jis_reference.h"

namespace vsmr {
namespace {

std::string Base64(std::string_view text) {
  char out[256];
  std::size_t n = DecodeBase64(text, out, sizeof out);
  EXPECT_EQ('\0', out[n]);
  return std::string(out, n);
}

TEST(DecodeBase64, Groups) {
  struct Row {
    const char* name;
    const char* text;
    std::string bytes;
  } rows[] = {
      {"plain", "QUJD", "ABC"},
      {"alphabetEnds", "+/+/", "\xFB\xFF\xBF"},
      {"twoGroups", "QUJDREVG", "ABCDEF"},
      // "=" counts as zero bits: the NUL bytes are emitted and end the text for readers.
      {"padding", "QUI=", std::string("AB\0", 3)},
      {"partialGroupIgnored", "QUJDRA", "ABC"},
      {"garbageIsZero", "Q*#!", std::string("@\0\0", 3)},
      {"empty", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.bytes, Base64(row.text));
  }
}

TEST(DecodeBase64, NeverWritesPastTheBuffer) {
  char out[8];
  std::memset(out, 'Z', sizeof out);
  EXPECT_EQ(3u, DecodeBase64("QUJDREVGR0hJ", out, 5));  // room for one group and the NUL
  EXPECT_STREQ("ABC", out);
  EXPECT_EQ('Z', out[5]);
}

std::string Jis(std::string_view source, std::size_t limit = 1000, std::size_t dest_size = 256) {
  std::string dest(dest_size + 8, 'Z');
  std::size_t n = JisToShiftJis(source, dest.data(), dest_size, limit);
  EXPECT_EQ('\0', dest[n]);
  EXPECT_EQ(std::string(8, 'Z'), dest.substr(dest_size)) << "wrote past the buffer";
  return dest.substr(0, n);
}

TEST(JisToShiftJis, Conversions) {
  struct Row {
    const char* name;
    std::string source;
    std::string expected;
  } rows[] = {
      {"ascii", "Hello", "Hello"},
      {"katakana", "\x1b$B%F%9%H\x1b(B", "テスト"},
      {"oldDesignation", "\x1b$@%F\x1b(J!", "テ!"},
      {"rowsAcrossRange", "\x1b$B0!E_~~\x1b(B", "\x88\x9F\x93\x7E\xEF\xFC"},
      {"oddRowHighTrail", "\x1b$B%`\x1b(B", "ム"},
      {"evenRowHighTrail", "\x1b$B$s\x1b(B", "ん"},
      {"textAfterSwitchBack", "a\x1b$B$\"\x1b(Bb", "aあb"},
      // Half-width katakana (ESC ( I) is not a recognised set: ESC and all bytes pass as they are.
      {"halfWidthKanaPassesRaw", "\x1b(I12\x1b(B", "\x1b(I12"},
      {"unknownEscCopied", "\x1b$(Dx", "\x1b$(Dx"},
      {"bareLfExpanded", "a\nb", "a\r\nb"},
      {"leadingLf", "\nb", "\r\nb"},
      {"crLfKept", "a\r\nb", "a\r\nb"},
      {"lfInTwoByteMode", "\x1b$B$\"\n$\"", "あ\r\nあ"},
      // In a two-byte run a blank, CR or 8-bit byte ends the conversion.
      {"blankEndsTwoByte", "\x1b$B$\" $\"", "あ"},
      {"crEndsTwoByte", "\x1b$B$\"\r\n", "あ"},
      {"highByteEndsTwoByte", "\x1b$B\xA4\xA2", ""},
      {"badTrailEnds", "\x1b$B$\x01xyz", ""},
      {"loneLeadAtEnd", "\x1b$B$\"$", "あ"},
      {"zeroByteEnds", std::string("ab\0cd", 5), "ab"},
      {"highBytesCopiedInSingle", "\x82\xA0", "\x82\xA0"},
      {"truncatedEscape", "a\x1b$", "a\x1b$"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.expected, Jis(row.source));
  }
}

TEST(JisToShiftJis, StepLimit) {
  // Up to limit + 1 steps are taken; an escape sequence is one step.
  EXPECT_EQ("abc", Jis("abcdef", 2));
  EXPECT_EQ("あa", Jis("\x1b$B$\"\x1b(Babc", 3));
  EXPECT_EQ("a\r\n", Jis("a\nb", 1));
  EXPECT_EQ("a", Jis("abc", 0));
}

TEST(JisToShiftJis, OutputIsCutAtWholeCharacters) {
  EXPECT_EQ("abc", Jis("abcdef", 100, 4));
  EXPECT_EQ("aあ", Jis("a\x1b$B$\"$\"", 100, 5));  // the second あ would need 2 more bytes
  EXPECT_EQ("a", Jis("a\nb", 100, 3));             // CR LF is not split
  EXPECT_EQ("", Jis("abc", 100, 1));
}

TEST(JisToShiftJis, BulkPathsMatchStepByStepConversion) {
  // Long two-byte and single-byte runs take the word-at-a-time paths; random
  // text built from the bytes that matter, with random buffer sizes and step
  // limits, must convert exactly as one step at a time does.
  const std::string pieces[] = {"\x1b$B", "\x1b(B", "\x1b(J", "\x1b$@", "\x1b(I", "%F%9%H$\"",
                                "0!E_~~", "\r\n", "\n", " ", "abc", std::string(1, '\0'),
                                "\x80", "\x7f", "$", "\x1b"};
  std::mt19937 random(12345);
  for (int round = 0; round < 20000; ++round) {
    std::string source;
    int count = static_cast<int>(random() % 24);
    for (int p = 0; p < count; ++p) source += pieces[random() % std::size(pieces)];
    std::size_t dest_size = random() % 80;
    std::size_t limit = random() % 3 == 0 ? random() % 30 : 1000;
    std::string ours(dest_size + 1, 'Z'), reference(dest_size + 1, 'Z');
    std::size_t n = JisToShiftJis(source, ours.data(), dest_size, limit);
    std::size_t m = testing::ReferenceJisToShiftJis(source, reference.data(), dest_size, limit);
    ASSERT_EQ(m, n) << "round " << round;
    ASSERT_EQ(reference, ours) << "round " << round;
  }
}

struct QpCase {
  const char* name;
  const char* headers;
  const char* body;
  const char* expected;
};

class DecodeQuotedPrintableTest : public ::testing::TestWithParam<QpCase> {};

TEST_P(DecodeQuotedPrintableTest, Decodes) {
  const QpCase& c = GetParam();
  std::string body = c.body;
  DecodeQuotedPrintable(c.headers, body.data());
  EXPECT_STREQ(c.expected, body.c_str());
}

constexpr const char* kQp = "Content-Transfer-Encoding: quoted-printable\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeQuotedPrintableTest,
    ::testing::Values(
        QpCase{"fiveSequences", kQp, "a=3Db=1B$B=20c=09d", "a=b\x1b$B c\td"},
        QpCase{"softLineBreak", kQp, "long=\r\nline\r\n", "longline\r\n"},
        // "=3D" goes first, so =3D20 ends as a blank.
        QpCase{"doubleDecode", kQp, "x=3D20y", "x y"},
        // Every other encoded byte stays encoded, lower-case hex included.
        QpCase{"otherBytesKept", kQp, "=C3=A9=3d=0D", "=C3=A9=3d=0D"},
        QpCase{"badHexKept", kQp, "=ZZ=4=", "=ZZ=4="},
        QpCase{"caseInsensitiveValue", "content-transfer-encoding: Quoted-Printable\r\n", "=20",
               " "},
        QpCase{"sevenBit", "Content-Transfer-Encoding: 7bit\r\n", "=20", "=20"},
        QpCase{"noHeader", "Subject: x\r\n", "=20", "=20"},
        QpCase{"softBreakNeedsCrLf", kQp, "a=\nb", "a=\nb"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeQuotedPrintableLimits, EncodingLookedUpInTheFirstBytesOnly) {
  std::string headers = "X-Pad: " + std::string(8300, 'p') + "\r\n" + kQp;
  std::string body = "=20";
  DecodeQuotedPrintable(headers, body.data());
  EXPECT_STREQ("=20", body.c_str());
}

}  // namespace
}  // namespace vsmr
