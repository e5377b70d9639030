// The hand-off queue with real threads: every line runs once on the receiving
// thread and its result reaches its own sender; time limits, closing, failed
// wakes and nested runs never leave a sender waiting or a line running twice.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "command/line_hand_off.h"

namespace vsmr {
namespace {

using Outcome = LineHandOff::Outcome;

constexpr unsigned kLongWaitMs = 60000;  // never reached when the code is right

TEST(LineHandOff, LinesFromManyThreadsRunOnceOnTheReceiverWithTheirOwnResults) {
  constexpr int kSenders = 4, kLines = 50;
  LineHandOff queue;
  std::atomic<int> pending{kSenders};
  const std::thread::id receiver_id = std::this_thread::get_id();
  std::vector<std::string> ran;  // touched by the receiving thread only
  std::vector<std::vector<LineHandOff::Result>> got(kSenders);
  std::vector<std::thread> senders;
  for (int s = 0; s < kSenders; ++s) {
    senders.emplace_back([&, s] {
      for (int k = 0; k < kLines; ++k) {
        got[s].push_back(queue.Send(std::to_string(s) + ":" + std::to_string(k), -s, kLongWaitMs,
                                    [] { return true; }));
      }
      --pending;
    });
  }
  bool only_receiver = true;
  while (pending > 0) {
    queue.RunQueued([&](std::string_view text, int context) {
      only_receiver = only_receiver && std::this_thread::get_id() == receiver_id;
      ran.emplace_back(text);
      // A result that tells the lines apart: sender * 1000 + line.
      return -context * 1000 + std::stoi(std::string(text.substr(text.find(':') + 1)));
    });
    std::this_thread::yield();
  }
  for (std::thread& t : senders) t.join();

  EXPECT_TRUE(only_receiver);
  ASSERT_EQ(ran.size(), std::size_t{kSenders * kLines});
  for (int s = 0; s < kSenders; ++s) {
    SCOPED_TRACE(s);
    int next = 0;  // each sender's lines run in the order it sent them
    for (const std::string& line : ran) {
      if (line.starts_with(std::to_string(s) + ":")) {
        EXPECT_EQ(line, std::to_string(s) + ":" + std::to_string(next++));
      }
    }
    EXPECT_EQ(next, kLines);
    for (int k = 0; k < kLines; ++k) {
      EXPECT_EQ(got[s][k].outcome, Outcome::kRan);
      EXPECT_EQ(got[s][k].value, s * 1000 + k);
    }
  }
}

TEST(LineHandOff, LineNotTakenInTimeIsWithdrawn) {
  LineHandOff queue;
  LineHandOff::Result r = queue.Send("late", -1, 50, [] { return true; });
  EXPECT_EQ(r.outcome, Outcome::kTimedOut);
  EXPECT_EQ(queue.RunQueued([](std::string_view, int) { return 1; }), 0);
}

TEST(LineHandOff, FailedWakeLeavesNothingQueued) {
  LineHandOff queue;
  EXPECT_EQ(queue.Send("nobody", -1, kLongWaitMs, [] { return false; }).outcome,
            Outcome::kClosed);
  EXPECT_EQ(queue.RunQueued([](std::string_view, int) { return 1; }), 0);
}

TEST(LineHandOff, ClosingReleasesWaitingSendersAndRefusesNewLines) {
  LineHandOff queue;
  std::atomic<bool> queued{false};
  LineHandOff::Result waited;
  std::thread sender([&] {
    waited = queue.Send("never", -1, kLongWaitMs, [&] { return queued = true; });
  });
  while (!queued) std::this_thread::yield();
  queue.Close();
  sender.join();  // would take a minute if closing did not wake it
  EXPECT_EQ(waited.outcome, Outcome::kClosed);

  bool woken = false;
  EXPECT_EQ(queue.Send("after", -1, kLongWaitMs, [&] { return woken = true; }).outcome,
            Outcome::kClosed);
  EXPECT_FALSE(woken);
  EXPECT_EQ(queue.RunQueued([](std::string_view, int) { return 1; }), 0);
}

TEST(LineHandOff, RunFinishingAfterItsSenderGaveUpIsHarmless) {
  LineHandOff queue;
  std::atomic<bool> sender_gone{false};
  std::thread sender([&] {
    EXPECT_EQ(queue.Send("slow", -1, 20, [] { return true; }).outcome, Outcome::kTimedOut);
    sender_gone = true;
  });
  int runs = 0;
  while (runs == 0) {
    runs = queue.RunQueued([&](std::string_view, int) {
      while (!sender_gone) std::this_thread::yield();
      return 1;
    });
  }
  sender.join();
  EXPECT_EQ(runs, 1);
}

TEST(LineHandOff, RunsNestInsideARunWithoutDeadlock) {
  // The receiving thread hands lines to itself: its wake runs the queue in
  // place, as the window thread does when it sends itself the wake-up message.
  LineHandOff queue;
  std::vector<std::string> order;
  std::function<int(std::string_view, int)> run;
  auto wake_here = [&] {
    queue.RunQueued(run);
    return true;
  };
  run = [&](std::string_view text, int) {
    order.push_back("start " + std::string(text));
    if (text == "outer") {
      // A line handed over while this one runs (from its modal loop).
      LineHandOff::Result inner = queue.Send("inner", -1, kLongWaitMs, wake_here);
      EXPECT_EQ(inner.outcome, Outcome::kRan);
      EXPECT_EQ(inner.value, 2);
    }
    order.push_back("end " + std::string(text));
    return text == "outer" ? 1 : 2;
  };
  LineHandOff::Result outer = queue.Send("outer", -1, kLongWaitMs, wake_here);
  EXPECT_EQ(outer.outcome, Outcome::kRan);
  EXPECT_EQ(outer.value, 1);
  EXPECT_EQ(order, (std::vector<std::string>{"start outer", "start inner", "end inner", "end outer"}));
}

TEST(LineHandOff, CallsAndLinesShareOneOrderAndPostedCallsEndWithTheQueue) {
  LineHandOff queue;
  std::vector<std::string> order;
  auto no_wake = [] { return false; };
  auto wake = [] { return true; };
  EXPECT_FALSE(queue.PostCall([&] { order.push_back("unwoken"); return 0; }, no_wake));
  EXPECT_TRUE(queue.PostCall([&] { order.push_back("call 1"); return 0; }, wake));
  std::thread sender([&] {
    LineHandOff::Result r = queue.SendCall([] { return 42; }, LineHandOff::kNoTimeLimit, wake);
    EXPECT_EQ(r.outcome, Outcome::kRan);
    EXPECT_EQ(r.value, 42);
  });
  for (int ran = 0; ran < 2;) {
    ran += queue.RunQueued([&](std::string_view text, int) {
      order.emplace_back(text);
      return 0;
    });
    std::this_thread::yield();
  }
  sender.join();
  EXPECT_EQ(order, (std::vector<std::string>{"call 1"}));
  queue.Close();
  EXPECT_FALSE(queue.PostCall([&] { order.push_back("late"); return 0; }, wake));
  EXPECT_EQ(queue.SendCall([] { return 1; }, LineHandOff::kNoTimeLimit, wake).outcome,
            Outcome::kClosed);
  EXPECT_EQ(order.size(), 1u);
}

TEST(LineHandOff, CallsWakeOnceUntilTheQueueIsEmptiedAndASliceLeavesTheRest) {
  LineHandOff queue;
  int wakes = 0;
  auto wake = [&] { ++wakes; return true; };
  auto no_lines = [](std::string_view, int) { return 0; };
  std::vector<int> ran;
  for (int i = 0; i < 3; ++i) queue.PostCall([&ran, i] { ran.push_back(i); return 0; }, wake);
  EXPECT_EQ(wakes, 1) << "a flood of posts must not flood the receiver with wake-ups";

  // A spent slice stops after one call and reports the rest, with no new wake.
  EXPECT_TRUE(queue.RunQueuedUntil([] { return true; }, no_lines));
  EXPECT_EQ(ran, (std::vector<int>{0}));
  queue.PostCall([&ran] { ran.push_back(3); return 0; }, wake);
  EXPECT_EQ(wakes, 1);
  EXPECT_FALSE(queue.RunQueuedUntil([] { return false; }, no_lines));
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3}));

  // Emptied: the next post wakes again; a failed wake lets the one after try.
  queue.PostCall([] { return 0; }, wake);
  EXPECT_EQ(wakes, 2);
  queue.RunQueued(no_lines);
  EXPECT_FALSE(queue.PostCall([] { return 0; }, [] { return false; }));
  queue.PostCall([] { return 0; }, wake);
  EXPECT_EQ(wakes, 3);
}

}  // namespace
}  // namespace vsmr
