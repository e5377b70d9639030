// A finished check's result for one entry of the live check list, stored only
// while the list is the one the check copied.
#pragma once
#include <cstdint>
#include <string_view>

#include "settings/settings_records.h"

namespace vsmr {

// Stores a check's count and key into entry `index`, unless the list was
// rebuilt after the check copied it (its generation differs). True when stored.
bool StoreMailCheckResult(MailCheckList& list, std::uint32_t generation, int index,
                          int message_count, std::string_view key_text);

}  // namespace vsmr
