// Rebuilding the check list and storing a check's result into it.
#include "mail/mail_check_list.h"

namespace vsmr {

void RebuildMailCheckList(SettingsState& settings) {
  const MailCheckList old = settings.check_list;
  MailCheckList& list = settings.check_list;
  list.count = 0;
  for (int slot = 0; slot < kMailAccountCount; ++slot) {
    if (settings.accounts[slot].enabled == 0) continue;
    PreviousMailState entry;
    entry.account = slot;
    for (int i = 0; i < old.count; ++i) {
      if (old.entries[i].account == slot) entry = old.entries[i];
    }
    list.entries[list.count++] = entry;
  }
  for (int i = list.count; i < kMailAccountCount; ++i) list.entries[i] = PreviousMailState{};
  list.generation = old.generation + 1;
}

bool StoreMailCheckResult(MailCheckList& list, std::uint32_t generation, int index,
                          int message_count, std::string_view key_text) {
  if (list.generation != generation || index < 0 || index >= list.count) return false;
  PreviousMailState& entry = list.entries[index];
  entry.message_count = message_count;
  entry.key_text.Set(key_text);
  return true;
}

}  // namespace vsmr
