// The mail check list rebuilt from the accounts, for loading and for the
// options dialog's OK alike (see settings_records.h).
#include "settings/settings_records.h"

namespace vsmr {

MailCheckList RebuildMailCheckList(const MailAccount (&accounts)[kMailAccountCount],
                                   const MailCheckList& kept) {
  MailCheckList list;
  for (int slot = 0; slot < kMailAccountCount; ++slot) {
    if (accounts[slot].enabled == 0) continue;
    PreviousMailState& entry = list.entries[list.count++];
    entry.account = slot;
    for (int k = 0; k < kept.count && k < kMailAccountCount; ++k) {
      if (kept.entries[k].account == slot) {
        entry = kept.entries[k];
        break;
      }
    }
  }
  return list;
}

}  // namespace vsmr
