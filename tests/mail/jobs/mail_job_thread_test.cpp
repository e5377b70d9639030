// A check on a real worker thread, over real loopback sockets, talking to the
// test's thread only through the hand-off: every window and settings call runs
// on the receiving thread, in the order the check made it, and closing the
// hand-off frees a worker that waits there.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "app/mail_job_hand_off.h"
#include "mail/jobs/mail_fakes.h"
#include "support/fake_pop_server.h"

namespace vsmr {
namespace {

using testing::EventHost;
using testing::FakeMessage;
using Events = std::vector<std::string>;

// The user-interface side: records, and notes any call made off its thread.
class ReceivingHost final : public EventHost {
 public:
  std::thread::id owner = std::this_thread::get_id();
  bool off_thread_call = false;
  MailAccount ReadAccount(int) override {
    Add("read");
    MailAccount a;
    a.server.Set("127.0.0.1");
    a.user_name.Set("u");
    a.password.Set("p");
    return a;
  }

 protected:
  void Add(std::string event) override {
    off_thread_call = off_thread_call || std::this_thread::get_id() != owner;
    EventHost::Add(std::move(event));
  }
};

// Runs the job on a worker thread while this thread takes what it hands over
// (calling `after_each_run` after each look at the queue), until the worker has
// ended and its last posted call has run.
void RunOnWorker(const MailJobRequest& request, const MailJobSettings& settings,
                 ReceivingHost& ui, const std::function<void()>& after_each_run = {}) {
  CallHandOff queue;
  auto stop = std::make_shared<std::atomic<bool>>(false);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    HandedOffMailHost host(queue, [] { return true; }, ui, stop);
    PopMailServer pop(SystemSockets(), host, settings.pop);
    RunMailJob(request, settings, host, pop);
    done = true;
  });
  while (!done) {
    queue.RunQueued();
    if (after_each_run) after_each_run();
    std::this_thread::yield();
  }
  worker.join();
  queue.RunQueued();  // what was posted last
}

// The events with only the first status text: the download's progress texts vary.
Events WithoutProgress(const Events& events) {
  Events seen;
  for (const std::string& e : events) {
    if (!e.starts_with("status") || seen.empty()) seen.push_back(e);
  }
  return seen;
}

std::vector<testing::ServerAction> TwoMessageSession() {
  using namespace testing;
  const std::string h1 = HeaderOf({"<a@x>", "one"});
  const std::string h2 = HeaderOf({"<b@x>", "two", "Hanako <h@example.jp>"});
  return {Send("+OK ready\r\n"), Expect("USER"), Send("+OK\r\n"), Expect("PASS"), Send("+OK\r\n"),
          Expect("STAT"), Send("+OK 2 300\r\n"), Expect("CAPA"), Send("+OK\r\nTOP\r\nPIPELINING\r\n.\r\n"),
          Expect("TOP"), Send("+OK\r\n" + h1 + ".\r\n"),
          Expect("LIST"), Send("+OK 1 120\r\n"), Expect("TOP"), Send("+OK\r\n" + h2 + ".\r\n"),
          Expect("LIST"), Send("+OK 2 180\r\n"), Expect("QUIT"), Send("+OK bye\r\n")};
}

TEST(MailJobThread, CheckOverSocketsReachesTheWindowsOnlyThroughTheHandOff) {
  testing::FakePopServer server(TwoMessageSession());
  MailJobSettings settings;
  settings.accounts[0].enabled = 1;
  settings.accounts[0].user_name.Set("u");
  settings.check_list.count = 1;
  settings.check_list.entries[0].message_count = 1;
  settings.check_list.entries[0].key_text.Set("<a@x>");
  settings.show_mail_dialog = true;
  settings.pop.port = server.Port();
  settings.pop.timeout_seconds = 5;

  ReceivingHost ui;
  RunOnWorker({kMailJobAutoCheck}, settings, ui);
  server.WaitUntilDone();

  EXPECT_FALSE(ui.off_thread_call);
  EXPECT_TRUE(server.Mismatches().empty());
  Events expected = {"status 新着メールをチェック中", "clear", "read", "row 0 one image 3",
                     "row 0 two image 1", "show",
                     "run -1 _onnewmail1 1 \"h@example.jp\" \"Hanako \"", "store 0 2 <a@x>",
                     "count", "ended"};
  const Events seen = WithoutProgress(ui.events);
  EXPECT_EQ(seen, expected);
}

// Rows go over in batches, but never wait for the server: the first row is
// shown while the server still holds back the second message.
TEST(MailJobThread, ARowReachesTheWindowWhileTheWorkerWaitsForTheNextAnswer) {
  using namespace testing;
  constexpr int kServerPauseMs = 1500;
  std::vector<ServerAction> script = TwoMessageSession();
  const auto second_top = std::find_if(script.begin() + 10, script.end(), [](const ServerAction& a) {
    return a.kind == ServerAction::kExpect && a.text == "TOP";
  });
  script.insert(second_top, Sleep(kServerPauseMs));
  FakePopServer server(std::move(script));
  MailJobSettings settings;
  settings.check_list.count = 1;
  settings.pop.port = server.Port();
  settings.pop.timeout_seconds = 5;

  ReceivingHost ui;
  const auto start = std::chrono::steady_clock::now();
  auto first_row_ms = std::chrono::milliseconds::max();
  RunOnWorker({kMailJobManualCheck}, settings, ui, [&] {
    if (ui.rows > 0 && first_row_ms == std::chrono::milliseconds::max()) {
      first_row_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - start);
    }
  });
  server.WaitUntilDone();

  EXPECT_TRUE(server.Mismatches().empty());
  EXPECT_EQ(ui.rows, 2);
  EXPECT_LT(first_row_ms.count(), kServerPauseMs / 2);
}

TEST(MailJobThread, ShowingAMessageOverSocketsPutsItsDecodedTextIntoTheView) {
  using namespace testing;
  const std::string message =
      HeaderOf({"<a@x>", "=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?="}) + "body line\r\n";
  const std::string size = std::to_string(message.size());
  FakePopServer server({Send("+OK ready\r\n"), Expect("USER"), Send("+OK\r\n"), Expect("PASS"),
                        Send("+OK\r\n"), Expect("LIST"), Send("+OK 1 " + size + "\r\n"),
                        Expect("RETR"), Send("+OK " + size + " octets\r\n" + message + ".\r\n"),
                        Expect("QUIT"), Send("+OK bye\r\n")});
  MailJobSettings settings;
  settings.check_list.count = 1;
  settings.pop.port = server.Port();
  settings.pop.timeout_seconds = 5;

  ReceivingHost ui;
  RunOnWorker({kMailJobShowMessage, 5, 0, 1}, settings, ui);
  server.WaitUntilDone();

  EXPECT_FALSE(ui.off_thread_call);
  EXPECT_TRUE(server.Mismatches().empty());
  const Events seen = WithoutProgress(ui.events);
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[0], "status メール内容を取得中");
  EXPECT_EQ(seen[1], "read");
  EXPECT_EQ(seen[2], "clear text");
  EXPECT_NE(seen[3].find("件名  : テスト\r\n"), std::string::npos) << seen[3];
  // The message is shown as it was sent, without the answer's closing "." line.
  EXPECT_TRUE(seen[3].ends_with("\r\n\r\nbody line\r\n")) << seen[3];
  EXPECT_EQ(seen[4], "count");
  EXPECT_EQ(seen[5], "shown 5");
  EXPECT_EQ(seen[6], "ended");
}

TEST(MailJobThread, ClosingTheHandOffFreesAWaitingWorkerAndStopsTheJob) {
  CallHandOff queue;
  ReceivingHost ui;
  auto stop = std::make_shared<std::atomic<bool>>(false);
  HandedOffMailHost host(queue, [] { return true; }, ui, stop);
  std::atomic<int> step{0};
  std::thread worker([&] {
    host.RunLine(MarkedLine::Written("_onnewmail1 1 \"\" \"\""), -1);  // nobody runs the queue
    step = 1;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let it queue and wait
  stop->store(true);
  queue.Close();
  worker.join();
  EXPECT_EQ(step, 1);
  EXPECT_FALSE(host.MailWindowExists());
  EXPECT_EQ(queue.RunQueued(), 0);  // dropped, never run
  EXPECT_TRUE(ui.events.empty());
}

}  // namespace
}  // namespace vsmr
