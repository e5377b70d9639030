// ReplaceAll: the one in-place text substitution of the program.
#include "base/replace_all.h"

#include <cstring>

namespace vsmr {

std::size_t ReplaceAll(char* buffer, std::size_t capacity, std::string_view pattern,
                       std::string_view replacement) {
  if (capacity == 0 || pattern.empty()) return 0;
  std::size_t length = std::strlen(buffer);
  std::size_t count = 0;
  if (replacement.size() <= pattern.size()) {
    // The text only shrinks: one pass that moves each stretch once, so that
    // bodies with many thousands of hits (quoted-printable) stay linear.
    std::string_view text(buffer, length);
    std::size_t read = 0, write = 0;
    for (std::size_t hit; (hit = text.find(pattern, read)) != std::string_view::npos; ++count) {
      std::memmove(buffer + write, buffer + read, hit - read);
      write += hit - read;
      if (!replacement.empty()) std::memcpy(buffer + write, replacement.data(), replacement.size());
      write += replacement.size();
      read = hit + pattern.size();
    }
    std::memmove(buffer + write, buffer + read, length - read);
    buffer[write + length - read] = '\0';
    return count;
  }
  std::size_t pos = 0;
  while (pos + pattern.size() <= length) {
    std::string_view rest(buffer + pos, length - pos);
    std::size_t hit = rest.find(pattern);
    if (hit == std::string_view::npos) break;
    hit += pos;
    std::size_t tail_from = hit + pattern.size();
    std::size_t tail_len = length - tail_from;
    std::size_t room = capacity - 1;  // bytes of text the buffer can hold
    std::size_t insert_len = replacement.size();
    if (hit + insert_len > room) insert_len = room - hit;
    std::size_t keep_tail = tail_len;
    if (hit + insert_len + keep_tail > room) keep_tail = room - hit - insert_len;
    std::memmove(buffer + hit + insert_len, buffer + tail_from, keep_tail);
    std::memcpy(buffer + hit, replacement.data(), insert_len);
    length = hit + insert_len + keep_tail;
    buffer[length] = '\0';
    ++count;
    pos = hit + insert_len;
    if (insert_len < replacement.size()) break;  // the buffer is full
  }
  return count;
}

}  // namespace vsmr
