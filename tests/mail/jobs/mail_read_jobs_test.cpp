// The jobs on one message against fixed mailboxes: showing it decoded or as
// its source (with the failures that end them), and deleting it after the
// question, followed by the check of what remains.
#include <gtest/gtest.h>

#include "mail/jobs/mail_job.h"
#include "mail/jobs/mail_fakes.h"

namespace vsmr {
namespace {

using testing::EventHost;
using testing::FakeMessage;
using testing::FakeServer;
using Events = std::vector<std::string>;

// Check-list entry 0 is account slot 1, entry 1 is slot 3.
MailJobSettings TwoAccounts() {
  MailJobSettings s;
  for (int slot : {1, 3}) {
    s.accounts[slot].enabled = 1;
    s.accounts[slot].user_name.Set("user" + std::to_string(slot));
    s.check_list.entries[s.check_list.count++].account = slot;
  }
  return s;
}

// Message 2's body has lines that the server sends with one more "." in front.
constexpr char kDottedBody[] = "本文です\r\n.\r\n..二つ\r\n.net\r\n";

std::vector<FakeMessage> ThreeMessages() {
  return {{"<a@x>", "one"}, {"<b@x>", "two", "Hanako <h@example.jp>", false, kDottedBody},
          {"<c@x>", "three"}};
}

// Both show the message as it was sent: no terminating line, no added dots.
TEST(MailReadJobs, ShowsTheDecodedMessageOrItsSourceForTheRowsAccount) {
  for (int kind : {kMailJobShowMessage, kMailJobShowSource}) {
    SCOPED_TRACE(kind);
    FakeServer server;
    server.boxes[3] = ThreeMessages();
    EventHost host;
    RunMailJob({kind, 7, 3, 2}, TwoAccounts(), host, server);
    EXPECT_EQ(server.calls, (Events{"connect 3", "list 2", "retr 2", "quit 3"}));
    ASSERT_GE(host.events.size(), 4u);
    EXPECT_EQ(host.events[0], "status メール内容を取得中");
    EXPECT_EQ(host.events[1], "clear text");
    const std::string& text = host.events[2];
    if (kind == kMailJobShowMessage) {
      EXPECT_TRUE(text.starts_with("text 送信者: Hanako <h@example.jp>\r\n")) << text;
      EXPECT_NE(text.find("件名  : two\r\n"), std::string::npos) << text;
      EXPECT_TRUE(text.ends_with("\r\n\r\n" + std::string(kDottedBody))) << text;
      EXPECT_EQ(host.events.size(), 6u);
      EXPECT_EQ(host.events[4], "shown 7");  // the window catches up once the job is over
    } else {
      EXPECT_EQ(text, "text " + testing::HeaderOf(ThreeMessages()[1]) + kDottedBody);
      EXPECT_EQ(host.events.size(), 5u);
    }
    EXPECT_EQ(host.events.back(), "ended");
    EXPECT_EQ(host.events[3], "count");
  }
}

TEST(MailReadJobs, ShowingEndsQuietlyWhereTheServerFails) {
  struct Case {
    const char* name;
    int account, number;
    bool refuses_login, refuses_retrieve;
    Events events, calls;
  } cases[] = {
      {"log-in refused", 1, 1, true, false, {"status メール内容を取得中", "shown 4", "ended"},
       {"connect 1"}},
      {"no such message", 1, 9, false, false, {"status メール内容を取得中", "shown 4", "ended"},
       {"connect 1", "list 9", "quit 1"}},
      {"RETR refused", 1, 1, false, true,
       {"status メール内容を取得中", "clear text", "shown 4", "ended"},
       {"connect 1", "list 1", "retr 1", "quit 1"}},
      {"an account disabled since the row was listed", 2, 1, false, false,
       {"status メール内容を取得中", "shown 4", "ended"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeServer server;
    server.boxes[1] = ThreeMessages();
    server.refuses_login[1] = c.refuses_login;
    server.refuses_retrieve = c.refuses_retrieve;
    EventHost host;
    RunMailJob({kMailJobShowMessage, 4, c.account, c.number}, TwoAccounts(), host, server);
    EXPECT_EQ(host.events, c.events);
    EXPECT_EQ(server.calls, c.calls);
  }
}

TEST(MailReadJobs, DeleteDeletesTheMessageAskedAboutOrNothingThenTheCheckListsWhatRemains) {
  const std::string question =
      "ask 削除 「Hanako <h@example.jp>」さんからのメール\n「two」\nを削除しようとしています。\n"
      "一度削除すると、\"一生\"、元に戻せません。\n実行しますか？";
  const Events asked_and_dele = {"connect 1", "uidl 2", "quit 1", "connect 1", "uidl 2", "dele 2",
                                 "quit 1", "connect 1", "quit 1", "connect 3", "quit 3"};
  const Events asked_no_dele = {"connect 1", "uidl 2", "quit 1", "connect 1", "uidl 2", "quit 1",
                                "connect 1", "quit 1", "connect 3", "quit 3"};
  const std::vector<std::string> all = {"row 1 one image 3", "row 1 two image 3", "row 1 three image 3"};
  struct Case {
    const char* name;
    const char* listed_id;     // the Message-ID the row was listed with
    bool offers_uidl;
    bool first_goes_meanwhile; // another client deletes message 1 while the question is up
    bool answer, refuses_delete;
    Events calls;
    bool asked, told, changed;
    std::vector<std::string> rows;
  } cases[] = {
      {"yes", "<b@x>", true, false, true, false, asked_and_dele, true, true, false,
       {"row 1 one image 3", "row 1 three image 3"}},
      {"no", "<b@x>", true, false, false, false,
       {"connect 1", "uidl 2", "quit 1", "connect 1", "quit 1", "connect 3", "quit 3"}, true, false, false, all},
      {"DELE refused", "<b@x>", true, false, true, true, asked_and_dele, true, false, false, all},
      {"message 1 deleted meanwhile, by UIDL", "<b@x>", true, true, true, false, asked_no_dele, true,
       false, true, {"row 1 two image 1", "row 1 three image 1"}},
      {"message 1 deleted meanwhile, by Message-ID and size", "<b@x>", false, true, true, false,
       asked_no_dele, true, false, true, {"row 1 two image 1", "row 1 three image 1"}},
      {"the row's message moved before the question", "<z@x>", true, false, true, false,
       {"connect 1", "uidl 2", "quit 1", "connect 1", "quit 1", "connect 3", "quit 3"}, false, false, true,
       all},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeServer server;
    server.boxes[1] = ThreeMessages();
    server.refuses_delete = c.refuses_delete;
    server.offers_uidl = c.offers_uidl;
    EventHost host;
    host.delete_answer = c.answer;
    if (c.first_goes_meanwhile) host.while_asked = [&] { server.boxes[1].erase(server.boxes[1].begin()); };
    MailJobSettings settings = TwoAccounts();
    for (int i = 0; i < 2; ++i) settings.check_list.entries[i].message_count = 3;
    for (auto& e : settings.check_list.entries) e.key_text.Set("<a@x>");
    MailJobRequest request{kMailJobDelete, 0, 1, 2, {2, c.listed_id, 1002}};
    RunMailJob(request, settings, host, server);
    EXPECT_EQ(server.calls, c.calls);
    EXPECT_EQ(host.Only("ask"), c.asked ? Events{question} : Events{});
    EXPECT_EQ(host.Only("tell"), c.told ? Events{"tell 削除 削除しました"} : Events{});
    EXPECT_EQ(host.Only("row"), c.rows);
    Events statuses{"status 新着メールをチェック中"};
    if (c.changed) statuses.push_back("status メールボックスが変わったため削除中止");
    EXPECT_EQ(host.Only("status"), statuses);
  }
}

}  // namespace
}  // namespace vsmr
