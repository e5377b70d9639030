// Bounded text operations over the interpreter's fixed buffers.
#include "command/line_text.h"

#include <climits>
#include <cstring>

#include "base/sjis.h"

namespace vsmr {

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::size_t CopyLine(char* buffer, std::size_t capacity, std::string_view text) {
  if (capacity == 0) return 0;
  std::size_t n = SjisCutLength(text, capacity - 1);
  if (n > 0) std::memmove(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

void AppendLine(char* buffer, std::size_t capacity, std::string_view text) {
  std::size_t used = ::strnlen(buffer, capacity);
  if (used >= capacity) return;
  CopyLine(buffer + used, capacity - used, text);
}

int LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

std::string_view RestAfter(std::string_view text, std::size_t from) {
  // Empty results still point into `text`: they are copied with memcpy.
  std::string_view rest = text.substr(from < text.size() ? from : text.size());
  std::size_t first = rest.find_first_not_of(' ');
  return rest.substr(first == std::string_view::npos ? rest.size() : first);
}

}  // namespace vsmr
