// Decoding of messages made by Python's email package, checked against
// Python's own decoding of them (tests/mail/mime/data/make_messages.py).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "mail/mime/mail_compose.h"
#include "mail/mime/mail_record.h"
#include "mail/mime/mime_data.h"

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

struct ReferenceCase {
  const char* name;
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
  EXPECT_EQ(python["subject"], record.subject.View());
  EXPECT_EQ(python["from"], record.from.View());
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
  EXPECT_EQ(python["body"], ViewBody(view));
}

// ISO-2022-JP as Japanese mailers sent it, then each charset and transfer
// encoding of today's mail, HTML only and both forms (see make_messages.py).
INSTANTIATE_TEST_SUITE_P(
    Messages, ReferenceTest,
    ::testing::Values(ReferenceCase{"plain_upper"}, ReferenceCase{"folded_subject"},
                      ReferenceCase{"mixed_subject"}, ReferenceCase{"quoted_printable"},
                      ReferenceCase{"multipart_nested"}, ReferenceCase{"multipart_qp_first"},
                      ReferenceCase{"raw_jis_header"}, ReferenceCase{"plain_python_lower"},
                      ReferenceCase{"base64_body"}, ReferenceCase{"multipart_html_first"},
                      ReferenceCase{"utf8_8bit"}, ReferenceCase{"utf8_base64"},
                      ReferenceCase{"utf8_quoted_printable"}, ReferenceCase{"utf8_split_character"},
                      ReferenceCase{"utf8_raw_headers"}, ReferenceCase{"jis_body_utf8_headers"},
                      ReferenceCase{"shift_jis_8bit"}, ReferenceCase{"windows31j_base64"},
                      ReferenceCase{"euc_jp_quoted_printable"}, ReferenceCase{"latin1_quoted_printable"},
                      ReferenceCase{"us_ascii"}, ReferenceCase{"html_only"},
                      ReferenceCase{"html_with_attachment"}, ReferenceCase{"alternative"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vsmr
