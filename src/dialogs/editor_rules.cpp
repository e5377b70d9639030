// The item editors' rules (see editor_rules.h).
#include "dialogs/editor_rules.h"

#include <cstdio>
#include <limits>

namespace vsmr {

int ReadFieldNumber(std::string_view text) { return ReadFieldNumber(text, kNumberFieldChars); }

int ReadFieldNumber(std::string_view text, std::size_t chars) {
  text = text.substr(0, chars < 9 ? chars : 9);
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

bool HasLineBreakingChar(std::string_view text) {
  // TAB, CR and LF lie below 0x40, so none of them is ever a trail byte.
  return text.find_first_of("\t\r\n") != std::string_view::npos;
}

bool ApplyCommandEdit(CommandEntry& command, const CommandEntry& record) {
  if (record.body.Empty()) return false;
  command = record;
  return true;
}

void ApplyTimerEdit(CommandTimer& timer, const CommandTimer& record) {
  timer.hour = record.hour;
  timer.minute = record.minute;
  timer.command = record.command;
}

bool ApplyAccountEdit(MailAccount& account, const MailAccount& record) {
  if (record.server.Empty()) return false;
  const std::int32_t enabled = account.enabled;
  account = record;
  account.enabled = enabled;
  return true;
}

std::string TimerRowTime(const CommandTimer& timer) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(timer.hour),
                static_cast<int>(timer.minute));
  return text;
}

std::string_view TimerTimeWarning(int hour, int minute) {
  constexpr int kLastHour = 23;
  constexpr int kLastMinute = 59;
  if (hour < 0 || hour > kLastHour || minute < 0 || minute > kLastMinute) {
    return "時は0から23まで、分は0から59までの数字で入力してください";
  }
  return {};
}

std::string_view MissingAccountField(std::string_view server, std::string_view user_name,
                                     std::string_view password) {
  if (server.empty()) return "ポップサーバーを設定してください";
  if (user_name.empty()) return "アカウントを設定してください";
  if (password.empty()) return "パスワードを設定してください";
  return {};
}

int SecurityEntryOf(std::int32_t security) {
  return PopSecurityKnown(security) ? security : kUnknownSecurityEntry;
}

std::int32_t SecurityOfEntry(int entry, std::int32_t stored) {
  return PopSecurityKnown(entry) ? entry : stored;
}

bool ReadPortField(std::string_view text, std::int32_t& port) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    port = 0;
    return true;
  }
  text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
  std::int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::uint16_t>::max()) return false;
  }
  port = value;
  return true;
}

}  // namespace vsmr
