// The POP3 client against a real Dovecot, started by dovecot_harness.py, which
// passes its port in VSMR_POP3_PORT. The Basic cases also run in the Windows
// build under Wine (Winsock over loopback): --gtest_filter=Basic*.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "mail/pop3/pop3_header_source.h"
#include "mail/pop3/pop3_session.h"
#include "mail/pop3/pop3_texts.h"
#include "mail/pop3/recording_host.h"

namespace vsmr {
namespace {

using testing::RecordingHost;

class Dovecot {
 public:
  explicit Dovecot(const char* mailbox, const char* password = nullptr) {
    const char* port = std::getenv("VSMR_POP3_PORT");
    const char* pw = std::getenv("VSMR_POP3_PASSWORD");
    available_ = port != nullptr && pw != nullptr;
    settings_.port = static_cast<std::uint16_t>(available_ ? std::atoi(port) : 0);
    host.account = RecordingHost::Account("127.0.0.1", mailbox, password ? password : (pw ? pw : ""));
  }
  bool Available() const { return available_; }
  PopSession& Open() {
    session_.emplace(SystemSockets(), host, settings_);
    connected = PopConnect(*session_, 0, 1);
    return *session_;
  }
  PopSettings& Settings() { return settings_; }

  RecordingHost host;
  bool connected = false;

 private:
  bool available_ = false;
  PopSettings settings_;
  std::optional<PopSession> session_;
};

#define REQUIRE_DOVECOT(d) \
  if (!(d).Available()) GTEST_SKIP() << "run through dovecot_harness.py"

std::string Retrieve(PopSession& s, int number, int* expected_out = nullptr) {
  const int expected = PopListForDownload(s, number);
  if (expected_out) *expected_out = expected;
  MessageText text;
  if (expected <= 0 || !AllocateMessageText(text, expected) || !PopRetrieve(s, text, number, expected)) return {};
  return std::string(text.View());
}

TEST(Basic, EmptyMailbox) {
  Dovecot d("empty");
  REQUIRE_DOVECOT(d);
  PopSession& s = d.Open();
  ASSERT_TRUE(d.connected) << d.host.LastStatus();
  EXPECT_EQ(PopStat(s), 0);
  EXPECT_TRUE(PopQuit(s));
  EXPECT_EQ(d.host.status_word, "--------");
}

TEST(Basic, OneMessageHeaderAndText) {
  Dovecot d("one");
  REQUIRE_DOVECOT(d);
  PopSession& s = d.Open();
  ASSERT_TRUE(d.connected) << d.host.LastStatus();
  ASSERT_EQ(PopStat(s), 1);
  std::string header;
  const int size = PopFetchHeader(s, 1, header);
  EXPECT_GT(size, 100);
  EXPECT_EQ(header.compare(0, 5, "+OK\r\n"), 0);  // Dovecot states no size for TOP
  EXPECT_NE(header.find("\r\nSubject: only message\r\n"), std::string::npos);
  EXPECT_EQ(header.substr(header.size() - 7), "\r\n\r\n.\r\n");
  int expected = 0;
  const std::string text = Retrieve(s, 1, &expected);
  EXPECT_EQ(expected, size);
  EXPECT_EQ(text.compare(0, 3, "+OK"), 0);
  EXPECT_NE(text.find("\r\n\r\nhello\r\n.\r\n"), std::string::npos);
  EXPECT_EQ(text.size() - text.find("\r\n") - 2, static_cast<std::size_t>(size) + 3);  // message, then ".\r\n"
  EXPECT_TRUE(PopQuit(s));
  EXPECT_EQ(d.host.status_word, "--------");
}

// Dovecot announces PIPELINING: the same headers and sizes with the commands
// sent ahead as one at a time.
TEST(Basic, HundredsOfMessagesEachWithItsOwnHeaderInBothModes) {
  std::vector<std::string> headers[2];
  std::vector<int> sizes[2];
  for (bool pipelined : {false, true}) {
    SCOPED_TRACE(pipelined);
    Dovecot d("many");
    REQUIRE_DOVECOT(d);
    PopSession& s = d.Open();
    ASSERT_TRUE(d.connected) << d.host.LastStatus();
    ASSERT_EQ(PopStat(s), 300);
    PopHeaderSource source(s, 300, pipelined);
    for (int i = 1; i <= 300; ++i) {
      SCOPED_TRACE(i);
      std::string header;
      const int size = source.Fetch(i, header);
      ASSERT_GT(size, 0) << d.host.LastStatus();
      ASSERT_NE(header.find("\r\nSubject: message " + std::to_string(i) + "\r\n"), std::string::npos);
      headers[pipelined].push_back(header);
      sizes[pipelined].push_back(size);
    }
    EXPECT_EQ(source.Mode(), pipelined ? PopHeaderMode::kPipelined : PopHeaderMode::kSequential);
    EXPECT_TRUE(PopQuit(s));
    EXPECT_EQ(d.host.status_word, "--------");
  }
  EXPECT_EQ(headers[0], headers[1]);
  EXPECT_EQ(sizes[0], sizes[1]);
}

TEST(Basic, LinesBeginningWithADotArriveAsSent) {
  Dovecot d("dots");
  REQUIRE_DOVECOT(d);
  PopSession& s = d.Open();
  ASSERT_TRUE(d.connected) << d.host.LastStatus();
  const std::string text = Retrieve(s, 1);
  EXPECT_NE(text.find("\r\n\r\n..hidden\r\n...two\r\n..\r\nend\r\n.\r\n"), std::string::npos) << text;
  EXPECT_TRUE(PopQuit(s));
}

TEST(Full, HeaderBlockOverEightKilobytes) {
  Dovecot d("bigheader");
  REQUIRE_DOVECOT(d);
  PopSession& s = d.Open();
  ASSERT_TRUE(d.connected) << d.host.LastStatus();
  std::string header;
  EXPECT_GT(PopFetchHeader(s, 1, header), 8192);
  EXPECT_GT(header.size(), 8192u);
  EXPECT_NE(header.find("host000.example.jp"), std::string::npos);
  EXPECT_NE(header.find("host199.example.jp"), std::string::npos);
  EXPECT_NE(header.find("\r\nSubject: big header\r\n"), std::string::npos);
  EXPECT_EQ(header.substr(header.size() - 5), "\r\n.\r\n");
  EXPECT_TRUE(PopQuit(s));
}

// A message of several MiB: partial (Yes) or capped at 1 MiB (No); the
// mailbox is intact for the next session.
TEST(Full, MessageOfSeveralMegabytes) {
  for (bool partial : {true, false}) {
    SCOPED_TRACE(partial);
    Dovecot d("large");
    REQUIRE_DOVECOT(d);
    d.host.answer_partial = partial;
    PopSession& s = d.Open();
    ASSERT_TRUE(d.connected) << d.host.LastStatus();
    int expected = 0;
    const std::string text = Retrieve(s, 1, &expected);
    EXPECT_EQ(d.host.partial_questions, 1);
    EXPECT_EQ(expected, partial ? 65536 : kPopMaxMessageSize);
    const std::size_t status_line = text.find("\r\n") + 2;
    EXPECT_GT(text.size(), status_line + expected);
    EXPECT_LE(text.size(), status_line + expected + 16);
    EXPECT_NE(text.find("line 000000: xxx"), std::string::npos);
    EXPECT_TRUE(PopQuit(s));
    EXPECT_EQ(d.host.status_word, "--------");
  }
  Dovecot again("large");
  PopSession& s = again.Open();
  ASSERT_TRUE(again.connected);
  EXPECT_EQ(PopStat(s), 2);
  std::string header;
  EXPECT_GT(PopFetchHeader(s, 1, header), 3000000);
  EXPECT_GT(PopFetchHeader(s, 2, header), 0);
  EXPECT_NE(header.find("Subject: after large"), std::string::npos);
  EXPECT_TRUE(PopQuit(s));
}

TEST(Full, DeletedMessageIsGoneAfterQuit) {
  {
    Dovecot d("deleteme");
    REQUIRE_DOVECOT(d);
    PopSession& s = d.Open();
    ASSERT_TRUE(d.connected);
    std::string header;
    ASSERT_GT(PopFetchHeader(s, 2, header), 0);
    EXPECT_NE(header.find("Subject: delete 2"), std::string::npos);
    EXPECT_TRUE(PopDelete(s, 2));
    EXPECT_FALSE(PopDelete(s, 2));  // already marked: Dovecot refuses
    EXPECT_EQ(d.host.status_word, "MailErrE");
    EXPECT_EQ(d.host.LastStatus().compare(0, 4, "-ERR"), 0);
    EXPECT_TRUE(PopQuit(s));
  }
  Dovecot d("deleteme");
  PopSession& s = d.Open();
  ASSERT_TRUE(d.connected);
  EXPECT_EQ(PopStat(s), 2);
  std::string header;
  ASSERT_GT(PopFetchHeader(s, 2, header), 0);
  EXPECT_NE(header.find("Subject: delete 3"), std::string::npos);
  EXPECT_TRUE(PopQuit(s));
}

// Last: Dovecot delays later log-ins from an address after a failed one.
TEST(BasicRefusal, WrongPasswordIsRefused) {
  Dovecot d("one", "wrong");
  REQUIRE_DOVECOT(d);
  d.Open();
  EXPECT_FALSE(d.connected);
  EXPECT_EQ(d.host.LastStatus(), pop3_text::kPassRefused);
  EXPECT_EQ(d.host.status_word, "MailErrU");
}

}  // namespace
}  // namespace vsmr
