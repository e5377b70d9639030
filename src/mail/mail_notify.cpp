// The new-mail count, the new-mail event line and the mail launcher's line.
#include "mail/mail_notify.h"

#include "base/sjis.h"

namespace vsmr {

int NewMailCount(int message_count, int stored_count) {
  const int growth = message_count - stored_count;
  return growth > 0 ? growth : message_count;
}

MarkedLine NewMailHookLine(int account, int count, std::string_view sender) {
  std::string_view address = sender;
  std::string_view name = sender;
  // Neither '<' nor '>' can be a trail byte, so a byte search is safe here.
  if (std::size_t open = sender.rfind('<'); open != std::string_view::npos) {
    name = sender.substr(0, open);
    address = sender.substr(open + 1);
    if (std::size_t close = address.find('>'); close != std::string_view::npos) {
      address = address.substr(0, close);
    }
  }
  MarkedLine line = MarkedLine::Written("_onnewmail" + std::to_string(account + 1) + " " +
                                        std::to_string(count) + " \"");
  line.AddInserted(address);
  line.AddWritten("\" \"");
  line.AddInserted(name);
  line.AddWritten("\"");
  line.Cut(SjisCutLength(line.text, kHookLineLimit));
  return line;
}

MailLauncherLine::MailLauncherLine(bool enabled, std::string_view word)
    : active_(enabled && word.size() >= kMailLauncherShortestWord), word_(word) {
  word_ += ' ';
}

void MailLauncherLine::Consider(std::string_view subject, bool is_new) {
  if (!active_ || !is_new || !subject.starts_with(word_)) return;
  std::string entry(subject.substr(word_.size()));
  entry += " & ";
  if (line_.size() + entry.size() > kMailLauncherLineLimit) return;
  line_ += entry;
}

}  // namespace vsmr
