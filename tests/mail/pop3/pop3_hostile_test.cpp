// The POP3 client over real loopback sockets against a scripted hostile
// server: every scenario checks the status text, the code and the outcome,
// ends within TimeOut + 1 second, and keeps within the buffer bounds.
#include <gtest/gtest.h>

#include <functional>

#include "mail/pop3/pop3_header_source.h"
#include "mail/pop3/pop3_session.h"
#include "mail/pop3/pop3_texts.h"
#include "mail/pop3/recording_host.h"
#include "support/fake_pop_server.h"

namespace vsmr {
namespace {

using namespace vsmr::testing;
using Script = std::vector<ServerAction>;

Script LogIn(Script then = {}) {
  Script s = {Send("+OK ready\r\n"), Expect("USER"), Send("+OK\r\n"), Expect("PASS"), Send("+OK\r\n")};
  s.insert(s.end(), then.begin(), then.end());
  return s;
}

std::string Header() { return "Subject: test message\r\nFrom: a@example.jp\r\n\r\n"; }

enum class Pass { kConnect, kStat, kCheck, kDownload, kDelete };

// How a check's server answers CAPA: each check row runs in every mode.
enum class CapaMode { kRefused, kNoPipelining, kPipelined };
const char* const kCapaAnswers[] = {"-ERR unknown command\r\n", "+OK\r\nTOP\r\nUSER\r\nUIDL\r\n.\r\n",
                                    "+OK Capability list follows\r\nTOP\r\nUSER\r\npipelining\r\n.\r\n"};

struct Outcome {
  bool connected = false;
  int count = -2;           // kCheck: PopStat
  int size = -2;            // kCheck: first header's size; kDownload: expected size
  std::string header;       // kCheck: first header
  bool retrieved = false;   // kDownload
  std::vector<int> sizes;   // kCheck: every fetched header's size
  PopHeaderMode mode = PopHeaderMode::kNotAsked;
  std::size_t length = 0;   // kDownload: bytes kept
  std::size_t capacity = 0; // kDownload: message text buffer
  bool deleted = false;     // kDelete
};

struct Scenario {
  const char* name;
  Script server;
  Pass pass;
  int timeout;
  std::string status;   // the last status text ("" = none shown; "%..." = a progress text)
  std::string code;     // the StatusWord afterwards ("--------" = untouched)
  std::function<void(const Outcome&)> verify;
  const char* host = "127.0.0.1";
  bool partial = false; // the answer to the size question
  bool nothing_listening = false;
  int fetch = 1;              // kCheck: how many headers are fetched
  bool pipelined_only = false;  // the script answers commands sent ahead
};

// The check's CAPA step, answered as `mode` says, before the first TOP (unless
// the script has its own).
bool HasOwnCapa(const Script& script) {
  for (const ServerAction& a : script) {
    if (a.kind == ServerAction::kExpect && a.text == "CAPA") return true;
  }
  return false;
}

Script WithCapa(Script script, CapaMode mode) {
  if (HasOwnCapa(script)) return script;
  for (auto it = script.begin(); it != script.end(); ++it) {
    if (it->kind == ServerAction::kExpect && it->text == "TOP") {
      script.insert(it, {Expect("CAPA"), Send(kCapaAnswers[static_cast<int>(mode)])});
      break;
    }
  }
  return script;
}

Outcome RunPass(const Scenario& sc, RecordingHost& host, std::uint16_t port) {
  PopSettings settings;
  settings.timeout_seconds = sc.timeout;
  settings.port = port;
  host.account = RecordingHost::Account(sc.host, "taro", "secret");
  host.answer_partial = sc.partial;
  PopSession session(SystemSockets(), host, settings);
  Outcome out;
  out.connected = PopConnect(session, 0, 1);
  if (!out.connected) return out;
  switch (sc.pass) {
    case Pass::kConnect:
      break;
    case Pass::kStat:
      out.count = PopStat(session);
      break;
    case Pass::kCheck: {
      out.count = PopStat(session);
      PopHeaderSource source(session, out.count);
      std::string header;
      for (int i = 1; i <= out.count && i <= sc.fetch; ++i) {
        const int size = source.Fetch(i, i == 1 ? out.header : header);
        out.sizes.push_back(size);
        if (size < 0) break;
      }
      if (!out.sizes.empty()) out.size = out.sizes[0];
      out.mode = source.Mode();
      break;
    }
    case Pass::kDownload: {
      out.size = PopListForDownload(session, 1);
      MessageText text;
      if (out.size > 0 && AllocateMessageText(text, out.size)) {
        out.capacity = text.bytes.size();
        out.retrieved = PopRetrieve(session, text, 1, out.size);
        out.length = text.length;
      }
      break;
    }
    case Pass::kDelete:
      out.deleted = PopDelete(session, 1);
      break;
  }
  PopQuit(session);
  return out;
}

const std::string kNone = "--------";
const std::string kTimeout = pop3_text::kReceiveTimeout;
const std::string kProgress = "%ダウンロード終了";  // preceded by the percentage

// Progress texts depend on how the data arrived: check their form.
void ExpectStatus(const std::string& actual, const std::string& expected) {
  if (expected == kProgress) {
    ASSERT_GT(actual.size(), expected.size());
    EXPECT_EQ(actual.substr(actual.size() - expected.size()), expected);
    EXPECT_GE(actual[0], '0');
    EXPECT_LE(actual[0], '9');
  } else {
    EXPECT_EQ(actual, expected);
  }
}

// The answers to `count` messages' TOP and LIST, each header some 400 bytes
// and the size of message n 1000 + n.
std::string ManyAnswers(int count) {
  std::string all;
  for (int n = 1; n <= count; ++n) {
    all += "+OK\r\nSubject: message " + std::to_string(n) + "\r\nX-Pad: " + std::string(360, 'p') +
           "\r\n\r\n.\r\n+OK " + std::to_string(n) + " " + std::to_string(1000 + n) + "\r\n";
  }
  return all;
}

std::vector<Scenario> Scenarios() {
  const std::string big_status = "+OK message follows\r\n";
  std::vector<int> many_sizes;
  for (int n = 1; n <= 300; ++n) many_sizes.push_back(1000 + n);
  return {
      {"greeting split before three bytes", {Send("+O"), Sleep(300), Send("K ready\r\n")}, Pass::kConnect, 2,
       pop3_text::kGreetingRefused, "MailErrP", [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"lower-case +ok everywhere",
       {Send("+ok hi\r\n"), Expect("USER"), Send("+ok\r\n"), Expect("PASS"), Send("+ok\r\n"), Expect("STAT"),
        Send("+ok 1 99\r\n"), Expect("TOP"), Send("+ok\r\n" + Header() + ".\r\n"), Expect("LIST"),
        Send("+ok 1 99\r\n")},
       Pass::kCheck, 2, "", kNone, [](const Outcome& o) { EXPECT_EQ(o.count, 1); EXPECT_EQ(o.size, 99); }},
      {"silent greeting, TimeOut 1", {Sleep(3000)}, Pass::kConnect, 1, kTimeout, "MailErrT",
       [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"silent greeting, TimeOut 0", {Sleep(3000)}, Pass::kConnect, 0, kTimeout, "MailErrT",
       [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"greeting 300 ms late, TimeOut 0", {Sleep(300), Send("+OK\r\n")}, Pass::kConnect, 0, kTimeout, "MailErrT",
       [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"silence after STAT", LogIn({Expect("STAT"), Sleep(4000)}), Pass::kCheck, 1, kTimeout, "MailErrT",
       [](const Outcome& o) { EXPECT_EQ(o.count, -1); }},
      {"connection closed in the middle of RETR",
       LogIn({Expect("LIST"), Send("+OK 1 5000\r\n"), Expect("RETR"), Send(big_status + std::string(2000, 'r')),
              Sleep(100), CloseConnection()}),
       Pass::kDownload, 2, pop3_text::kReceiveFailed, "MailErr1",
       [](const Outcome& o) { EXPECT_FALSE(o.retrieved); }},
      {"TOP states more than it sends, then ends",
       LogIn({Expect("STAT"), Send("+OK 1 50\r\n"), Expect("TOP"), Send("+OK 50000\r\n" + Header() + ".\r\n"),
              Expect("LIST"), Send("+OK 1 50\r\n")}),
       Pass::kCheck, 2, "", kNone,
       [](const Outcome& o) { EXPECT_EQ(o.size, 50); EXPECT_EQ(o.header, "+OK 50000\r\n" + Header() + ".\r\n"); }},
      {"TOP states more than it sends, no end line",
       LogIn({Expect("STAT"), Send("+OK 1 50\r\n"), Expect("TOP"), Send("+OK 50000\r\n" + Header()), Sleep(4000)}),
       Pass::kCheck, 1, kTimeout, "MailErrT", [](const Outcome& o) { EXPECT_EQ(o.size, -1); EXPECT_EQ(o.header, ""); }},
      {"LIST 5,000,000, partial download chosen",
       LogIn({Expect("LIST"), Send("+OK 1 5000000\r\n"), Expect("RETR"), Send(big_status),
              Flood(200000, "abcdefgh\r\n")}),
       Pass::kDownload, 2, kProgress, kNone,
       [big_status](const Outcome& o) {
         EXPECT_EQ(o.size, 65536);
         EXPECT_GT(o.length, 65536 + big_status.size());
         EXPECT_LE(o.length, 65536 + big_status.size() + 16);
       },
       "127.0.0.1", true},
      {"LIST 5,000,000, whole download chosen",
       LogIn({Expect("LIST"), Send("+OK 1 5000000\r\n"), Expect("RETR"), Send(big_status),
              Flood(1200000, "abcdefgh\r\n")}),
       Pass::kDownload, 2, kProgress, kNone,
       [big_status](const Outcome& o) {
         EXPECT_EQ(o.size, 1048576);
         EXPECT_GT(o.length, 1048576u);
         EXPECT_LE(o.length, 1048576 + big_status.size() + 16);
       }},
      {"LIST exactly LimitMailSize",
       LogIn({Expect("LIST"), Send("+OK 1 65536\r\n"), Expect("RETR"), Send("+OK\r\n"),
              Send(std::string(65534, 'm') + "\r\n.\r\n")}),
       Pass::kDownload, 2, kProgress, kNone,
       [](const Outcome& o) { EXPECT_EQ(o.size, 65536); EXPECT_EQ(o.length, 5u + 65536u + 3u); }},
      {"LIST size negative", LogIn({Expect("LIST"), Send("+OK 1 -5\r\n")}), Pass::kDownload, 2, "+OK 1 -5\r\n",
       "MailErrE", [](const Outcome& o) { EXPECT_EQ(o.size, 0); EXPECT_FALSE(o.retrieved); }},
      {"LIST size not a number", LogIn({Expect("LIST"), Send("+OK 1 many\r\n")}), Pass::kDownload, 2,
       "+OK 1 many\r\n", "MailErrE", [](const Outcome& o) { EXPECT_EQ(o.size, 0); }},
      {"answers without CR LF",
       {Send("+OK hi"), Expect("USER"), Send("+OK"), Expect("PASS"), Send("+OK"), Expect("STAT"), Send("+OK 7 700")},
       Pass::kStat, 2, "", kNone, [](const Outcome& o) { EXPECT_EQ(o.count, 7); }},
      {"garbage greeting", {Send("\x01\xff\x80garbage\r\n")}, Pass::kConnect, 2, pop3_text::kGreetingRefused,
       "MailErrP", [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"garbage STAT answer", LogIn({Expect("STAT"), Send("\xfe\xfd noise\r\n")}), Pass::kCheck, 2,
       "\xfe\xfd noise\r\n", "MailErrE", [](const Outcome& o) { EXPECT_EQ(o.count, -1); }},
      {"10 MiB flood as TOP answer",
       LogIn({Expect("STAT"), Send("+OK 1 10\r\n"), Expect("TOP"), Send("+OK\r\n"), Flood(10 << 20, "flood ")}),
       Pass::kCheck, 2, pop3_text::kReceiveFailed, "MailErr1",
       [](const Outcome& o) { EXPECT_EQ(o.size, -1); EXPECT_EQ(o.header, ""); }},
      {"10 MiB flood as RETR answer",
       LogIn({Expect("LIST"), Send("+OK 1 1000\r\n"), Expect("RETR"), Send("+OK\r\n"), Flood(10 << 20, "flood ")}),
       Pass::kDownload, 2, pop3_text::kReceiveFailed, "MailErr1",
       [](const Outcome& o) { EXPECT_FALSE(o.retrieved); EXPECT_EQ(o.length, o.capacity - 1); }},
      {"10 MiB flood as greeting", {Flood(10 << 20, "+OK flood ")}, Pass::kConnect, 2, pop3_text::kUserRefused,
       "MailErrU", [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"greeting dripped a byte per 100 ms", {Drip("+OK ready\r\n", 100)}, Pass::kConnect, 2,
       pop3_text::kGreetingRefused, "MailErrP", [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"TOP answer dripped a byte per 100 ms",
       LogIn({Expect("STAT"), Send("+OK 1 10\r\n"), Expect("TOP"), Send("+OK\r\n"),
              Drip("Subject: drip drip dr\r\n\r\n.\r\n", 100), Expect("LIST"), Send("+OK 1 10\r\n")}),
       Pass::kCheck, 3, "", kNone,
       [](const Outcome& o) { EXPECT_EQ(o.size, 10); EXPECT_EQ(o.header, "+OK\r\nSubject: drip drip dr\r\n\r\n.\r\n"); }},
      {"USER refused", {Send("+OK\r\n"), Expect("USER"), Send("-ERR unknown\r\n")}, Pass::kConnect, 2,
       pop3_text::kUserRefused, "MailErrU", [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"PASS refused",
       {Send("+OK\r\n"), Expect("USER"), Send("+OK\r\n"), Expect("PASS"), Send("-ERR [AUTH] failed\r\n")},
       Pass::kConnect, 2, pop3_text::kPassRefused, "MailErrU", [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"unresolvable server name", {}, Pass::kConnect, 2, "no-such-host.invalidが見つかりません", "MailErrH",
       [](const Outcome& o) { EXPECT_FALSE(o.connected); }, "no-such-host.invalid"},
      {"nothing listening", {}, Pass::kConnect, 2, pop3_text::kConnectFailed, "MailErrC",
       [](const Outcome& o) { EXPECT_FALSE(o.connected); }, "127.0.0.1", false, true},
      {"closed right after the greeting", {Send("+OK\r\n"), CloseConnection()}, Pass::kConnect, 2,
       pop3_text::kUserRefused, "MailErrU", [](const Outcome& o) { EXPECT_FALSE(o.connected); }},
      {"connection closed in the middle of TOP",
       LogIn({Expect("STAT"), Send("+OK 1 10\r\n"), Expect("TOP"), Send("+OK\r\n" + Header()), CloseConnection()}),
       Pass::kCheck, 2, pop3_text::kReceiveFailed, "MailErr1",
       [](const Outcome& o) { EXPECT_EQ(o.size, -1); EXPECT_EQ(o.header, ""); }},
      {"RETR refused", LogIn({Expect("LIST"), Send("+OK 1 10\r\n"), Expect("RETR"), Send("-ERR gone\r\n")}),
       Pass::kDownload, 2, "-ERR gone\r\n", "MailErrE", [](const Outcome& o) { EXPECT_FALSE(o.retrieved); }},
      {"DELE refused", LogIn({Expect("DELE"), Send("-ERR locked\r\n")}), Pass::kDelete, 2, "-ERR locked\r\n",
       "MailErrE", [](const Outcome& o) { EXPECT_FALSE(o.deleted); }},
      {"huge STAT count", LogIn({Expect("STAT"), Send("+OK 99999999999 1\r\n"), Expect("TOP"), Send("-ERR no\r\n")}),
       Pass::kCheck, 2, "-ERR no\r\n", "MailErrE", [](const Outcome& o) { EXPECT_EQ(o.count, 2147483647); }},
      {"three messages' commands read before the first answer, all answers in one send",
       LogIn({Expect("STAT"), Send("+OK 3 60\r\n"), Expect("TOP"), Expect("LIST"), Expect("TOP"), Expect("LIST"),
              Expect("TOP"), Expect("LIST"),
              Send("+OK\r\n" + Header() + ".\r\n+OK 1 10\r\n+OK\r\nSubject: two\r\nFrom: b@example.jp\r\n\r\n.\r\n"
                   "+OK 2 20\r\n+OK\r\n" + Header() + ".\r\n+OK 3 30\r\n")}),
       Pass::kCheck, 2, "", kNone,
       [](const Outcome& o) {
         EXPECT_EQ(o.sizes, (std::vector<int>{10, 20, 30}));
         EXPECT_EQ(o.header, "+OK\r\n" + Header() + ".\r\n");
       },
       "127.0.0.1", false, false, 3, true},
      // 125 KB of answers: they cross the pipeline's refill and more than one full receive.
      {"300 messages' answers in one send",
       LogIn({Expect("STAT"), Send("+OK 300 300000\r\n"), Expect("TOP"), Send(ManyAnswers(300)), Sleep(500)}),
       Pass::kCheck, 2, "", kNone, [many_sizes](const Outcome& o) { EXPECT_EQ(o.sizes, many_sizes); },
       "127.0.0.1", false, false, 300, true},
      {"second TOP refused after the first message's answers",
       LogIn({Expect("STAT"), Send("+OK 2 20\r\n"), Expect("TOP"), Expect("LIST"), Expect("TOP"), Expect("LIST"),
              Send("+OK\r\n" + Header() + ".\r\n+OK 1 10\r\n-ERR no such message\r\n-ERR no such message\r\n")}),
       Pass::kCheck, 2, "-ERR no such message\r\n", "MailErrE",
       [](const Outcome& o) { EXPECT_EQ(o.sizes, (std::vector<int>{10, -1})); }, "127.0.0.1", false, false, 2, true},
      {"empty header block", LogIn({Expect("STAT"), Send("+OK 1 5\r\n"), Expect("TOP"), Send("+OK\r\n.\r\n"),
                                    Sleep(300)}),
       Pass::kCheck, 2, "", kNone, [](const Outcome& o) { EXPECT_EQ(o.size, -1); EXPECT_EQ(o.header, ""); }},
      {"CAPA unanswered", LogIn({Expect("STAT"), Send("+OK 1 5\r\n"), Expect("CAPA"), Sleep(3000)}), Pass::kCheck, 1,
       kTimeout, "MailErrT", [](const Outcome& o) { EXPECT_EQ(o.size, -1); EXPECT_EQ(o.header, ""); }},
      {"CAPA answered by a flood", LogIn({Expect("STAT"), Send("+OK 1 5\r\n"), Expect("CAPA"), Send("+OK\r\n"),
                                          Flood(1 << 20, "PIPELINING\r\n")}),
       Pass::kCheck, 2, pop3_text::kReceiveFailed, "MailErr1", [](const Outcome& o) { EXPECT_EQ(o.size, -1); }},
  };
}

TEST(Pop3Hostile, EveryScenarioEndsCleanlyAndOnTime) {
  std::vector<std::pair<Scenario, CapaMode>> runs;
  for (const Scenario& sc : Scenarios()) {
    if (sc.pass != Pass::kCheck) {
      runs.emplace_back(sc, CapaMode::kRefused);
      continue;
    }
    for (CapaMode mode : {CapaMode::kRefused, CapaMode::kNoPipelining, CapaMode::kPipelined}) {
      if (sc.pipelined_only && mode != CapaMode::kPipelined) continue;
      runs.emplace_back(sc, mode);
      runs.back().first.server = WithCapa(sc.server, mode);
    }
  }
  for (const auto& [sc, mode] : runs) {
    SCOPED_TRACE(::testing::Message() << sc.name << " (CAPA mode " << static_cast<int>(mode) << ")");
    FakePopServer server(sc.server);
    const std::uint16_t port = sc.nothing_listening ? FakePopServer::UnusedPort() : server.Port();
    RecordingHost host;
    const double start = MonotonicSeconds();
    const Outcome out = RunPass(sc, host, port);
    const double elapsed = MonotonicSeconds() - start;
    EXPECT_LE(elapsed, sc.timeout + 1.0);
    ExpectStatus(host.LastStatus(), sc.status);
    EXPECT_EQ(host.status_word, sc.code);
    EXPECT_LE(out.header.size(), static_cast<std::size_t>(kPopMaxMessageSize) + 8192);
    if (out.capacity > 0) {
      EXPECT_LT(out.length, out.capacity);
    }
    EXPECT_TRUE(server.Mismatches().empty()) << ::testing::PrintToString(server.Mismatches());
    if (sc.pass == Pass::kCheck && out.count > 0 && !HasOwnCapa(sc.server)) {
      EXPECT_EQ(out.mode, mode == CapaMode::kPipelined ? PopHeaderMode::kPipelined : PopHeaderMode::kSequential);
    }
    sc.verify(out);
  }
}

// After a refused log-in nothing more is said: no QUIT on a failed connection.
TEST(Pop3Hostile, RefusedLogInSendsNoQuit) {
  FakePopServer server({Send("+OK\r\n"), Expect("USER"), Send("+OK\r\n"), Expect("PASS"), Send("-ERR\r\n"),
                        Sleep(300)});
  RecordingHost host;
  Scenario sc{"", {}, Pass::kConnect, 2, "", "", nullptr};
  RunPass(sc, host, server.Port());
  server.WaitUntilDone();  // the server records until the client closes
  const auto commands = server.Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[1], "PASS secret");
}

}  // namespace
}  // namespace vsmr
