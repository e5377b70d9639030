// What a check makes of new mail: the new-mail count, the new-mail event line
// with the sender's address and name, and the mail launcher's collected line.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "command/marked_line.h"
#include "settings/settings_records.h"

namespace vsmr {

// The count the new-mail event reports: the growth over the stored count, or
// the whole count when the mailbox did not grow (its first message changed).
int NewMailCount(int message_count, int stored_count);

// `_onnewmail<slot> <count> "<address>" "<name>"` for account slot `account`
// (0-4, written from 1), from the From text of the last message listed: the
// address is what the last "<" encloses (to the end without ">"), the name
// what comes before it; without "<" both are the whole text. Address and name
// are marked as inserted, so that they reach the event command as exactly its
// second and third arguments whatever they hold. At most 1,023 bytes, cut on a
// character boundary.
MarkedLine NewMailHookLine(int account, int count, std::string_view sender);

inline constexpr std::size_t kHookLineLimit = 1023;
inline constexpr std::size_t kMailLauncherLineLimit = 3071;  // a 3,072-byte buffer
inline constexpr std::size_t kMailLauncherShortestWord = 5;

// The identity by which the mail launcher remembers a message: a hash of its
// key (the Message-ID, or the date where it has none), sender and subject.
std::uint64_t MailIdentity(std::string_view key, std::string_view from, std::string_view subject);

// The commands that new messages carry in their subjects: a subject that
// begins with the word and a blank contributes the rest of the subject and " & ".
class MailLauncherLine {
 public:
  // `word` is used only when `enabled` and at least five bytes long. A
  // message in `ran` contributes nothing: its commands have run before.
  MailLauncherLine(bool enabled, std::string_view word, const MailLauncherRuns& ran = {});
  // Considers one listed message; only a new one contributes, and each
  // identity once. An entry that no longer fits is dropped whole.
  void Consider(std::string_view subject, bool is_new, std::uint64_t identity);
  const std::string& Text() const { return line_; }
  // The identities of the messages that contributed to Text(), in order.
  const std::vector<std::uint64_t>& Identities() const { return identities_; }

 private:
  bool active_;
  std::string word_;
  MailLauncherRuns ran_;
  std::string line_;
  std::vector<std::uint64_t> identities_;
};

}  // namespace vsmr
