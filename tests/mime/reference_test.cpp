// Decoding of messages made by Python's email package, checked against
// Python's own decoding of them (tests/mime/data/make_messages.py).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "mail/mail_compose.h"
#include "mail/mail_record.h"
#include "mime/mime_data.h"

namespace vsmr {
namespace {

std::string Load(const std::string& file) { return test::LoadMimeData(file); }

// Python's decoding: "key=value" lines, then "body=" and the body bytes.
std::map<std::string, std::string> LoadReference(const std::string& name) {
  std::string bytes = Load(name + ".expected");
  std::map<std::string, std::string> fields;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t eq = bytes.find('=', pos);
    std::size_t nl = bytes.find('\n', pos);
    if (eq == std::string::npos || nl == std::string::npos || nl < eq) break;
    std::string key = bytes.substr(pos, eq - pos);
    pos = nl + 1;
    if (key == "body") {
      fields[key] = bytes.substr(pos);
      break;
    }
    fields[key] = bytes.substr(eq + 1, nl - eq - 1);
  }
  return fields;
}

std::string HeaderBlock(const std::string& message) {
  return message.substr(0, message.find("\r\n\r\n"));
}

std::string ViewBody(const std::string& view) {
  std::size_t at = view.find("\r\n\r\n\r\n");
  return at == std::string::npos ? "<no separator>" : view.substr(at + 6);
}

// Where the described decoding knowingly differs from Python's, the row says
// what the program shows instead.
struct ReferenceCase {
  const char* name;
  bool subject_and_from_as_python = true;
  bool body_as_python = true;
};

class ReferenceTest : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(ReferenceTest, MatchesPython) {
  const ReferenceCase& c = GetParam();
  std::string message = Load(std::string(c.name) + ".eml");
  auto python = LoadReference(c.name);
  ASSERT_TRUE(python.count("body")) << "bad reference file";

  MailRecord record{};
  bool multipart = ParseMailHeaders(HeaderBlock(message), record);
  EXPECT_EQ(python.count("attachments") == 1, multipart);
  if (c.subject_and_from_as_python) {
    EXPECT_EQ(python["subject"], record.subject.View());
    EXPECT_EQ(python["from"], record.from.View());
  }
  EXPECT_EQ(python["to"], record.to.View());
  EXPECT_EQ(python["date_short"], FormatMailDate(record.date.View(), MailDateForm::kShort));
  EXPECT_EQ(python["date_long"], FormatMailDate(record.date.View(), MailDateForm::kLong));

  std::string retr = "+OK " + std::to_string(message.size()) + " octets\r\n" + message;
  std::string view = ComposeMailText(retr, retr.size());
  std::string lines = "送信者: " + std::string(record.from.View()) + "\r\n宛先  : " + python["to"] +
                      "\r\n件名  : " + std::string(record.subject.View()) + "\r\n日付  : " +
                      python["date_long"] + "\r\n";
  if (multipart) lines += "添付  : " + python["attachments"] + "\r\n";
  EXPECT_EQ(lines, view.substr(0, lines.size()));
  if (c.body_as_python) {
    EXPECT_EQ(python["body"], ViewBody(view));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ReferenceTest,
    ::testing::Values(ReferenceCase{"plain_upper"}, ReferenceCase{"folded_subject"},
                      ReferenceCase{"mixed_subject"}, ReferenceCase{"quoted_printable"},
                      ReferenceCase{"multipart_nested"}, ReferenceCase{"multipart_qp_first"},
                      ReferenceCase{"raw_jis_header"},
                      ReferenceCase{"plain_python_lower", false, true},
                      ReferenceCase{"base64_body", true, false},
                      ReferenceCase{"multipart_html_first", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Python writes "=?iso-2022-jp?b?": only an upper-case "B" is decoded, so the
// words show as their raw text without their "=" characters.
TEST(ReferenceDifferences, PythonLowerCaseWordsStayRaw) {
  MailRecord record{};
  ParseMailHeaders(HeaderBlock(Load("plain_python_lower.eml")), record);
  EXPECT_EQ("?iso-2022-jp?b?GyRCMnE1RDtxTkEkTkF3SVUbKEI", record.subject.View());
  EXPECT_EQ("?iso-2022-jp?b?GyRCOzNFRBsoQiAbJEJCQE86GyhC? <taro@example.jp>", record.from.View());
}

// Bodies are not Base64-decoded: the view shows the encoded lines.
TEST(ReferenceDifferences, Base64BodyShownEncoded) {
  std::string message = Load("base64_body.eml");
  std::string body = message.substr(message.find("\r\n\r\n") + 4);
  EXPECT_EQ(body, ViewBody(ComposeMailText("+OK\r\n" + message, message.size() + 5)));
}

// The text part's encoding is looked up in the first part's header block; with
// the HTML part first that says 7bit, so the text part stays quoted-printable.
TEST(ReferenceDifferences, QuotedPrintableTextAfterHtmlStaysEncoded) {
  std::string message = Load("multipart_html_first.eml");
  std::string body = ViewBody(ComposeMailText("+OK\r\n" + message, message.size() + 5));
  EXPECT_EQ(0u, body.find("=1B$B$3$s$K$A$O!\";3ED$G$9!#=1B(B\r\n=1B$BMh=3D5")) << body;
}

}  // namespace
}  // namespace vsmr
