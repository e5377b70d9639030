// Date column and message-view date: the RFC 822 Date value rearranged into
// the short list form or the long Japanese form, without zone conversion.
#include <cstdio>

#include "base/fixed_text.h"
#include "mail/mime/mail_ascii.h"
#include "mail/mime/mail_record.h"

namespace vsmr {
namespace {

constexpr std::size_t kTokenSize = 16;  // day, month, year, time, zone: 15 bytes each
constexpr const char* kWeekdays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr const char* kWeekdayNames[] = {"月", "火", "水", "木", "金", "土", "日", "?"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int WeekdayIndex(std::string_view value) {
  for (int i = 0; i < 7; ++i) {
    if (StartsWithNoCase(value, kWeekdays[i])) return i;
  }
  return 7;
}

int MonthNumber(std::string_view name) {
  for (int i = 0; i < 12; ++i) {
    if (StartsWithNoCase(name, kMonths[i])) return i + 1;
  }
  return 1;
}

}  // namespace

std::string FormatMailDate(std::string_view date_value, MailDateForm form) {
  if (date_value == kNoDateText) return std::string(date_value);
  int weekday = WeekdayIndex(date_value);
  std::string_view rest = date_value;
  if (std::size_t comma = rest.find(','); comma != std::string_view::npos) {
    rest.remove_prefix(comma + 1);
  }
  // day, month, year, time, zone; runs of blanks separate, missing ones stay empty.
  FixedText<kTokenSize> tokens[5];
  std::size_t pos = 0;
  for (auto& token : tokens) {
    while (pos < rest.size() && rest[pos] == ' ') ++pos;
    std::size_t end = rest.find(' ', pos);
    if (end == std::string_view::npos) end = rest.size();
    token.Set(rest.substr(pos, end - pos));
    pos = end;
  }
  char day[kTokenSize + 1];
  std::snprintf(day, sizeof day, tokens[0].View().size() == 1 ? "0%s" : "%s", tokens[0].c_str());
  char month[3];
  std::snprintf(month, sizeof month, "%02d", MonthNumber(tokens[1].View()));
  std::string_view year = tokens[2].View();
  std::string_view time = tokens[3].View();

  char text[1024];
  if (form == MailDateForm::kShort) {
    std::size_t first_colon = time.find(':');
    std::size_t last_colon = time.rfind(':');
    if (first_colon != last_colon) time = time.substr(0, last_colon);
    if (year.size() == 4) year.remove_prefix(2);
    std::snprintf(text, sizeof text, "%.*s/%s/%s %.*s", static_cast<int>(year.size()), year.data(),
                  month, day, static_cast<int>(time.size()), time.data());
  } else {
    std::snprintf(text, sizeof text, "%.*s年%s月%s日(%s) %.*s", static_cast<int>(year.size()),
                  year.data(), month, day, kWeekdayNames[weekday],
                  static_cast<int>(time.size()), time.data());
  }
  return text;
}

}  // namespace vsmr
