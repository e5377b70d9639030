// The live check list's two writers besides loading: the rebuild after the
// accounts change, and a finished check's result for one entry.
#pragma once
#include <cstdint>
#include <string_view>

#include "settings/settings_records.h"

namespace vsmr {

// Rebuilds the check list from the enabled accounts in slot order. An account
// that was in the list keeps its stored count and key; a newly enabled one
// starts with 0 and an empty key. Every rebuild gets a new generation.
void RebuildMailCheckList(SettingsState& settings);

// Stores a check's count and key into entry `index`, unless the list was
// rebuilt after the check copied it (its generation differs). True when stored.
bool StoreMailCheckResult(MailCheckList& list, std::uint32_t generation, int index,
                          int message_count, std::string_view key_text);

}  // namespace vsmr
