// StatusWord: 8 bytes packed into one atomic word.
#include "command/status_word.h"

#include <cstring>

#include "base/sjis.h"

namespace vsmr {

void StatusWord::Set(std::string_view word) {
  char bytes[kMaxLength] = {};
  std::size_t n = SjisCutLength(word.substr(0, word.find('\0')), kMaxLength);
  std::memcpy(bytes, word.data(), n);
  std::uint64_t packed = 0;
  std::memcpy(&packed, bytes, sizeof packed);
  bits_.store(packed, std::memory_order_release);
}

FixedText<StatusWord::kMaxLength + 1> StatusWord::Read() const {
  std::uint64_t packed = bits_.load(std::memory_order_acquire);
  char bytes[kMaxLength];
  std::memcpy(bytes, &packed, sizeof bytes);
  FixedText<kMaxLength + 1> out;
  out.Set(std::string_view(bytes, ::strnlen(bytes, kMaxLength)));
  return out;
}

}  // namespace vsmr
