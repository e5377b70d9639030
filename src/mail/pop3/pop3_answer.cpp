// Reading server answers: see pop3_answer.h.
#include "mail/pop3/pop3_answer.h"

#include <cstring>

namespace vsmr {

std::string_view AnswerText(std::string_view received) {
  const std::size_t end = received.find('\0');
  return end == std::string_view::npos ? received : received.substr(0, end);
}

bool BeginsWithOk(std::string_view answer) {
  if (answer.size() < 3) return false;
  auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
  return upper(answer[0]) == '+' && upper(answer[1]) == 'O' && upper(answer[2]) == 'K';
}

std::string_view AnswerField(std::string_view answer, int index) {
  std::size_t pos = 0;
  for (int n = 1;; ++n) {
    while (pos < answer.size() && answer[pos] == ' ') ++pos;
    if (pos >= answer.size()) return {};
    std::size_t end = answer.find(' ', pos);
    if (end == std::string_view::npos) end = answer.size();
    if (n == index) return answer.substr(pos, end - pos);
    pos = end;
  }
}

AnswerNumber ParseAnswerNumber(std::string_view field) {
  AnswerNumber result;
  std::size_t pos = 0;
  while (pos < field.size() && std::strchr(" \t\n\v\f\r", field[pos]) != nullptr && field[pos] != '\0') {
    ++pos;
  }
  bool negative = false;
  if (pos < field.size() && (field[pos] == '+' || field[pos] == '-')) {
    negative = field[pos] == '-';
    ++pos;
  }
  std::int64_t value = 0;
  for (; pos < field.size() && field[pos] >= '0' && field[pos] <= '9'; ++pos) {
    result.has_digits = true;
    if (value <= INT32_MAX) value = value * 10 + (field[pos] - '0');  // stops growing once out of range
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  result.value = static_cast<std::int32_t>(value);
  return result;
}

bool EndsMultiLineAnswer(std::string_view collected) {
  constexpr std::string_view kEnd = "\r\n.\r\n";
  return collected.size() >= kEnd.size() && collected.substr(collected.size() - kEnd.size()) == kEnd;
}

std::string UnstuffMultiLineAnswer(std::string_view answer) {
  // Without its last three bytes the terminating line's CR LF ends the text.
  if (EndsMultiLineAnswer(answer)) answer.remove_suffix(3);
  std::string text;
  text.reserve(answer.size());
  std::size_t line = answer.find("\r\n");
  if (line == std::string_view::npos) return std::string(answer);
  line += 2;
  text.append(answer.substr(0, line));  // the status line
  while (line < answer.size()) {
    if (answer[line] == '.') ++line;
    const std::size_t end = answer.find("\r\n", line);
    const std::size_t next = end == std::string_view::npos ? answer.size() : end + 2;
    text.append(answer.substr(line, next - line));
    line = next;
  }
  return text;
}

}  // namespace vsmr
