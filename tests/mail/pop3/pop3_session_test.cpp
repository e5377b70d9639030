// The POP3 client over a scripted in-memory server: bytes on the wire, status
// texts and codes of every failure, the size question, downloads and the
// balance of network-layer start and release.
#include <gtest/gtest.h>

#include "mail/pop3/pop3_answer.h"
#include "mail/pop3/pop3_session.h"
#include "mail/pop3/pop3_texts.h"
#include "mail/pop3/recording_host.h"
#include "mail/pop3/scripted_sockets.h"

namespace vsmr {
namespace {

using testing::RecordingHost;
using testing::ScriptedSockets;
using Step = ScriptedSockets::Step;

struct Fixture {
  ScriptedSockets net;
  RecordingHost host;
  PopSettings settings;
  Fixture() { host.account = RecordingHost::Account("mail.example", "taro", "secret"); }
  ScriptedSockets& LoggedIn() { return net.Data("+OK ready\r\n").Data("+OK\r\n").Data("+OK\r\n"); }
};

void ExpectBalanced(const ScriptedSockets& net) {
  EXPECT_EQ(net.startups, net.cleanups);
  EXPECT_EQ(net.opens, net.closes);
}

TEST(Pop3Answer, FieldsAndNumbers) {
  EXPECT_EQ(AnswerField("+OK 2 320\r\n", 2), "2");
  EXPECT_EQ(AnswerField("+OK  12   345\r\nnext", 3), "345\r\nnext");  // spans the line end
  EXPECT_EQ(AnswerField("+OK\r\nFrom: a", 2), "a");
  EXPECT_EQ(AnswerField("+OK", 2), "");
  struct Row { const char* text; std::int32_t value; bool digits; } rows[] = {
      {"320\r\n", 320, true}, {"  -17x", -17, true}, {"+5", 5, true}, {"abc", 0, false},
      {"", 0, false}, {"99999999999999", INT32_MAX, true}, {"-99999999999999", INT32_MIN, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    const AnswerNumber n = ParseAnswerNumber(r.text);
    EXPECT_EQ(n.value, r.value);
    EXPECT_EQ(n.has_digits, r.digits);
  }
  EXPECT_TRUE(BeginsWithOk("+ok"));
  EXPECT_TRUE(BeginsWithOk("+Ok whatever"));
  EXPECT_FALSE(BeginsWithOk("+O"));
  EXPECT_FALSE(BeginsWithOk("-ERR"));
  EXPECT_TRUE(EndsMultiLineAnswer("+OK\r\n.\r\n"));
  EXPECT_FALSE(EndsMultiLineAnswer("+OK\r\n..\r\n"));
}

TEST(Pop3Session, LogsInAndSpeaksTheCommandsOnTheWire) {
  Fixture f;
  f.settings.port = 2110;
  f.LoggedIn().Data("+OK 3 900\r\n")
      .Data("+OK 120 octets\r\nSubject: hello there\r\nFrom: someone\r\n").Data("\r\n.\r\n")
      .Data("+OK 1 777\r\n")
      .Data("+OK 1 12\r\n")
      .Data("+OK\r\nbody..\r\n.\r\n")
      .Data("+OK deleted\r\n").Data("+OK bye\r\n");
  PopSession s(f.net, f.host, f.settings);
  ASSERT_TRUE(PopConnect(s, 0, 1));
  EXPECT_EQ(f.net.resolved_host, "mail.example");
  EXPECT_EQ(f.net.connected_port, 2110);
  EXPECT_EQ(PopStat(s), 3);
  std::string header;
  EXPECT_EQ(PopFetchHeader(s, 1, header), 777);
  EXPECT_EQ(header, "+OK 120 octets\r\nSubject: hello there\r\nFrom: someone\r\n\r\n.\r\n");
  const int expected = PopListForDownload(s, 1);
  EXPECT_EQ(expected, 12);
  MessageText text;
  ASSERT_TRUE(AllocateMessageText(text, expected));
  EXPECT_EQ(text.bytes.size(), 12u + 16384u);
  ASSERT_TRUE(PopRetrieve(s, text, 1, expected));
  EXPECT_EQ(text.View(), "+OK\r\nbody..\r\n.\r\n");  // kept as it arrived, dots included
  EXPECT_TRUE(PopDelete(s, 1));
  EXPECT_TRUE(PopQuit(s));
  EXPECT_EQ(f.net.sent,
            "USER taro\r\nPASS secret\r\nSTAT\r\nTOP 1 0\r\nLIST 1\r\nLIST 1\r\nRETR 1\r\n"
            "DELE 1\r\nQUIT\r\n");
  EXPECT_EQ(f.host.status_word, "--------");
  EXPECT_EQ(f.net.StepsLeft(), 0u);
  EXPECT_FALSE(PopQuit(s));  // closed: not touched again
  ExpectBalanced(f.net);
  EXPECT_EQ(f.net.startups, 1);
}

// Every way the log-in can fail, with its status text and code; none sends QUIT.
TEST(Pop3Session, ConnectFailures) {
  struct Row {
    const char* name;
    void (*arrange)(Fixture&);
    std::string status;
    const char* code;
  } rows[] = {
      {"network layer", [](Fixture& f) { f.net.fail_startup = true; }, pop3_text::kCannotStart, "MailErr0"},
      {"lookup", [](Fixture& f) { f.net.fail_resolve = true; }, std::string("mail.example") + "が見つかりません", "MailErrH"},
      {"socket", [](Fixture& f) { f.net.fail_open = true; }, pop3_text::kCannotOpenSocket, "MailErrS"},
      {"connect", [](Fixture& f) { f.net.fail_connect = true; }, pop3_text::kConnectFailed, "MailErrC"},
      {"greeting -ERR", [](Fixture& f) { f.net.Data("-ERR busy\r\n"); }, pop3_text::kGreetingRefused, "MailErrP"},
      {"greeting split", [](Fixture& f) { f.net.Data("+O").Data("K hi\r\n"); }, pop3_text::kGreetingRefused, "MailErrP"},
      {"greeting closed", [](Fixture& f) { f.net.PeerCloses(); }, pop3_text::kGreetingRefused, "MailErrP"},
      {"USER refused", [](Fixture& f) { f.net.Data("+OK\r\n").Data("-ERR who\r\n"); }, pop3_text::kUserRefused, "MailErrU"},
      {"PASS refused", [](Fixture& f) { f.net.Data("+OK\r\n").Data("+OK\r\n").Data("-ERR no\r\n"); }, pop3_text::kPassRefused, "MailErrU"},
      {"greeting silent", [](Fixture& f) { f.net.Silence(); }, pop3_text::kReceiveTimeout, "MailErrT"},
      {"read wait error", [](Fixture& f) { f.net.ReadWaitFails(Step::kWaitError); }, pop3_text::kReceiveFailed, "MailErr1"},
      {"read not in set", [](Fixture& f) { f.net.ReadWaitFails(Step::kNotInSet); }, pop3_text::kReceiveFailed, "MailErr1"},
      {"write timeout", [](Fixture& f) { f.net.Data("+OK\r\n"); f.net.write_waits.push_back(WaitOutcome::kTimeout); }, pop3_text::kSendTimeout, "MailErrT"},
      {"write not in set", [](Fixture& f) { f.net.Data("+OK\r\n"); f.net.write_waits.push_back(WaitOutcome::kNotInSet); }, pop3_text::kSendFailed, "MailErr3"},
      {"write error keeps code", [](Fixture& f) { f.net.Data("+OK\r\n"); f.net.write_waits.push_back(WaitOutcome::kError); }, pop3_text::kSendFailed, "--------"},
      {"send fails", [](Fixture& f) { f.net.Data("+OK\r\n"); f.net.fail_send = true; }, pop3_text::kSendFailed, "MailErr3"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Fixture f;
    r.arrange(f);
    PopSession s(f.net, f.host, f.settings);
    EXPECT_FALSE(PopConnect(s, 0, 1));
    EXPECT_FALSE(s.IsOpen());
    EXPECT_EQ(f.host.LastStatus(), r.status);
    EXPECT_EQ(f.host.status_word, r.code);
    EXPECT_EQ(f.net.sent.find("QUIT"), std::string::npos);
    EXPECT_FALSE(PopQuit(s));
    ExpectBalanced(f.net);
  }
}

// A TLS stand-in: the handshake ends as told, and a secured connection
// passes the scripted bytes through unchanged.
class FakeTls final : public TlsConnector, public TlsLayer {
 public:
  TlsOutcome outcome = TlsOutcome::kOk;
  std::string sent_before;  // what the client had sent when the handshake began
  std::string server_name;
  int handshakes = 0;
  int shutdowns = 0;
  SocketApi* plain = nullptr;

  std::unique_ptr<TlsLayer> Start(SocketApi& sockets, SocketHandle, const char* name, int,
                                  TlsOutcome& result) override {
    ++handshakes;
    sent_before = static_cast<ScriptedSockets&>(sockets).sent;
    server_name = name;
    plain = &sockets;
    result = outcome;
    if (outcome != TlsOutcome::kOk) return nullptr;
    return std::make_unique<Handle>(*this);
  }
  SocketApi& Transport() override { return *plain; }
  void Shutdown() override { ++shutdowns; }

 private:
  struct Handle final : TlsLayer {
    explicit Handle(FakeTls& owner) : owner(owner) {}
    SocketApi& Transport() override { return owner.Transport(); }
    void Shutdown() override { owner.Shutdown(); }
    FakeTls& owner;
  };
};

// Both secured modes: the handshake's place on the wire, the default ports,
// each failure's text and code, and no log-in sent unless secured.
TEST(Pop3Session, SecuredConnections) {
  struct Row {
    const char* name;
    int security;
    int port;
    TlsOutcome outcome;
    const char* stls_answer;  // the server's answer to STLS (security 2)
    std::uint16_t connected_port;
    const char* sent_before_handshake;
    const char* sent;  // everything sent, when the log-in fails
    const char* status;
    const char* code;
  } rows[] = {
      {"POP3S", kPopSecurityTls, 0, TlsOutcome::kOk, "", 995, "", nullptr, "", "--------"},
      {"STLS", kPopSecurityStls, 0, TlsOutcome::kOk, "+OK go\r\n", 110, "STLS\r\n", nullptr, "", "--------"},
      {"own port", kPopSecurityTls, 2995, TlsOutcome::kOk, "", 2995, "", nullptr, "", "--------"},
      {"untrusted", kPopSecurityTls, 0, TlsOutcome::kUntrusted, "", 995, "", "", pop3_text::kTlsUntrusted, "MailErrA"},
      {"name", kPopSecurityTls, 0, TlsOutcome::kNameMismatch, "", 995, "", "", pop3_text::kTlsNameMismatch, "MailErrN"},
      {"expired", kPopSecurityTls, 0, TlsOutcome::kExpired, "", 995, "", "", pop3_text::kTlsExpired, "MailErrX"},
      {"handshake", kPopSecurityStls, 0, TlsOutcome::kHandshakeFailed, "+OK\r\n", 110, "STLS\r\n", "STLS\r\n",
       pop3_text::kTlsHandshakeFailed, "MailErrL"},
      {"STLS refused", kPopSecurityStls, 0, TlsOutcome::kOk, "-ERR no\r\n", 110, nullptr, "STLS\r\n",
       pop3_text::kStlsNotOffered, "MailErrF"},
      // A typing slip in the settings file is no clear text: refused before any connection.
      {"unknown", 3, 0, TlsOutcome::kOk, "", 0, nullptr, "", "暗号化の設定が不明です", "MailErrK"},
      {"negative", -1, 0, TlsOutcome::kOk, "", 0, nullptr, "", "暗号化の設定が不明です", "MailErrK"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Fixture f;
    f.host.account.security = r.security;
    f.host.account.port = r.port;
    FakeTls tls;
    tls.outcome = r.outcome;
    f.net.Data("+OK ready\r\n");
    if (r.security == kPopSecurityStls) f.net.Data(r.stls_answer);
    f.net.Data("+OK\r\n").Data("+OK\r\n").Data("+OK bye\r\n");
    {
      PopSession s(f.net, f.host, f.settings, tls);
      const bool secured = r.sent == nullptr;
      EXPECT_EQ(PopConnect(s, 0, 1), secured);
      EXPECT_EQ(f.net.connected_port, r.connected_port);
      EXPECT_EQ(tls.handshakes, r.sent_before_handshake ? 1 : 0);
      if (r.sent_before_handshake) {
        EXPECT_EQ(tls.sent_before, r.sent_before_handshake);
      }
      if (secured) {
        EXPECT_EQ(tls.server_name, "mail.example");
        EXPECT_TRUE(s.Secured());
        EXPECT_TRUE(PopQuit(s));
        EXPECT_EQ(f.net.sent, std::string(r.sent_before_handshake) + "USER taro\r\nPASS secret\r\nQUIT\r\n");
        EXPECT_EQ(tls.shutdowns, 1);
      } else {
        EXPECT_EQ(f.net.sent, r.sent);
        EXPECT_EQ(f.host.LastStatus(), r.status);
        EXPECT_FALSE(s.IsOpen());
      }
      EXPECT_EQ(f.host.status_word, r.code);
    }
    ExpectBalanced(f.net);
  }
}

TEST(Pop3Session, IncompleteAccountOffersTheOptionsOnceExceptInAutomaticChecks) {
  {  // still incomplete after the dialog: no connection, no status, balanced
    Fixture f;
    f.host.account = RecordingHost::Account("mail.example", "", "secret");
    f.host.account_after_setup = f.host.account;
    PopSession s(f.net, f.host, f.settings);
    EXPECT_FALSE(PopConnect(s, 0, 1));
    EXPECT_EQ(f.host.setup_offers, 1);
    EXPECT_EQ(f.host.setup_text, "アカウントのPOP3設定を行って下さい。");
    EXPECT_EQ(f.host.setup_caption, "注意");
    EXPECT_TRUE(f.host.statuses.empty());
    EXPECT_EQ(f.net.opens, 0);
    ExpectBalanced(f.net);
  }
  {  // completed in the dialog: the new fields are used
    Fixture f;
    f.host.account = RecordingHost::Account("", "", "");
    f.host.account_after_setup = RecordingHost::Account("pop.example", "hanako", "pw");
    f.LoggedIn();
    PopSession s(f.net, f.host, f.settings);
    EXPECT_TRUE(PopConnect(s, 0, 5));
    EXPECT_EQ(f.net.resolved_host, "pop.example");
    EXPECT_EQ(f.net.sent, "USER hanako\r\nPASS pw\r\n");
  }
  // An empty server name would resolve to this machine: refused in every job
  // kind, the manual ones after the dialog, with no lookup and no log-in.
  for (int kind : {1, kPopAutomaticCheckJob}) {
    SCOPED_TRACE(kind);
    Fixture f;
    f.host.account = RecordingHost::Account("", "u", "p");
    f.host.account_after_setup = f.host.account;
    f.LoggedIn();
    PopSession s(f.net, f.host, f.settings);
    EXPECT_FALSE(PopConnect(s, 0, kind));
    EXPECT_EQ(f.host.setup_offers, kind == kPopAutomaticCheckJob ? 0 : 1);
    EXPECT_EQ(f.host.LastStatus(), "POP3サーバーが未設定です");
    EXPECT_EQ(f.host.status_word, "MailErrB");
    EXPECT_EQ(f.net.opens, 0);
    EXPECT_EQ(f.net.sent, "");
    ExpectBalanced(f.net);
  }
}

TEST(Pop3Session, RefusedCommandsShowTheServersAnswer) {
  Fixture f;
  f.LoggedIn().Data("-ERR locked\r\n").Data("-ERR no such message\r\n").Data("-ERR gone\r\n")
      .Data("+OK -4 0\r\n").Data("+OK 1 lots\r\n").PeerCloses();
  PopSession s(f.net, f.host, f.settings);
  ASSERT_TRUE(PopConnect(s, 0, 1));
  EXPECT_EQ(PopStat(s), -1);
  EXPECT_EQ(f.host.LastStatus(), "-ERR locked\r\n");
  EXPECT_EQ(f.host.status_word, "MailErrE");
  std::string header = "stale";
  EXPECT_EQ(PopFetchHeader(s, 4, header), -1);
  EXPECT_EQ(header, "");
  EXPECT_EQ(f.host.LastStatus(), "-ERR no such message\r\n");
  EXPECT_FALSE(PopDelete(s, 4));
  EXPECT_EQ(f.host.LastStatus(), "-ERR gone\r\n");
  EXPECT_EQ(PopStat(s), -1);  // a negative count is no count
  EXPECT_EQ(f.host.LastStatus(), "+OK -4 0\r\n");
  EXPECT_EQ(PopListForDownload(s, 1), 0);  // a size that is no number
  EXPECT_EQ(f.host.LastStatus(), "+OK 1 lots\r\n");
  EXPECT_EQ(PopStat(s), -1);  // the peer closed: a receive failure
  EXPECT_EQ(f.host.LastStatus(), pop3_text::kReceiveFailed);
  EXPECT_EQ(f.host.status_word, "MailErr1");
  EXPECT_FALSE(s.IsOpen());
  ExpectBalanced(f.net);
}

// The size question: asked only above LimitMailSize; sizes capped at 1 MiB.
TEST(Pop3Session, DownloadSizeAndTheQuestion) {
  struct Row {
    const char* answer;
    bool yes;
    int expected;
    int questions;
  } rows[] = {
      {"+OK 1 5000000\r\n", true, 65536, 1},
      {"+OK 1 5000000\r\n", false, 1048576, 1},
      {"+OK 1 65536\r\n", true, 65536, 0},
      {"+OK 1 65537\r\n", false, 65537, 1},
      {"+OK 1 0\r\n", true, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.answer);
    Fixture f;
    f.host.answer_partial = r.yes;
    f.LoggedIn().Data(r.answer);
    PopSession s(f.net, f.host, f.settings);
    ASSERT_TRUE(PopConnect(s, 0, 4));
    EXPECT_EQ(PopListForDownload(s, 1), r.expected);
    EXPECT_EQ(f.host.partial_questions, r.questions);
    if (r.questions > 0) {
      EXPECT_EQ(f.host.question_text,
                "サイズが大きくダウンロードに時間がかかるかもしれません。\n一部のみのダウンロードにしますか？");
      EXPECT_EQ(f.host.question_caption, "警告");
    }
  }
}

TEST(Pop3Session, PartialDownloadStopsNearTheChosenSize) {
  Fixture f;
  f.settings.limit_mail_size = 20000;
  f.host.answer_partial = true;
  f.LoggedIn().Data("+OK 1 5000000\r\n").Data("+OK 5000000 octets\r\n");
  for (int i = 0; i < 10; ++i) f.net.Data(std::string(8192, 'x'));
  PopSession s(f.net, f.host, f.settings);
  ASSERT_TRUE(PopConnect(s, 0, 4));
  const int expected = PopListForDownload(s, 1);
  ASSERT_EQ(expected, 20000);
  MessageText text;
  ASSERT_TRUE(AllocateMessageText(text, expected));
  ASSERT_TRUE(PopRetrieve(s, text, 1, expected));
  const std::size_t status_line = std::string("+OK 5000000 octets\r\n").size();
  EXPECT_GT(text.length, 20000u + status_line);
  EXPECT_LE(text.length, 20000u + status_line + 16u);
  EXPECT_EQ(text.bytes[text.length], '\0');
  EXPECT_EQ(f.host.statuses.front(), "0%ダウンロード終了");
  EXPECT_EQ(f.host.LastStatus(), "81%ダウンロード終了");  // shown before the last receive
  EXPECT_TRUE(s.IsOpen());  // the rest stays unread until QUIT
}

TEST(Pop3Session, WholeDownloadReadsToTheEndLineAndFailsWithoutIt) {
  {  // the server states fewer bytes than it sends: nothing is lost
    Fixture f;
    f.LoggedIn().Data("+OK 1 10\r\n").Data("+OK\r\n0123456789\r\n..dot\r\n").Data("tail\r\n.\r\n")
        .Data("+OK bye\r\n");
    PopSession s(f.net, f.host, f.settings);
    ASSERT_TRUE(PopConnect(s, 0, 4));
    MessageText text;
    ASSERT_TRUE(AllocateMessageText(text, PopListForDownload(s, 1)));
    ASSERT_TRUE(PopRetrieve(s, text, 1, 10));
    EXPECT_EQ(text.View(), "+OK\r\n0123456789\r\n..dot\r\ntail\r\n.\r\n");
    EXPECT_TRUE(PopQuit(s));  // QUIT reads its own answer, not a stale line
  }
  // An answer that ends before its terminating line is never taken as whole.
  struct Row {
    const char* name;
    int listed;
    std::vector<std::string> chunks;
    bool peer_closes;
    int window_closes_after_status;  // -1: it stays open
    std::string status;              // the last status shown
    std::string code;
  } rows[] = {
      {"the peer closes in the middle", 5000, {"+OK\r\npart one\r\n"}, true, -1,
       "サーバからの受信失敗", "MailErr1"},
      {"the peer closes right after the status line", 5000, {"+OK\r\n"}, true, -1,
       "サーバからの受信失敗", "MailErr1"},
      {"more than the buffer holds", 100, {"+OK\r\n", std::string(8192, 'z'), std::string(8192, 'z'),
       std::string(8192, 'z')}, false, -1, "サーバからの受信失敗", "MailErr1"},
      {"the end line never comes", 5000, {"+OK\r\npart one\r\n"}, false, -1,
       "タイムアウトしました\n", "MailErrT"},
      // The receive after the third status is under way when the window goes: no word.
      {"the mail window closes", 50000, {"+OK\r\n", std::string(8192, 'y'), std::string(8192, 'y'),
       std::string(8192, 'y'), std::string(8192, 'y')}, false, 3, "32%ダウンロード終了", "--------"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Fixture f;
    f.LoggedIn().Data("+OK 1 " + std::to_string(r.listed) + "\r\n");
    for (const std::string& c : r.chunks) f.net.Data(c);
    if (r.peer_closes) f.net.PeerCloses();
    f.host.window_closes_after_status = r.window_closes_after_status;
    PopSession s(f.net, f.host, f.settings);
    ASSERT_TRUE(PopConnect(s, 0, 4));
    MessageText text;
    ASSERT_TRUE(AllocateMessageText(text, PopListForDownload(s, 1)));
    EXPECT_FALSE(PopRetrieve(s, text, 1, r.listed));
    EXPECT_EQ(f.host.LastStatus(), r.status);
    EXPECT_EQ(f.host.status_word, r.code);
    EXPECT_FALSE(s.IsOpen());
    ExpectBalanced(f.net);
  }
}

TEST(Pop3Session, HeaderFetchReadsTheWholeAnswerWhateverTheStatedSize) {
  struct Row {
    const char* name;
    std::vector<std::string> chunks;
    int result;
    std::string header;
  } rows[] = {
      {"no size, split", {"+OK\r\n", "Subject: a header in parts\r\n", "From: x\r\n\r\n.\r\n", "+OK 2 4242\r\n"},
       4242, "+OK\r\nSubject: a header in parts\r\nFrom: x\r\n\r\n.\r\n"},
      {"stated size too large", {"+OK 90000\r\nSubject: short header line\r\n\r\n.\r\n", "+OK 2 10\r\n"},
       10, "+OK 90000\r\nSubject: short header line\r\n\r\n.\r\n"},
      {"too short", {"+OK\r\nA: b\r\n.\r\n"}, -1, ""},
      {"negative LIST size", {"+OK\r\nSubject: negative size follows\r\n.\r\n", "+OK 2 -9\r\n"}, 0,
       "+OK\r\nSubject: negative size follows\r\n.\r\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Fixture f;
    f.LoggedIn();
    for (const std::string& c : r.chunks) f.net.Data(c);
    PopSession s(f.net, f.host, f.settings);
    ASSERT_TRUE(PopConnect(s, 0, 1));
    std::string header;
    EXPECT_EQ(PopFetchHeader(s, 2, header), r.result);
    EXPECT_EQ(header, r.header);
    EXPECT_EQ(f.net.StepsLeft(), 0u);
    EXPECT_TRUE(f.host.statuses.empty());
  }
  {  // the header arrives but LIST fails: the header is still handed over
    Fixture f;
    f.LoggedIn().Data("+OK\r\nSubject: kept although LIST fails\r\n.\r\n").Data("-ERR\r\n");
    PopSession s(f.net, f.host, f.settings);
    ASSERT_TRUE(PopConnect(s, 0, 1));
    std::string header;
    EXPECT_EQ(PopFetchHeader(s, 1, header), -1);
    EXPECT_EQ(header, "+OK\r\nSubject: kept although LIST fails\r\n.\r\n");
    EXPECT_EQ(f.host.status_word, "MailErrE");
  }
  {  // an answer cut off before its end line fails as a broken connection
    Fixture f;
    f.LoggedIn().Data("+OK\r\nSubject: the connection ends here\r\n").PeerCloses();
    PopSession s(f.net, f.host, f.settings);
    ASSERT_TRUE(PopConnect(s, 0, 1));
    std::string header;
    EXPECT_EQ(PopFetchHeader(s, 1, header), -1);
    EXPECT_EQ(header, "");
    EXPECT_EQ(f.host.LastStatus(), "サーバからの受信失敗");
    EXPECT_EQ(f.host.status_word, "MailErr1");
    EXPECT_FALSE(s.IsOpen());
    ExpectBalanced(f.net);
  }
  {  // an answer without its end line times out
    Fixture f;
    f.LoggedIn().Data("+OK 500\r\nSubject: the rest never comes\r\n");
    PopSession s(f.net, f.host, f.settings);
    ASSERT_TRUE(PopConnect(s, 0, 1));
    std::string header;
    EXPECT_EQ(PopFetchHeader(s, 1, header), -1);
    EXPECT_EQ(f.host.LastStatus(), "タイムアウトしました\n");
    EXPECT_EQ(f.host.status_word, "MailErrT");
    EXPECT_FALSE(s.IsOpen());
    ExpectBalanced(f.net);
  }
}

}  // namespace
}  // namespace vsmr
