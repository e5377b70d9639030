// Command lines that other threads hand to the user-interface thread, which
// alone runs the interpreter. The queue belongs to the process: what wakes the
// user-interface thread carries no data, so no other process can hand it work.
#pragma once
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace vsmr {

class LineHandOff {
 public:
  // How a handed-over line ended, as its sender sees it.
  enum class Outcome {
    kRan,       // it ran; `value` is the run's result
    kTimedOut,  // no result within the sender's time limit
    kClosed,    // the program is closing, or nothing could be woken to run it
  };
  struct Result {
    Outcome outcome = Outcome::kClosed;
    int value = 0;  // 0 unless the line ran
  };

  // Sender (any thread): queues a copy of `text` with its context number,
  // calls wake() (true when the receiving thread will look at the queue; it
  // may also run the queue itself) and waits at most timeout_ms for the
  // result. A line still queued when the wait ends is withdrawn, so it never
  // runs after its sender gave up; a line already running finishes unseen.
  template <class Wake>
  Result Send(std::string_view text, int context, unsigned timeout_ms, Wake&& wake) {
    std::shared_ptr<Item> item = Queue(text, context);
    if (!item) return {};
    if (!wake()) {
      if (Withdraw(*item)) return {};
    }
    return Wait(item, timeout_ms);
  }

  // Receiving thread: takes the queued lines one at a time, oldest first, and
  // runs each through run(text, context), whose result goes to its sender.
  // Lines queued meanwhile are taken too. No lock is held during a run, so a
  // run may queue lines or take them in a nested call (a modal loop inside
  // it). Returns how many lines ran.
  template <class Run>
  int RunQueued(Run&& run) {
    int count = 0;
    while (std::shared_ptr<Item> item = Take()) {
      Finish(*item, run(std::string_view(item->text), item->context));
      ++count;
    }
    return count;
  }

  // The program is closing: new lines are refused, queued ones dropped, and
  // every waiting sender returns at once.
  void Close();

 private:
  struct Item {
    std::string text;
    int context = 0;
    bool queued = true;
    bool finished = false;
    int result = 0;
  };

  std::shared_ptr<Item> Queue(std::string_view text, int context);
  bool Withdraw(Item& item);  // true when it was still queued
  Result Wait(const std::shared_ptr<Item>& item, unsigned timeout_ms);
  std::shared_ptr<Item> Take();
  void Finish(Item& item, int result);

  std::mutex mutex_;
  std::condition_variable finished_;
  std::deque<std::shared_ptr<Item>> queue_;
  bool closed_ = false;
};

}  // namespace vsmr
