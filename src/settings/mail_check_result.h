// A finished check's result for one account, stored into the live check list
// by the account's slot, which a rebuild of the list keeps.
#pragma once
#include <string_view>

#include "settings/settings_records.h"

namespace vsmr {

// Stores a check's count and key into the entry of account slot `account`,
// unless the account has no entry any more (it was disabled meanwhile). True
// when stored.
bool StoreMailCheckResult(MailCheckList& list, int account, int message_count,
                          std::string_view key_text);

}  // namespace vsmr
