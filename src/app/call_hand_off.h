// Calls that other threads hand to the user-interface thread, which alone runs
// the interpreter and touches windows. The queue belongs to the process: what
// wakes that thread carries no data, so no other process can hand it work.
#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace vsmr {

class CallHandOff {
 public:
  // How a sent call ended, as its sender sees it.
  enum class Outcome {
    kRan,       // it ran; `value` is the call's result
    kTimedOut,  // no result within the sender's time limit
    kClosed,    // the program is closing, or nothing could be woken to run it
  };
  struct Result {
    Outcome outcome = Outcome::kClosed;
    int value = 0;  // 0 unless the call ran
  };

  // A piece of work for the receiving thread. It must own everything it
  // reads or writes apart from the receiver's own objects (capture copies and
  // shared results): a posted call runs after its sender has moved on, and a
  // sent one may still run, unseen, after its sender stopped waiting.
  using Call = std::function<int()>;
  // Waits without a time limit: only the call's end or Close() ends the wait.
  static constexpr unsigned kNoTimeLimit = ~0u;

  // Sender (any thread): queues `call`, calls wake() (true when the receiving
  // thread will look at the queue) and waits at most timeout_ms for the
  // result. A call still queued when the wait ends is withdrawn, so it never
  // runs after its sender gave up; a call already running finishes unseen.
  // Senders wake the receiver once until it has emptied the queue: a worker
  // that hands over a row at a time must not flood the receiver's message
  // queue, where every waiting message holds back its paints and timers.
  template <class Wake>
  Result Send(Call call, unsigned timeout_ms, Wake&& wake) {
    std::shared_ptr<Item> item = Queue(std::move(call));
    if (!item) return {};
    if (ClaimWake() && !wake()) {
      ReleaseWake();
      if (Withdraw(*item)) return {};
    }
    return Wait(item, timeout_ms);
  }

  // Sender: queues `call` after everything queued so far and returns at once.
  // False when the program is closing or the receiver could not be woken
  // (the call is then dropped).
  template <class Wake>
  bool Post(Call call, Wake&& wake) {
    std::shared_ptr<Item> item = Queue(std::move(call));
    if (!item) return false;
    if (ClaimWake() && !wake()) {
      ReleaseWake();
      return !Withdraw(*item);
    }
    return true;
  }

  // Receiving thread: runs the queued calls one at a time, oldest first, and
  // hands each result to its sender. Calls queued meanwhile are taken too. No
  // lock is held during a call, so a call may queue others or run the queue in
  // a nested loop (a modal loop inside it). Returns how many calls ran.
  int RunQueued();

  // As RunQueued, but takes no further call once spent() is true, so that a
  // flood of calls leaves the receiving thread time for its paints and
  // timers. True when work is left: no new wake comes for it, so the receiver
  // must come back (a timer, say) and run the queue again.
  template <class Spent>
  bool RunQueuedUntil(Spent&& spent) {
    while (std::shared_ptr<Item> item = Take()) {
      Finish(*item, item->call());
      if (spent()) return MoreQueued();
    }
    return false;
  }

  // The program is closing: new calls are refused, queued ones dropped, and
  // every waiting sender returns at once.
  void Close();

 private:
  struct Item {
    Call call;
    bool queued = true;
    bool finished = false;
    int result = 0;
  };

  std::shared_ptr<Item> Queue(Call call);
  bool Withdraw(Item& item);  // true when it was still queued
  Result Wait(const std::shared_ptr<Item>& item, unsigned timeout_ms);
  std::shared_ptr<Item> Take();  // an empty queue also ends the pending wake
  bool MoreQueued();             // likewise
  bool ClaimWake();              // true when this sender is the one to wake the receiver
  void ReleaseWake();            // the wake failed: the next sender tries again
  void Finish(Item& item, int result);

  std::mutex mutex_;
  std::condition_variable finished_;
  std::deque<std::shared_ptr<Item>> queue_;
  bool closed_ = false;
  bool wake_pending_ = false;  // a wake is on its way and the queue not yet emptied
};

}  // namespace vsmr
