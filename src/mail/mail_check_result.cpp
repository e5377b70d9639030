// Storing a check's result into the live check list.
#include "mail/mail_check_result.h"

namespace vsmr {

bool StoreMailCheckResult(MailCheckList& list, std::uint32_t generation, int index,
                          int message_count, std::string_view key_text) {
  if (list.generation != generation || index < 0 || index >= list.count) return false;
  PreviousMailState& entry = list.entries[index];
  entry.message_count = message_count;
  entry.key_text.Set(key_text);
  return true;
}

}  // namespace vsmr
