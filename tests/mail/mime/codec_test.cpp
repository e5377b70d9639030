// Base64, ISO-2022-JP conversion and quoted-printable decoding, byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "mail/mime/mail_codec.h"
#include "mail/mime/mime_data.h"

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

// Python's codecs (data/make_jis_pairs.py): every JIS X 0208 pair its
// iso-2022-jp codec decodes, with the bytes its shift_jis codec gives.
std::vector<std::pair<std::string, std::string>> PythonPairs() {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::string text = test::LoadMimeData("jis_pairs.txt");
  auto bytes = [](std::string_view hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
      out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    }
    return out;
  };
  for (std::size_t at = 0; at + 10 <= text.size(); at += 10) {
    pairs.emplace_back(bytes(std::string_view(text).substr(at, 4)),
                       bytes(std::string_view(text).substr(at + 5, 4)));
  }
  return pairs;
}

TEST(JisToShiftJis, EveryPairAsPythonsCodecsConvertIt) {
  const auto pairs = PythonPairs();
  ASSERT_EQ(pairs.size(), 6879u);
  // All in one two-byte run (mostly four pairs at a time), then each alone.
  std::string run = "\x1b$B", expected;
  for (const auto& [jis, sjis] : pairs) {
    run += jis;
    expected += sjis;
  }
  EXPECT_EQ(expected, Jis(run + "\x1b(B", run.size(), expected.size() + 1));
  for (const auto& [jis, sjis] : pairs) {
    ASSERT_EQ("a" + sjis + "b", Jis("a\x1b$B" + jis + "\x1b(Bb")) << "JIS " << jis;
  }
}

// Random text made of steps whose output is known (a Python pair, a copied
// byte, a line break, a designation), then something that ends the conversion:
// with any room and step limit the result is the steps that fit, whole, in
// order. Long runs of pairs and bytes go through the bulk paths.
TEST(JisToShiftJis, RandomTextStopsAtTheStepOrByteThatDoesNotFit) {
  const auto pairs = PythonPairs();
  ASSERT_FALSE(pairs.empty());
  const std::string plain[] = {"a", "Z", " ", "\r", "$", "(", "\x7f", "\x80", "\xfe"};
  // In a two-byte run: a byte no pair holds, a pair with one byte just out of
  // range, a lead byte with a bad trail byte, an unknown escape, a zero byte.
  const std::string enders_two_byte[] = {" !", "\r", "\x80", "! ", "!\x7f", "\x7f!",
                                         "$\x01", "\x1b(I", std::string(1, '\0')};
  std::mt19937 random(12345);
  for (int round = 0; round < 5000; ++round) {
    std::string source;
    std::vector<std::string> outputs;  // one per step
    auto step = [&](const std::string& in, const std::string& out) {
      source += in;
      outputs.push_back(out);
    };
    // A line feed after a carriage return is copied; any other is expanded.
    auto line_break = [&] {
      step("\n", !source.empty() && source.back() == '\r' ? "\n" : "\r\n");
    };
    bool two_byte = false;  // until the first designation
    for (int run = 0, runs = 1 + static_cast<int>(random() % 6); run < runs; ++run) {
      if (run > 0) {
        two_byte = random() % 2 == 0;
        const char* designations[2][2] = {{"\x1b(B", "\x1b(J"}, {"\x1b$B", "\x1b$@"}};
        step(designations[two_byte][random() % 2], "");
      }
      int length = static_cast<int>(random() % 13);
      for (int k = 0; k < length; ++k) {
        if (random() % 8 == 0) {
          line_break();
        } else if (two_byte) {
          const auto& [jis, sjis] = pairs[random() % pairs.size()];
          step(jis, sjis);
        } else if (random() % 16 == 0) {
          for (char c : std::string("\x1b(I")) step(std::string(1, c), std::string(1, c));
        } else {
          const std::string& c = plain[random() % std::size(plain)];
          step(c, c);
        }
      }
    }
    // What follows an ender is never converted.
    source += two_byte ? enders_two_byte[random() % std::size(enders_two_byte)]
                       : std::string(1, '\0');
    source += "\x01xyz\x1b$B$\"";

    std::size_t dest_size = 1 + random() % 100;
    std::size_t limit = random() % 3 == 0 ? random() % 40 : 100000;
    std::string expected;
    for (std::size_t k = 0; k < outputs.size() && k <= limit; ++k) {
      if (expected.size() + outputs[k].size() > dest_size - 1) break;
      expected += outputs[k];
    }
    ASSERT_EQ(expected, Jis(source, limit, dest_size))
        << "round " << round << ", room " << dest_size << ", limit " << limit;
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
