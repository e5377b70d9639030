// The hand-off queue with real threads: every call runs once on the receiving
// thread and its result reaches its own sender; time limits, closing and
// failed wakes never leave a sender waiting or a call running twice.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/call_hand_off.h"

namespace vsmr {
namespace {

using Outcome = CallHandOff::Outcome;

constexpr unsigned kLongWaitMs = 60000;  // never reached when the code is right

TEST(CallHandOff, CallsFromManyThreadsRunOnceOnTheReceiverWithTheirOwnResults) {
  constexpr int kSenders = 4, kCalls = 50;
  CallHandOff queue;
  std::atomic<int> pending{kSenders};
  const std::thread::id receiver_id = std::this_thread::get_id();
  bool only_receiver = true;      // touched by the receiving thread only
  std::vector<std::string> ran;   // likewise
  std::vector<std::vector<CallHandOff::Result>> got(kSenders);
  std::vector<std::thread> senders;
  for (int s = 0; s < kSenders; ++s) {
    senders.emplace_back([&, s] {
      for (int k = 0; k < kCalls; ++k) {
        got[s].push_back(queue.Send(
            [&, s, k] {
              only_receiver = only_receiver && std::this_thread::get_id() == receiver_id;
              ran.push_back(std::to_string(s) + ":" + std::to_string(k));
              return s * 1000 + k;  // a result that tells the calls apart
            },
            kLongWaitMs, [] { return true; }));
      }
      --pending;
    });
  }
  while (pending > 0) {
    queue.RunQueued();
    std::this_thread::yield();
  }
  for (std::thread& t : senders) t.join();

  EXPECT_TRUE(only_receiver);
  ASSERT_EQ(ran.size(), std::size_t{kSenders * kCalls});
  for (int s = 0; s < kSenders; ++s) {
    SCOPED_TRACE(s);
    int next = 0;  // each sender's calls run in the order it sent them
    for (const std::string& call : ran) {
      if (call.starts_with(std::to_string(s) + ":")) {
        EXPECT_EQ(call, std::to_string(s) + ":" + std::to_string(next++));
      }
    }
    EXPECT_EQ(next, kCalls);
    for (int k = 0; k < kCalls; ++k) {
      EXPECT_EQ(got[s][k].outcome, Outcome::kRan);
      EXPECT_EQ(got[s][k].value, s * 1000 + k);
    }
  }
}

TEST(CallHandOff, CallNotTakenInTimeIsWithdrawn) {
  CallHandOff queue;
  bool ran = false;
  CallHandOff::Result r = queue.Send([&] { ran = true; return 1; }, 50, [] { return true; });
  EXPECT_EQ(r.outcome, Outcome::kTimedOut);
  EXPECT_EQ(queue.RunQueued(), 0);
  EXPECT_FALSE(ran);
}

TEST(CallHandOff, FailedWakeLeavesNothingQueued) {
  CallHandOff queue;
  EXPECT_EQ(queue.Send([] { return 1; }, kLongWaitMs, [] { return false; }).outcome,
            Outcome::kClosed);
  EXPECT_EQ(queue.RunQueued(), 0);
}

TEST(CallHandOff, ClosingReleasesWaitingSendersAndRefusesNewCalls) {
  CallHandOff queue;
  std::atomic<bool> queued{false};
  CallHandOff::Result waited;
  std::thread sender([&] {
    waited = queue.Send([] { return 1; }, kLongWaitMs, [&] { return queued = true; });
  });
  while (!queued) std::this_thread::yield();
  queue.Close();
  sender.join();  // would take a minute if closing did not wake it
  EXPECT_EQ(waited.outcome, Outcome::kClosed);

  int ran = 0;
  EXPECT_FALSE(queue.Post([&] { return ++ran; }, [] { return true; }));
  EXPECT_EQ(queue.Send([&] { return ++ran; }, kLongWaitMs, [] { return true; }).outcome,
            Outcome::kClosed);
  EXPECT_EQ(queue.RunQueued(), 0);
  EXPECT_EQ(ran, 0);
}

TEST(CallHandOff, CallFinishingAfterItsSenderGaveUpIsHarmless) {
  CallHandOff queue;
  std::atomic<bool> sender_gone{false};
  std::thread sender([&] {
    EXPECT_EQ(queue.Send(
                      [&] {
                        while (!sender_gone) std::this_thread::yield();
                        return 1;
                      },
                      20, [] { return true; })
                  .outcome,
              Outcome::kTimedOut);
    sender_gone = true;
  });
  int runs = 0;
  while (runs == 0) runs = queue.RunQueued();
  sender.join();
  EXPECT_EQ(runs, 1);
}

TEST(CallHandOff, PostedAndSentCallsShareOneOrder) {
  CallHandOff queue;
  std::vector<std::string> order;  // touched by the receiving thread only
  auto wake = [] { return true; };
  EXPECT_FALSE(queue.Post([&] { order.push_back("unwoken"); return 0; }, [] { return false; }));
  EXPECT_TRUE(queue.Post([&] { order.push_back("posted"); return 0; }, wake));
  std::thread sender([&] {
    CallHandOff::Result r = queue.Send(
        [&] { order.push_back("sent"); return 42; }, CallHandOff::kNoTimeLimit, wake);
    EXPECT_EQ(r.outcome, Outcome::kRan);
    EXPECT_EQ(r.value, 42);
  });
  for (int ran = 0; ran < 2;) {
    ran += queue.RunQueued();
    std::this_thread::yield();
  }
  sender.join();
  EXPECT_EQ(order, (std::vector<std::string>{"posted", "sent"}));
}

TEST(CallHandOff, CallsWakeOnceUntilTheQueueIsEmptiedAndASliceLeavesTheRest) {
  CallHandOff queue;
  int wakes = 0;
  auto wake = [&] { ++wakes; return true; };
  std::vector<int> ran;
  for (int i = 0; i < 3; ++i) queue.Post([&ran, i] { ran.push_back(i); return 0; }, wake);
  EXPECT_EQ(wakes, 1) << "a flood of posts must not flood the receiver with wake-ups";

  // A spent slice stops after one call and reports the rest, with no new wake.
  EXPECT_TRUE(queue.RunQueuedUntil([] { return true; }));
  EXPECT_EQ(ran, (std::vector<int>{0}));
  queue.Post([&ran] { ran.push_back(3); return 0; }, wake);
  EXPECT_EQ(wakes, 1);
  EXPECT_FALSE(queue.RunQueuedUntil([] { return false; }));
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3}));

  // Emptied: the next post wakes again; a failed wake lets the one after try.
  queue.Post([] { return 0; }, wake);
  EXPECT_EQ(wakes, 2);
  queue.RunQueued();
  EXPECT_FALSE(queue.Post([] { return 0; }, [] { return false; }));
  queue.Post([] { return 0; }, wake);
  EXPECT_EQ(wakes, 3);
}

}  // namespace
}  // namespace vsmr
