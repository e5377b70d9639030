// The hand-off queue's bookkeeping: one lock over the queue and every call's
// state, held only for these few steps and never while a call runs.
#include "app/call_hand_off.h"

#include <algorithm>

namespace vsmr {

std::shared_ptr<CallHandOff::Item> CallHandOff::Queue(Call call) {
  auto item = std::make_shared<Item>();
  item->call = std::move(call);
  std::lock_guard<std::mutex> lock(mutex_);
  if (closed_) return nullptr;
  queue_.push_back(item);
  return item;
}

int CallHandOff::RunQueued() {
  int count = 0;
  while (std::shared_ptr<Item> item = Take()) {
    Finish(*item, item->call());
    ++count;
  }
  return count;
}

bool CallHandOff::Withdraw(Item& item) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!item.queued) return false;
  item.queued = false;
  queue_.erase(std::find_if(queue_.begin(), queue_.end(),
                            [&](const std::shared_ptr<Item>& q) { return q.get() == &item; }));
  return true;
}

CallHandOff::Result CallHandOff::Wait(const std::shared_ptr<Item>& item, unsigned timeout_ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto done = [&] { return item->finished || closed_; };
  if (timeout_ms == kNoTimeLimit) {
    finished_.wait(lock, done);
  } else {
    finished_.wait_for(lock, std::chrono::milliseconds(timeout_ms), done);
  }
  if (item->finished) return {Outcome::kRan, item->result};
  if (item->queued) {
    item->queued = false;
    queue_.erase(std::find(queue_.begin(), queue_.end(), item));
  }
  return {closed_ ? Outcome::kClosed : Outcome::kTimedOut, 0};
}

std::shared_ptr<CallHandOff::Item> CallHandOff::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (queue_.empty()) {
    wake_pending_ = false;
    return nullptr;
  }
  std::shared_ptr<Item> item = std::move(queue_.front());
  queue_.pop_front();
  item->queued = false;
  return item;
}

bool CallHandOff::MoreQueued() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (queue_.empty()) wake_pending_ = false;
  return !queue_.empty();
}

bool CallHandOff::ClaimWake() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (wake_pending_) return false;
  wake_pending_ = true;
  return true;
}

void CallHandOff::ReleaseWake() {
  std::lock_guard<std::mutex> lock(mutex_);
  wake_pending_ = false;
}

void CallHandOff::Finish(Item& item, int result) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    item.finished = true;
    item.result = result;
  }
  finished_.notify_all();
}

void CallHandOff::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    for (const std::shared_ptr<Item>& item : queue_) item->queued = false;
    queue_.clear();
  }
  finished_.notify_all();
}

}  // namespace vsmr
