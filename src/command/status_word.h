// The status word: a code of at most 8 bytes shown on the clock face in place
// of the time. Written by the interpreter, the mail thread and a built-in;
// read by the painter. Safe to write and read from any thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <string_view>

#include "base/fixed_text.h"

namespace vsmr {

class StatusWord {
 public:
  static constexpr std::size_t kMaxLength = 8;

  // Stores `word`, cut to 8 bytes without splitting a double-byte character.
  void Set(std::string_view word);
  void Clear() { bits_.store(0, std::memory_order_release); }
  // A copy of the current word (empty when none).
  FixedText<kMaxLength + 1> Read() const;
  bool Empty() const { return bits_.load(std::memory_order_acquire) == 0; }

 private:
  // The 8 bytes packed into one word, so that a reader never sees half of a write.
  std::atomic<std::uint64_t> bits_{0};
};

}  // namespace vsmr
