// The message view's text: header lines, multipart walking and the body.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "base/sjis.h"
#include "mail/mime/mail_compose.h"
#include "mail/mime/mail_html.h"

namespace vsmr {
namespace {

constexpr const char kJisTest[] = "\x1b$B%F%9%H\x1b(B";  // テスト

std::string Compose(const std::string& message) {
  return ComposeMailText(message, message.size());
}

// The text after the header lines and the empty line that follows them.
std::string BodyOf(const std::string& text) {
  std::size_t at = text.find("\r\n\r\n\r\n");
  return at == std::string::npos ? "<no body separator>" : text.substr(at + 6);
}

TEST(ComposeMailText, SimpleMessage) {
  std::string text = Compose(
      "+OK 120 octets\r\nFrom: Taro <t@example.jp>\r\nTo: h@example.jp\r\n"
      "Subject: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=\r\nDate: Sun, 5 Jan 2003 12:34:56 +0900\r\n"
      "\r\n" + std::string(kJisTest) + "\r\nline\n.\r\n");
  EXPECT_EQ(
      "送信者: Taro <t@example.jp>\r\n宛先  : h@example.jp\r\n件名  : テスト\r\n"
      "日付  : 2003年01月05日(日) 12:34:56\r\n\r\n\r\nテスト\r\nline\r\n.\r\n",
      text);
}

TEST(ComposeMailText, ReplyLineOnlyWhenItDiffers) {
  std::string same = Compose("+OK\r\nFrom: a@b\r\nReply-To: a@b\r\n\r\nx");
  EXPECT_EQ(std::string::npos, same.find("返信先"));
  std::string other = Compose("+OK\r\nFrom: a@b\r\nReply-To: c@d\r\n\r\nx");
  EXPECT_EQ(0u, other.find("送信者: a@b\r\n返信先: c@d\r\n宛先  : (宛先不明)\r\n"));
}

TEST(ComposeMailText, NoBlankLineMeansNoBody) {
  std::string text = Compose("+OK\r\nSubject: only headers\r\n");
  EXPECT_EQ("送信者: (送信者不明)\r\n宛先  : (宛先不明)\r\n件名  : only headers\r\n"
            "日付  : (日付なし)\r\n\r\n\r\n",
            text);
}

TEST(ComposeMailText, QuotedPrintableBody) {
  std::string text = Compose(
      "+OK\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
      "=1B$B%F%9%H=1B(B=3D=C3=\r\nend");
  EXPECT_EQ("テスト==C3end", BodyOf(text));
}

const std::string kNested =
    "+OK\r\nSubject: nested\r\nMIME-Version: 1.0\r\n"
    "Content-Type: multipart/mixed; boundary=\"outer\"\r\n\r\n"
    "--outer\r\nContent-Type: multipart/alternative; boundary=\"inner\"\r\n\r\n"
    "--inner\r\nContent-Type: text/plain; charset=\"iso-2022-jp\"\r\n\r\n" +
    std::string(kJisTest) +
    "\r\n--inner\r\nContent-Type: text/html; charset=\"iso-2022-jp\"\r\n\r\n<p>x</p>\r\n"
    "--inner--\r\n\r\n"
    "--outer\r\nContent-Type: application/pdf; name=\"a.pdf\"\r\n"
    "Content-Transfer-Encoding: base64\r\n\r\nJVBERg==\r\n--outer--\r\n";

TEST(ComposeMailText, NestedMultipartShowsTextAndListsAttachments) {
  std::string text = Compose(kNested);
  EXPECT_NE(std::string::npos, text.find("\r\n添付  : HTMLファイル, \"a.pdf\"\r\n\r\n\r\n"));
  EXPECT_EQ("テスト", BodyOf(text));
}

TEST(ComposeMailText, CapitalMultipartIsNotWalked) {
  // The flag test ignores case but the view's test for "multipart" does not.
  std::string message = kNested;
  message.replace(message.find("multipart/mixed"), 9, "Multipart");
  std::string text = Compose(message);
  EXPECT_EQ(std::string::npos, text.find("添付"));
  EXPECT_EQ(0u, BodyOf(text).find("--outer\r\n"));
}

TEST(ComposeMailText, OutputStaysWithinTheDisplayBuffer) {
  // Bare LFs double in size; the text is cut at expected size + the spare.
  std::string message = "+OK\r\n\r\n" + std::string(40000, '\n');
  std::string text = ComposeMailText(message, message.size());
  EXPECT_EQ(message.size() + kMailDisplaySpare - 1, text.size());
  // A LIST size far above the message's does not change the text (nor need the memory).
  std::string small = "+OK\r\n\r\nab\ncd";
  EXPECT_EQ(ComposeMailText(small, small.size()), ComposeMailText(small, SIZE_MAX / 2));
  // A smaller expected size limits the conversion steps.
  EXPECT_EQ("abcd", BodyOf(ComposeMailText("+OK\r\n\r\nabcdefgh", 3)));
}

TEST(ComposeMailText, HeaderLinesAreCutTogether) {
  // 1,023 bytes of header lines in all: the subject is cut after whole
  // characters and nothing of the date line follows; the body still does.
  std::string from(950, 'f');
  std::string subject;
  for (int i = 0; i < 20; ++i) subject += kJisTest;
  std::string text = Compose("+OK\r\nFrom: " + from + "\r\nSubject: " + subject + "\r\n\r\nbody");
  std::string lines = "送信者: " + from + "\r\n宛先  : (宛先不明)\r\n件名  : ";
  ASSERT_LT(lines.size(), 1023u);
  std::size_t room = 1023 - lines.size();
  std::string cut_subject;
  while (cut_subject.size() + 6 <= room) cut_subject += "テスト";
  while (cut_subject.size() + 2 <= room) cut_subject += std::string("テスト", cut_subject.size() % 6, 2);
  EXPECT_EQ(lines + cut_subject + "\r\n\r\nbody", text);
}

TEST(ComposeMailText, ConvertedBodiesStayWithinTheDisplayBuffer) {
  // A UTF-8 body of bare LFs and an HTML one of line breaks both double in
  // size; each is cut at expected size + the spare, never inside a character.
  for (const char* type : {"text/plain", "text/html"}) {
    SCOPED_TRACE(type);
    std::string body;
    for (int i = 0; i < 8000; ++i) body += std::string(type) == "text/html" ? "<br>\xe3\x81\x82" : "\n\xe3\x81\x82";
    const std::string message = "+OK\r\nContent-Type: " + std::string(type) + "; charset=utf-8\r\n\r\n" + body;
    const std::string text = ComposeMailText(message, message.size() / 4);
    EXPECT_LT(text.size(), message.size() / 4 + kMailDisplaySpare);
    std::size_t whole = 0;
    while (whole < text.size()) whole += IsSjisLeadByte(static_cast<unsigned char>(text[whole])) ? 2 : 1;
    EXPECT_EQ(text.size(), whole) << "cut inside a character";
  }
}

struct HtmlCase {
  const char* name;
  const char* html;
  const char* text;
};

class HtmlToTextTest : public ::testing::TestWithParam<HtmlCase> {};

TEST_P(HtmlToTextTest, Reads) {
  char text[256];
  HtmlToText(GetParam().html, text, sizeof text);
  EXPECT_STREQ(GetParam().text, text);
}

// The rules the reference messages do not reach; Python's html.unescape reads
// the references alike.
INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlToTextTest,
    ::testing::Values(
        HtmlCase{"scriptDropped", "a<script>if (x < y) { b(); }</script>c", "ac"},
        HtmlCase{"lessThanAlone", "1 < 2 <3", "1 < 2 <3"},
        HtmlCase{"unclosedTagIsText", "a <b class=\"x", "a <b class=\"x"},
        HtmlCase{"legacyNameWithoutSemicolon", "&ampx &amp;y &notin; &notit", "&x &y 〓 ¬it"},
        HtmlCase{"numericReferences", "&#65;&#x42;&#150;&#0;&#1;&#xD800;&#99999999;", "AB〓〓〓〓"},
        HtmlCase{"unknownNameKept", "&nosuch; &#; &", "&nosuch; &#; &"},
        HtmlCase{"linkOtherSchemeDropped", "<a href=\"javascript:x()\">go</a> <a href=#top>up</a>", "go up"},
        HtmlCase{"linkWithoutTextShowsTarget", "<p><a href='ftp://f.example/x'><img src=x></a></p>",
                 "<ftp://f.example/x>\r\n"},
        HtmlCase{"breaksKeptBlocksMerged", "a<br><br>b<div><p>c</p></div>d", "a\r\n\r\nb\r\nc\r\nd"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HtmlToTextLimits, CutAtWholeCharactersAndNothingAfter) {
  char text[8];
  std::memset(text, 'Z', sizeof text);
  EXPECT_EQ(5u, HtmlToText("ab&amp;あいう", text, 7));
  EXPECT_STREQ("ab&あ", text);
  EXPECT_EQ('Z', text[7]);
}

struct WalkCase {
  const char* name;
  const char* content_type;
  const char* body;
  const char* shown;
  const char* attachments;
};

class WalkMultipartTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(WalkMultipartTest, Walks) {
  const WalkCase& c = GetParam();
  std::string body = c.body;
  char list[kAttachmentListSize] = {};
  const char* shown = WalkMultipart(body.data(), c.content_type, list, sizeof list);
  EXPECT_STREQ(c.shown, shown);
  EXPECT_STREQ(c.attachments, list);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WalkMultipartTest,
    ::testing::Values(
        WalkCase{"unquotedBoundary", "multipart/mixed; boundary=b", "--b\r\nx", "--b\r\nx", ""},
        WalkCase{"emptyBoundary", "multipart/mixed; boundary=\"\"", "--\r\nx", "--\r\nx", ""},
        WalkCase{"boundaryAbsent", "multipart/mixed; boundary=\"b\"", "text", "text", ""},
        WalkCase{"textPart", "multipart/mixed; boundary=\"b\"",
                 "pre\r\n--b\r\nContent-Type: text/plain\r\n\r\nhello\r\n--b--\r\n", "hello", ""},
        // Without the closing boundary the text runs to its last CR.
        WalkCase{"noClosingBoundary", "multipart/mixed; boundary=\"b\"",
                 "--b\r\nContent-Type: text/plain\r\n\r\nhello\r\nworld", "hello", ""},
        WalkCase{"partWithoutType", "multipart/mixed; boundary=\"b\"",
                 "--b\r\nX-A: 1\r\n\r\nhello\r\n--b--\r\n", "--b\r\nX-A: 1", ""},
        WalkCase{"secondTextIsAttachment", "multipart/mixed; boundary=\"b\"",
                 "--b\r\nContent-Type: text/plain\r\n\r\none\r\n--b\r\n"
                 "Content-Type: text/plain; name=\"two.txt\"\r\n\r\ntwo\r\n--b--\r\n",
                 "one", "\"two.txt\", "},
        WalkCase{"htmlReplacesList", "multipart/mixed; boundary=\"b\"",
                 "--b\r\nContent-Type: image/png; name=\"p.png\"\r\n\r\nx\r\n--b\r\n"
                 "Content-Type: text/html\r\n\r\n<p>\r\n--b--\r\n",
                 "--b\r\nContent-Type: image/png; name=\"p.png\"", "HTMLファイル, "},
        WalkCase{"nameNeedsQuote", "multipart/mixed; boundary=\"b\"",
                 "--b\r\nContent-Type: image/png; name=p.png\r\n\r\nx\r\n--b--\r\n",
                 "--b\r\nContent-Type: image/png; name=p.png", ""},
        // The part's own quoted-printable header applies when the text part comes first.
        WalkCase{"textPartQuotedPrintable", "multipart/mixed; boundary=\"b\"",
                 "--b\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: quoted-printable"
                 "\r\n\r\nx=3Dy=\r\nz\r\n--b--\r\n",
                 "x=yz", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WalkMultipartLimits, DeepNestingStopsAtAFixedDepth) {
  // 200 levels of multipart, each naming the next boundary: the walk must end
  // without exhausting the stack and show raw text from the deepest level it read.
  std::string body;
  for (int level = 0; level < 200; ++level) {
    body += "--b" + std::to_string(level) +
            "\r\nContent-Type: multipart/mixed; boundary=\"b" + std::to_string(level + 1) +
            "\"\r\n\r\n";
  }
  body += "--b200\r\nContent-Type: text/plain\r\n\r\ndeep\r\n";
  char list[kAttachmentListSize] = {};
  const char* shown = WalkMultipart(body.data(), "multipart/mixed; boundary=\"b0\"", list,
                                    sizeof list);
  EXPECT_EQ(0, std::strncmp(shown, "--b33\r\n", 7)) << shown;
}

TEST(WalkMultipartLimits, AttachmentListIsCut) {
  std::string body;
  for (int i = 0; i < 100; ++i) {
    body += "--b\r\nContent-Type: image/png; name=\"" + std::string(40, 'n') + "\"\r\n\r\nx\r\n";
  }
  char list[kAttachmentListSize + 8];
  std::memset(list, 'Z', sizeof list);
  list[0] = '\0';
  WalkMultipart(body.data(), "multipart/mixed; boundary=\"b\"", list, kAttachmentListSize);
  EXPECT_EQ(kAttachmentListSize - 1, std::strlen(list));
  EXPECT_EQ('Z', list[kAttachmentListSize]);
}

}  // namespace
}  // namespace vsmr
