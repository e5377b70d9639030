// The checks against fixed mailboxes: the order of what a check does, the
// new-mail rule against the stored key and count, when the window, the sound
// and the new-mail event come, where a run stops, and the mail launcher.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

#include "settings/mail_check_result.h"
#include "mail/jobs/mail_job.h"
#include "command/recording_fakes.h"
#include "mail/jobs/mail_notify.h"
#include "mail/jobs/mail_fakes.h"

namespace vsmr {
namespace {

using testing::EventHost;
using testing::FakeMessage;
using testing::FakeServer;
using Events = std::vector<std::string>;

std::vector<FakeMessage> Mailbox(int count, const std::string& first_id = "<m1@x>") {
  std::vector<FakeMessage> box;
  for (int i = 1; i <= count; ++i) {
    box.push_back({i == 1 ? first_id : "<m" + std::to_string(i) + "@x>", "s" + std::to_string(i)});
  }
  return box;
}

// Settings with accounts at `slots`, each stored as (count, key).
MailJobSettings Settings(std::vector<std::pair<int, PreviousMailState>> entries) {
  MailJobSettings s;
  for (auto& [slot, state] : entries) {
    s.accounts[slot].enabled = 1;
    s.accounts[slot].user_name.Set("user" + std::to_string(slot));
    s.accounts[slot].sound_file.Set("ring" + std::to_string(slot) + ".wav");
    state.account = slot;
    s.check_list.entries[s.check_list.count++] = state;
  }
  s.show_mail_dialog = true;
  return s;
}

PreviousMailState Stored(int count, const char* key) {
  PreviousMailState p;
  p.message_count = count;
  p.key_text.Set(key);
  return p;
}

TEST(MailCheck, ManualCheckOfOneAccountInOrder) {
  MailJobSettings settings = Settings({{0, Stored(2, "<m1@x>")}});
  FakeServer server;
  server.boxes[0] = Mailbox(2);
  EventHost host;
  RunMailJob({kMailJobManualCheck}, settings, host, server);
  EXPECT_EQ(host.events, (Events{"status 新着メールをチェック中", "clear", "row 0 s1 image 3",
                                 "row 0 s2 image 3", "show", "store 0 2 <m1@x>", "count",
                                 "ended"}));
  EXPECT_EQ(server.calls, (Events{"connect 0", "quit 0"}));
}

struct RuleCase {
  const char* name;
  int kind;
  int stored_count;
  const char* stored_key;
  int count;
  const char* first_id;
  std::vector<int> images;  // per row
  Events notices;           // sound, show, run and store events, in order
};

TEST(MailCheck, NewMailRuleAgainstStoredKeyAndCount) {
  const RuleCase cases[] = {
      {"two more behind the same first message", kMailJobAutoCheck, 5, "<m1@x>", 7, "<m1@x>",
       {3, 3, 3, 3, 3, 1, 1},
       {"sound ring0.wav", "show", "run -1 _onnewmail1 2 \"s@example.jp\" \"Sender \"",
        "store 0 7 <m1@x>"}},
      {"first message gone, fewer than stored", kMailJobAutoCheck, 5, "<old@x>", 3, "<m1@x>",
       {1, 1, 1},
       {"sound ring0.wav", "show", "run -1 _onnewmail1 3 \"s@example.jp\" \"Sender \"",
        "store 0 3 <m1@x>"}},
      {"nothing stored yet: all new", kMailJobManualCheck, 0, "", 2, "<m1@x>", {1, 1},
       {"sound ring0.wav", "show", "run -1 _onnewmail1 2 \"s@example.jp\" \"Sender \"",
        "store 0 2 <m1@x>"}},
      {"automatic, nothing new: silent, nothing stored", kMailJobAutoCheck, 2, "<m1@x>", 2,
       "<m1@x>", {3, 3}, {}},
      {"manual, nothing new: shown and stored, no sound", kMailJobManualCheck, 2, "<m1@x>", 2,
       "<m1@x>", {3, 3}, {"show", "store 0 2 <m1@x>"}},
      {"key compared exactly", kMailJobAutoCheck, 1, "<M1@x>", 1, "<m1@x>", {1},
       {"sound ring0.wav", "show", "run -1 _onnewmail1 1 \"s@example.jp\" \"Sender \"",
        "store 0 1 <m1@x>"}},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.name);
    MailJobSettings settings = Settings({{0, Stored(c.stored_count, c.stored_key)}});
    FakeServer server;
    server.boxes[0] = Mailbox(c.count, c.first_id);
    EventHost host;
    RunMailJob({c.kind}, settings, host, server);
    Events rows = host.Only("row");
    ASSERT_EQ(rows.size(), c.images.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].substr(rows[i].rfind(' ') + 1), std::to_string(c.images[i])) << i;
    }
    Events notices;
    for (const std::string& e : host.events) {
      if (e.starts_with("sound") || e.starts_with("show") || e.starts_with("run") ||
          e.starts_with("store")) {
        notices.push_back(e);
      }
    }
    EXPECT_EQ(notices, c.notices);
  }
}

TEST(MailCheck, AutomaticCheckShowsNewMailOnlyWhenSoConfigured) {
  MailJobSettings settings = Settings({{0, Stored(0, "")}});
  settings.show_mail_dialog = false;
  FakeServer server;
  server.boxes[0] = Mailbox(1);
  EventHost host;
  RunMailJob({kMailJobAutoCheck}, settings, host, server);
  EXPECT_TRUE(host.Only("show").empty());
  EXPECT_EQ(host.Only("sound").size(), 1u);
}

TEST(MailCheck, MultipartImagesFollowTheNewFlag) {
  MailJobSettings settings = Settings({{0, Stored(1, "<m1@x>")}});
  FakeServer server;
  server.boxes[0] = Mailbox(2);
  for (FakeMessage& m : server.boxes[0]) m.multipart = true;
  EventHost host;
  RunMailJob({kMailJobManualCheck}, settings, host, server);
  EXPECT_EQ(host.Only("row"), (Events{"row 0 s1 image 0", "row 0 s2 image 2"}));
}

TEST(MailCheck, TwoAccountsOnlyTheSecondWithNewMail) {
  MailJobSettings settings = Settings({{1, Stored(1, "<m1@x>")}, {3, Stored(1, "<m1@x>")}});
  FakeServer server;
  server.boxes[1] = Mailbox(1);
  server.boxes[3] = Mailbox(2);
  server.boxes[3][1].from = "\"Ta \"ro\" <taro@example.jp>";
  EventHost host;
  RunMailJob({kMailJobAutoCheck}, settings, host, server);
  EXPECT_EQ(host.Only("sound"), (Events{"sound ring3.wav"}));
  EXPECT_EQ(host.Only("run"),
            (Events{"run -1 _onnewmail4 1 \"taro@example.jp\" \"\"Ta \"ro\" \""}));
  EXPECT_EQ(host.Only("store"), (Events{"store 3 2 <m1@x>"}));
  EXPECT_EQ(host.Only("row"), (Events{"row 1 s1 image 3", "row 3 s1 image 3", "row 3 s2 image 1"}));
  EXPECT_EQ(server.calls, (Events{"connect 1", "quit 1", "connect 3", "quit 3"}));
}

TEST(MailCheck, LogInFailureOnTheFirstAccountEndsTheRun) {
  MailJobSettings settings = Settings({{0, Stored(0, "")}, {1, Stored(0, "")}});
  FakeServer server;
  server.refuses_login[0] = true;
  server.boxes[1] = Mailbox(3);
  EventHost host;
  RunMailJob({kMailJobAutoCheck}, settings, host, server);
  EXPECT_EQ(host.events, (Events{"status 新着メールをチェック中", "clear", "show", "ended"}));
  EXPECT_EQ(server.calls, (Events{"connect 0"}));
}

TEST(MailCheck, EmptyMailboxIsCompleteAndTheNextAccountIsChecked) {
  MailJobSettings settings = Settings({{0, Stored(3, "<a@x>")}, {1, Stored(0, "")}});
  FakeServer server;
  server.boxes[1] = Mailbox(1);
  EventHost host;
  RunMailJob({kMailJobAutoCheck}, settings, host, server);
  EXPECT_EQ(host.Only("store"), (Events{"store 1 1 <m1@x>"}));
  EXPECT_EQ(host.events.end()[-2], "count");
}

TEST(MailCheck, ClosedWindowFinishesTheAccountAndChecksNoMore) {
  MailJobSettings settings = Settings({{0, Stored(0, "")}, {1, Stored(0, "")}});
  FakeServer server;
  server.boxes[0] = Mailbox(4);
  server.boxes[1] = Mailbox(1);
  EventHost host;
  host.rows_before_close = 2;
  RunMailJob({kMailJobManualCheck}, settings, host, server);
  EXPECT_EQ(host.Only("row").size(), 2u);
  // The two messages seen are announced and stored; the second account is never reached.
  EXPECT_EQ(host.Only("run"), (Events{"run -1 _onnewmail1 4 \"s@example.jp\" \"Sender \""}));
  EXPECT_EQ(host.Only("store"), (Events{"store 0 4 <m1@x>"}));
  EXPECT_EQ(server.calls, (Events{"connect 0", "quit 0"}));
}

TEST(MailCheck, UnknownKindsEndAtOnce) {
  MailJobSettings settings = Settings({{0, Stored(0, "")}});
  FakeServer server;
  EventHost idle;
  RunMailJob({2}, settings, idle, server);  // no such kind
  EXPECT_EQ(idle.events, Events{"ended"});
  EXPECT_TRUE(server.calls.empty());
}

struct LauncherCase {
  const char* name;
  int kind;
  const char* word;
  std::vector<std::string> subjects;  // messages 2, 3, ... (message 1 is old)
  Events runs_after_hook;
};

TEST(MailCheck, MailLauncherCollectsFromNewSubjectsAndRunsAfterAnAutomaticCheck) {
  const LauncherCase cases[] = {
      {"two new commands", kMailJobAutoCheck, "vsmrx", {"vsmrx notepad", "vsmrx calc a b"},
       {"run -2 notepad & calc a b & "}},
      {"never after a manual check", kMailJobManualCheck, "vsmrx", {"vsmrx notepad"}, {}},
      {"a word of four characters collects nothing", kMailJobAutoCheck, "vsmr", {"vsmr notepad"},
       {}},
      {"other letter case or no blank", kMailJobAutoCheck, "vsmrx", {"VSMRX notepad", "vsmrxnote"},
       {}},
  };
  for (const LauncherCase& c : cases) {
    SCOPED_TRACE(c.name);
    MailJobSettings settings = Settings({{0, Stored(1, "<m1@x>")}});
    settings.mail_launcher_enabled = true;
    settings.mail_launcher_word.Set(c.word);
    FakeServer server;
    server.boxes[0] = Mailbox(1);
    server.boxes[0][0].subject = std::string(c.word) + " old";  // message 1: not new
    for (const std::string& s : c.subjects) server.boxes[0].push_back({"<n" + s + ">", s});
    EventHost host;
    RunMailJob({c.kind}, settings, host, server);
    Events runs = host.Only("run");
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(Events(runs.begin() + 1, runs.end()), c.runs_after_hook);
    if (!c.runs_after_hook.empty()) {
      // The messages are remembered before their commands run, and the run is the last thing.
      EXPECT_EQ(host.events.end()[-3], "remember " + std::to_string(c.subjects.size()));
      EXPECT_EQ(host.events.end()[-2], c.runs_after_hook.back());
    }
  }
}

TEST(MailLauncherLine, OffOrFullDropsEntries) {
  MailLauncherLine off(false, "vsmrx");
  off.Consider("vsmrx notepad", true, 1);
  EXPECT_EQ(off.Text(), "");

  MailLauncherLine line(true, "vsmrx");
  const std::string command(1000, 'c');  // each entry: 1,003 bytes with " & "
  for (int i = 0; i < 4; ++i) line.Consider("vsmrx " + command, true, 10 + i);
  EXPECT_EQ(line.Text().size(), 3009u);  // the fourth did not fit
  line.Consider("vsmrx " + std::string(59, 'd'), true, 20);  // 62 bytes: exactly to 3,071
  EXPECT_EQ(line.Text().size(), 3071u);
  line.Consider("vsmrx e", true, 21);
  EXPECT_EQ(line.Text().size(), 3071u);
}

// Whatever the sender writes, the event command receives the count, the
// address and the name as its three arguments, byte for byte, and nothing else
// runs: neither in the line itself nor after a body has placed them.
TEST(NewMailHookLine, SenderTextStaysTheEventsArguments) {
  struct Sender {
    const char* from;
    const char* address;
    const char* name;
  };
  const Sender senders[] = {
      {"Taro <taro@example.jp>", "taro@example.jp", "Taro "},
      {"taro@example.jp", "taro@example.jp", "taro@example.jp"},
      {"<a@b> x <c@d", "c@d", "<a@b> x "},
      {"x & injected NOW & y <evil1@example.net>", "evil1@example.net", "x & injected NOW & y "},
      {"a & #2001 q 1 <b & c@d>", "b & c@d", "a & #2001 q 1 "},
      {"say \"hi\" \" & run <h@i>", "h@i", "say \"hi\" \" & run "},
      {"tail\\<t\\@x\\>", "t\\@x\\", "tail\\"},
      {"lead \x93<j@p>", "j@p", "lead \x93"},
      {"\x95\x5c\\\\\" <a@b>", "a@b", "\x95\x5c\\\\\" "},
      {"#secret %02 %** //c <s@x>", "s@x", "#secret %02 %** //c "},
      {" <>", "", " "},
  };
  struct Body {
    const char* what;
    const char* body;
    std::vector<std::string> (*expected)(const Sender&);
  };
  const Body bodies[] = {
      {"arguments appended in quotes", "hook",
       [](const Sender& s) { return std::vector<std::string>{"3", s.address, s.name}; }},
      {"placeholders", "hook %03 \"%02\" %01 & after",
       [](const Sender& s) { return std::vector<std::string>{s.name, s.address, "3"}; }},
      {"the rest of the line", "hook %** & after",
       [](const Sender& s) { return std::vector<std::string>{"3", s.address, s.name}; }},
  };
  for (const Body& body : bodies) {
    for (const Sender& sender : senders) {
      SCOPED_TRACE(std::string(body.what) + ": " + sender.from);
      auto h = std::make_unique<test::Harness>();
      test::AddCommand(h->commands, "_onnewmail2", body.body);
      test::AddCommand(h->commands, "hook", "#7");
      test::AddCommand(h->commands, "secret", "do not hand me out");
      test::AddCommand(h->commands, "injected", "#8");
      RunCommandLine(h->interpreter, nullptr, NewMailHookLine(1, 3, sender.from), -1);
      ASSERT_EQ(h->builtins.calls.size(), 1u);
      EXPECT_EQ(h->builtins.calls[0].number, 7);
      EXPECT_EQ(h->builtins.calls[0].arguments, body.expected(sender));
      const bool after = std::string_view(body.body).ends_with("after");
      EXPECT_EQ(h->shell.calls.size(), after ? 1u : 0u);
      if (after && !h->shell.calls.empty()) {
        EXPECT_EQ(h->shell.calls[0].file, "after");
      }
    }
  }
}

TEST(NewMailHookLine, CutAt1023BytesOnACharacterBoundary) {
  // "_onnewmail1 1 \"" is 15 bytes; a double-byte character would straddle byte 1,023.
  std::string sender = std::string(1007, 'a') + "\x82\xa0" + std::string(600, 'b');
  std::string line = NewMailHookLine(0, 1, sender).text;
  EXPECT_EQ(line.size(), 1022u);
  EXPECT_EQ(line.substr(line.size() - 2), "aa");
  EXPECT_EQ(NewMailHookLine(0, 1, std::string(2000, 'z')).text.size(), 1023u);
}

TEST(NewMailCount, GrowthOrTheWholeCount) {
  EXPECT_EQ(NewMailCount(7, 5), 2);
  EXPECT_EQ(NewMailCount(3, 5), 3);
  EXPECT_EQ(NewMailCount(5, 5), 5);
  EXPECT_EQ(NewMailCount(4, 0), 4);
}

void Rebuild(SettingsState& s) { s.check_list = RebuildMailCheckList(s.accounts, s.check_list); }

// A host whose results go into live settings, as the user-interface thread's do.
class LiveHost : public EventHost {
 public:
  explicit LiveHost(SettingsState& live) : live_(live) {}
  std::function<void()> on_first_row;  // runs once, as the first row is listed
  void AddRow(const MailListRow& row, int account) override {
    EventHost::AddRow(row, account);
    if (on_first_row) std::exchange(on_first_row, nullptr)();
  }
  void StoreState(int account, int count, std::string_view key) override {
    EventHost::StoreState(account, count, key);
    StoreMailCheckResult(live_.check_list, account, count, key);
  }
  void RememberLauncherRuns(std::span<const std::uint64_t> ids) override {
    EventHost::RememberLauncherRuns(ids);
    for (std::uint64_t id : ids) live_.mail_launcher_runs.Remember(id);
  }

 private:
  SettingsState& live_;
};

// The options dialog's OK rebuilds the list while a check runs: accounts 1
// and 3 are checked; 0 and 2 are enabled and 1 disabled (3 moves from index 1
// to 2). The result of account 3 lands on its own entry, that of account 1
// nowhere, and the next check announces only the accounts it sees first.
TEST(MailCheck, ResultsStoredByAccountSurviveARebuildSoTheNextCheckAnnouncesNothing) {
  SettingsState live;
  live.accounts[1].enabled = 1;
  live.accounts[3].enabled = 1;
  Rebuild(live);
  FakeServer server;
  server.boxes[0] = Mailbox(1, "<zero@x>");
  server.boxes[1] = Mailbox(2, "<one@x>");
  server.boxes[2] = Mailbox(1, "<two@x>");
  server.boxes[3] = Mailbox(3, "<three@x>");
  LiveHost first(live);
  first.on_first_row = [&] {
    live.accounts[0].enabled = 1;
    live.accounts[1].enabled = 0;
    live.accounts[2].enabled = 1;
    Rebuild(live);
  };
  RunMailJob({kMailJobAutoCheck}, CopyMailJobSettings(live), first, server);
  EXPECT_EQ(first.Only("store"), (Events{"store 1 2 <one@x>", "store 3 3 <three@x>"}));
  ASSERT_EQ(live.check_list.count, 3);
  EXPECT_EQ(live.check_list.entries[1].message_count, 0);
  EXPECT_EQ(live.check_list.entries[2].account, 3);
  EXPECT_EQ(live.check_list.entries[2].message_count, 3);
  EXPECT_EQ(live.check_list.entries[2].key_text.View(), "<three@x>");

  LiveHost next(live);
  RunMailJob({kMailJobAutoCheck}, CopyMailJobSettings(live), next, server);
  EXPECT_EQ(next.Only("run"), (Events{"run -1 _onnewmail1 1 \"s@example.jp\" \"Sender \"",
                                      "run -1 _onnewmail3 1 \"s@example.jp\" \"Sender \""}));
}

// A message's commands run once: a second copy of it in the mailbox adds
// nothing, and after a start that kept the settings but not the previous
// mail state (every message new again, so announced again) only a message
// never run before contributes.
TEST(MailCheck, MailLauncherRunsEachMessagesCommandsOnceAcrossChecksAndStarts) {
  SettingsState live;
  live.accounts[0].enabled = 1;
  live.mail_launcher_or_not = 1;
  live.mail_launcher_command.Set("vsmrx");
  Rebuild(live);
  FakeServer server;
  server.boxes[0] = {{"<a@x>", "vsmrx restart"}, {"<a@x>", "vsmrx restart"}, {"<b@x>", "hello"}};
  LiveHost first(live);
  RunMailJob({kMailJobAutoCheck}, CopyMailJobSettings(live), first, server);
  EXPECT_EQ(first.Only("run -2"), Events{"run -2 restart & "});
  EXPECT_EQ(first.Only("remember"), Events{"remember 1"});

  auto restarted = std::make_unique<SettingsState>(live);
  restarted->check_list = RebuildMailCheckList(restarted->accounts, MailCheckList{});
  restarted->mail_launcher_runs =
      ParseMailLauncherRuns(MailLauncherRunsText(live.mail_launcher_runs));
  server.boxes[0].push_back({"<c@x>", "vsmrx calc"});
  LiveHost second(*restarted);
  RunMailJob({kMailJobAutoCheck}, CopyMailJobSettings(*restarted), second, server);
  EXPECT_EQ(second.Only("run -1"), Events{"run -1 _onnewmail1 4 \"s@example.jp\" \"Sender \""});
  EXPECT_EQ(second.Only("run -2"), Events{"run -2 calc & "});

  LiveHost manual(*restarted);  // a manual check collects but runs and remembers nothing
  RunMailJob({kMailJobManualCheck}, CopyMailJobSettings(*restarted), manual, server);
  EXPECT_TRUE(manual.Only("run -2").empty());
  EXPECT_TRUE(manual.Only("remember").empty());
}

TEST(CopyMailJobSettings, TakesWhatTheJobReads) {
  SettingsState s;
  s.accounts[2].enabled = 1;
  Rebuild(s);
  s.show_mail_dialog = 1;
  s.mail_launcher_or_not = 1;
  s.mail_launcher_command.Set("vsmrx");
  s.mail_launcher_runs.Remember(0x1234);
  s.time_out = 4;
  s.limit_mail_size = 500;
  MailJobSettings copy = CopyMailJobSettings(s);
  s.check_list.entries[0].account = 4;  // the live list changes after the copy
  EXPECT_EQ(copy.check_list.entries[0].account, 2);
  EXPECT_TRUE(copy.mail_launcher_runs.Contains(0x1234));
  EXPECT_TRUE(copy.show_mail_dialog);
  EXPECT_TRUE(copy.mail_launcher_enabled);
  EXPECT_EQ(copy.mail_launcher_word.View(), "vsmrx");
  EXPECT_EQ(copy.pop.timeout_seconds, 4);
  EXPECT_EQ(copy.pop.limit_mail_size, 500);
}

}  // namespace
}  // namespace vsmr
