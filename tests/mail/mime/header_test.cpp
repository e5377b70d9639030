// Header field lookup, encoded-word decoding and the record's defaults.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "mail/mime/mail_record.h"

namespace vsmr {
namespace {

struct FieldCase {
  const char* name;
  const char* block;
  const char* field;
  bool found;
  const char* value;
};

class FindHeaderFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FindHeaderFieldTest, Finds) {
  const FieldCase& c = GetParam();
  char value[kHeaderValueSize];
  std::memset(value, 'Z', sizeof value);
  EXPECT_EQ(c.found, FindHeaderField(c.block, c.field, value, sizeof value));
  EXPECT_STREQ(c.value, value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindHeaderFieldTest,
    ::testing::Values(
        FieldCase{"plain", "From: a@b\r\nSubject: Hello\r\n", "subject:", true, "Hello"},
        FieldCase{"caseInsensitiveName", "SUBJECT: Hi\r\n", "subject:", true, "Hi"},
        FieldCase{"missing", "From: a@b\r\n", "subject:", false, ""},
        FieldCase{"firstLineWins", "To: x\r\nTo: y\r\n", "to:", true, "x"},
        // The value written straight after the colon keeps its first character.
        FieldCase{"noBlankAfterColon", "Subject:Hello\r\n", "subject:", true, "Hello"},
        FieldCase{"tabAfterColon", "Subject:\tHello\r\n", "subject:", true, "Hello"},
        FieldCase{"secondBlankKept", "Subject:  Hi\r\n", "subject:", true, " Hi"},
        FieldCase{"endsAtColon", "Subject:\r\nFrom: a\r\n", "subject:", false, ""},
        FieldCase{"onlyBlank", "Subject: \r\n", "subject:", false, ""},
        // Continuations are joined without a separator.
        FieldCase{"folded", "Subject: one\r\n\t two\r\n  three\r\nFrom: a\r\n", "subject:", true,
                  "onetwothree"},
        FieldCase{"foldedAtEnd", "Subject: one\r\n two", "subject:", true, "onetwo"},
        FieldCase{"bareLf", "From: a\nSubject: lf\n", "subject:", true, "lf"},
        // Empty lines vanish: a field after the blank line is still found.
        FieldCase{"noBlankLineNeeded", "From: a\r\n\r\nSubject: body\r\n", "subject:", true,
                  "body"},
        FieldCase{"namePrefixOnly", "Subjects: x\r\n", "subject:", false, ""},
        FieldCase{"replyToNotTo", "Reply-To: r\r\n", "to:", false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindHeaderFieldLimits, LongValueIsCut) {
  std::string block = "Subject: " + std::string(3000, 'x') + "\r\n";
  char value[kHeaderValueSize + 16];
  std::memset(value, 'Z', sizeof value);
  EXPECT_TRUE(FindHeaderField(block, "subject:", value, kHeaderValueSize));
  EXPECT_EQ(kHeaderValueSize - 1, std::strlen(value));
  for (std::size_t i = kHeaderValueSize; i < sizeof value; ++i) EXPECT_EQ('Z', value[i]);
}

TEST(FindHeaderFieldLimits, OnlyTheFirstBytesOfTheBlockAreSearched) {
  std::string filler = "X-Filler: " + std::string(16300, 'f') + "\r\n";
  char value[kHeaderValueSize];
  EXPECT_TRUE(FindHeaderField(filler + "Subject: early\r\n", "subject:", value, sizeof value));
  EXPECT_FALSE(FindHeaderField(filler + "X: " + std::string(100, 'y') + "\r\nSubject: late\r\n", "subject:", value,
                               sizeof value));
}

struct DecodeCase {
  const char* name;
  const char* raw;
  const char* decoded;
};

class DecodeHeaderTextTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeHeaderTextTest, Decodes) {
  char field[kHeaderValueSize] = {};
  DecodeHeaderText(GetParam().raw, field, sizeof field);
  EXPECT_STREQ(GetParam().decoded, field);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeHeaderTextTest,
    ::testing::Values(
        DecodeCase{"upperWord", "=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=", "テスト"},
        DecodeCase{"lowerCharsetUpperB", "=?iso-2022-jp?B?GyRCJUYlOSVIGyhC?=", "テスト"},
        // Charset and encoding names in any case, B and Q, the charsets mail uses.
        DecodeCase{"lowerB", "=?iso-2022-jp?b?GyRCJUYlOSVIGyhC?=", "テスト"},
        DecodeCase{"qEncoding", "=?ISO-2022-JP?Q?abc?=", "abc"},
        DecodeCase{"otherCharset", "=?UTF-8?B?44OG?=", "テ"},
        // An unknown charset, or a word with a blank inside, is read as text.
        DecodeCase{"unknownCharset", "=?KOI8-R?B?abc?=", "?KOI8-R?B?abc?"},
        DecodeCase{"blankInsideWord", "=?UTF-8?B?44 OG?=", "?UTF-8?B?44 OG?"},
        DecodeCase{"textBetweenWordsKept", "=?UTF-8?B?44OG?= x =?UTF-8?Q?=E3=83=86?=", "テ x テ"},
        DecodeCase{"twoCharsetsJoined", "=?UTF-8?B?44OG?= =?ISO-2022-JP?B?GyRCJCIbKEI=?=", "テあ"},
        // Raw 8-bit text is UTF-8 only when all of it is.
        DecodeCase{"rawUtf8", "Re: \xe4\xbc\x9a\xe8\xad\xb0 =?UTF-8?B?44OG?=", "Re: 会議 テ"},
        DecodeCase{"rawShiftJisAsBefore", "Re: \x89\xef\x8b\x63", "Re: 会議"},
        // Padding inside the word: the "==" is cut away and put back.
        DecodeCase{"paddedWord", "=?ISO-2022-JP?B?GyRCJCIbKEI=?=", "あ"},
        // The blank between two words is not shown.
        DecodeCase{"twoWordsBlank", "=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= =?ISO-2022-JP?B?GyRCJCIbKEI=?=",
                   "テストあ"},
        // A folded header reaches here joined without a separator.
        DecodeCase{"twoWordsFolded",
                   "=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?==?ISO-2022-JP?B?GyRCJCIbKEI=?=", "テストあ"},
        DecodeCase{"tabsDropped", "a\tb", "ab"},
        DecodeCase{"equalsDropped", "1+1=2", "1+12"},
        DecodeCase{"asciiWithWord", "Re: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=", "Re: テスト"},
        DecodeCase{"rawJis", "\x1b$B%F%9%H\x1b(B!", "テスト!"},
        DecodeCase{"garbageBase64", "=?ISO-2022-JP?B?***?=", ""},
        DecodeCase{"emptyWord", "=?ISO-2022-JP?B?" "?=", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeHeaderTextLimits, AppendsAndCutsAtTheFieldWidth) {
  char field[16] = "ab";
  DecodeHeaderText("cd", field, sizeof field);
  EXPECT_STREQ("abcd", field);
  // 12 more bytes would not fit: cut after whole characters only.
  char block[32];
  std::memset(block, 'Z', sizeof block);
  std::strcpy(block, "0123456789a");
  DecodeHeaderText("\x1b$B%F%9%H\x1b(B", block, 16);
  EXPECT_STREQ("0123456789aテス", block);
  for (std::size_t i = 16; i < sizeof block; ++i) EXPECT_EQ('Z', block[i]) << i;
}

TEST(DecodeHeaderTextLimits, Utf8ValueCutInsideACharacterStaysUtf8) {
  // A value cut at its width after the first two bytes of "あ": the rest is
  // still read as UTF-8, the cut character as one geta mark.
  std::string raw = "a";
  for (int i = 0; i < 340; ++i) raw += "\xe3\x81\x82";
  raw += "\xe3\x81";
  ASSERT_EQ(kHeaderValueSize - 1, raw.size());
  char field[kHeaderValueSize] = {};
  DecodeHeaderText(raw, field, sizeof field);
  std::string expected = "a";
  for (int i = 0; i < 340; ++i) expected += "あ";
  EXPECT_EQ(expected + "〓", field);
}

TEST(ParseMailHeaders, FillsEveryFieldFromTheBlock) {
  MailRecord record{};
  bool multipart = ParseMailHeaders(
      "+OK\r\nFrom: Taro <taro@example.jp>\r\nTo: hanako@example.jp\r\n"
      "Subject: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=\r\nReply-To: r@example.jp\r\n"
      "Date: Sun, 5 Jan 2003 12:34:56 +0900\r\nMessage-ID: <1@x>\r\n"
      "Content-Type: Multipart/Mixed; boundary=\"b\"\r\n",
      record);
  EXPECT_TRUE(multipart);
  EXPECT_EQ(1, record.multipart);
  EXPECT_STREQ("テスト", record.subject.c_str());
  EXPECT_STREQ("Taro <taro@example.jp>", record.from.c_str());
  EXPECT_STREQ("hanako@example.jp", record.to.c_str());
  EXPECT_STREQ("r@example.jp", record.reply_to.c_str());
  EXPECT_STREQ("Sun, 5 Jan 2003 12:34:56 +0900", record.date.c_str());
  EXPECT_STREQ("<1@x>", record.message_id.c_str());
  EXPECT_STREQ("Multipart/Mixed; boundary=\"b\"", record.content_type.c_str());
}

TEST(ParseMailHeaders, MissingFieldsTakeTheirDefaults) {
  MailRecord record{};
  record.subject.Set("stale");
  EXPECT_FALSE(ParseMailHeaders("X-Other: 1\r\n", record));
  EXPECT_STREQ("(件名なし)", record.subject.c_str());
  EXPECT_STREQ("(送信者不明)", record.from.c_str());
  EXPECT_STREQ("(宛先不明)", record.to.c_str());
  EXPECT_STREQ("(送信者不明)", record.reply_to.c_str());
  EXPECT_STREQ("(日付なし)", record.date.c_str());
  // Without Message-ID the key text is the date text.
  EXPECT_STREQ("(日付なし)", record.message_id.c_str());
  EXPECT_STREQ("text/plain", record.content_type.c_str());
  EXPECT_EQ(0, record.multipart);
}

TEST(ParseMailHeaders, CopiesFollowTheirSources) {
  MailRecord record{};
  ParseMailHeaders("From: a@b\r\nDate: " + std::string(200, '9') + "\r\n", record);
  EXPECT_STREQ("a@b", record.reply_to.c_str());
  EXPECT_EQ(kMailDateSize - 1, record.date.View().size());
  EXPECT_EQ(record.date.View(), record.message_id.View());
}

}  // namespace
}  // namespace vsmr
