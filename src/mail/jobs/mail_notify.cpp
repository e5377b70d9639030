// The new-mail count, the new-mail event line and the mail launcher's line.
#include "mail/jobs/mail_notify.h"

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

std::uint64_t MailIdentity(std::string_view key, std::string_view from, std::string_view subject) {
  // FNV-1a, 64 bits, over the three texts with a separator no header value holds.
  std::uint64_t hash = 0xcbf29ce484222325ull;
  const auto add = [&hash](std::string_view text) {
    for (unsigned char c : text) hash = (hash ^ c) * 0x100000001b3ull;
    hash = (hash ^ '\n') * 0x100000001b3ull;
  };
  add(key);
  add(from);
  add(subject);
  return hash;
}

MailLauncherLine::MailLauncherLine(bool enabled, std::string_view word,
                                   const MailLauncherRuns& ran)
    : active_(enabled && word.size() >= kMailLauncherShortestWord), word_(word), ran_(ran) {
  word_ += ' ';
}

void MailLauncherLine::Consider(std::string_view subject, bool is_new, std::uint64_t identity) {
  if (!active_ || !is_new || !subject.starts_with(word_)) return;
  if (ran_.Contains(identity)) return;
  std::string entry(subject.substr(word_.size()));
  entry += " & ";
  if (line_.size() + entry.size() > kMailLauncherLineLimit) return;
  line_ += entry;
  ran_.Remember(identity);  // the same message listed twice contributes once
  identities_.push_back(identity);
}

}  // namespace vsmr
