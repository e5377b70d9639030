// The hand-off queue's bookkeeping: one lock over the queue and every line's
// state, held only for these few steps and never while a line runs.
#include "command/line_hand_off.h"

#include <algorithm>

namespace vsmr {

std::shared_ptr<LineHandOff::Item> LineHandOff::Queue(std::string_view text, int context) {
  auto item = std::make_shared<Item>();
  item->text.assign(text);
  item->context = context;
  return Enqueue(std::move(item));
}

std::shared_ptr<LineHandOff::Item> LineHandOff::Queue(Call call) {
  auto item = std::make_shared<Item>();
  item->call = std::move(call);
  return Enqueue(std::move(item));
}

std::shared_ptr<LineHandOff::Item> LineHandOff::Enqueue(std::shared_ptr<Item> item) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (closed_) return nullptr;
  queue_.push_back(item);
  return item;
}

bool LineHandOff::Withdraw(Item& item) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!item.queued) return false;
  item.queued = false;
  queue_.erase(std::find_if(queue_.begin(), queue_.end(),
                            [&](const std::shared_ptr<Item>& q) { return q.get() == &item; }));
  return true;
}

LineHandOff::Result LineHandOff::Wait(const std::shared_ptr<Item>& item, unsigned timeout_ms) {
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

std::shared_ptr<LineHandOff::Item> LineHandOff::Take() {
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

bool LineHandOff::MoreQueued() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (queue_.empty()) wake_pending_ = false;
  return !queue_.empty();
}

bool LineHandOff::ClaimWake() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (wake_pending_) return false;
  wake_pending_ = true;
  return true;
}

void LineHandOff::ReleaseWake() {
  std::lock_guard<std::mutex> lock(mutex_);
  wake_pending_ = false;
}

void LineHandOff::Finish(Item& item, int result) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    item.finished = true;
    item.result = result;
  }
  finished_.notify_all();
}

void LineHandOff::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    for (const std::shared_ptr<Item>& item : queue_) item->queued = false;
    queue_.clear();
  }
  finished_.notify_all();
}

}  // namespace vsmr
