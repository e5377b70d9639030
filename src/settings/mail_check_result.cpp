// Storing a check's result into the live check list.
#include "settings/mail_check_result.h"

namespace vsmr {

bool StoreMailCheckResult(MailCheckList& list, int account, int message_count,
                          std::string_view key_text) {
  for (int i = 0; i < list.count && i < kMailAccountCount; ++i) {
    PreviousMailState& entry = list.entries[i];
    if (entry.account != account) continue;
    entry.message_count = message_count;
    entry.key_text.Set(key_text);
    return true;
  }
  return false;
}

}  // namespace vsmr
