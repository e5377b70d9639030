// The one table of vsmrsys.ini: every key with its section, default, read
// length, clamp and the field it fills, in the order a save writes them.
// Loading, saving and the console tool's listing all walk it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "base/fixed_text.h"
#include "settings/settings_records.h"

namespace vsmr {

// How a key's value is read, split and written.
enum class SettingCodec : unsigned char {
  kScalar,        // one SettingsState field: an integer as "%d", a text as it is
  // The compounds, whose fields compound_codecs.h describes:
  kTimer,         // TimerFields
  kAccount,       // AccountFields
  kPreviousMail,  // PreviousMailFields (read only for a check-list entry)
  kItemData,      // ItemDataFields; the default marks the key absent
  kItemIcon,      // ItemIconFields
  kAccountNumber, // one integer field of an account, "%d"
  kLauncherRuns,  // the mail launcher's ran messages: identities in hexadecimal, ","
  // The older launcher form (kept last): read only when the item's data key is absent,
  // never written.
  kOlderPath,
  kOlderComment,
  kOlderIconPath,
  kOlderIconIndex,
  kOlderShown,
};

// Which table of records a numbered key belongs to; its keys are numbered
// from 1 and written record by record, each record's keys together.
enum class SettingRecord : unsigned char { kNone, kTimer, kAccount, kItem };

// Where an absent key's value comes from.
enum class DefaultFrom : unsigned char {
  kTable,            // number_default or text_default
  kHalfWorkWidth,    // half the work area's right edge, plus number_default
  kHalfWorkHeight,   // half the work area's bottom edge, plus number_default
  kItemPath,         // the path just read for the same item
  kDefaultIconPath,  // the icon path loading is given (beside the executable)
};

// The SettingsState field of a scalar key; its type is the value's width.
using ScalarField = std::variant<std::monostate, std::int32_t SettingsState::*,
                                 std::uint16_t SettingsState::*, FixedText<260> SettingsState::*,
                                 FixedText<256> SettingsState::*, FixedText<32> SettingsState::*>;

struct SettingRow {
  std::string_view section = {};
  const char* key = "";  // numbered keys: a printf format of the number
  SettingRecord record = SettingRecord::kNone;
  SettingCodec codec = SettingCodec::kScalar;
  ScalarField field = {};  // kScalar only
  std::int32_t number_default = 0;
  std::string_view text_default = "";
  DefaultFrom default_from = DefaultFrom::kTable;
  std::size_t read_length = 0;  // texts and compounds, terminator included
  std::int32_t (*clamp)(std::int32_t) = nullptr;  // applied to an integer as read
  // Written from the caller's live value instead of `field` (read into it).
  std::int32_t LiveSettings::* live = nullptr;
  std::int32_t MailAccount::* account_field = nullptr;  // kAccountNumber only
  // A key added after files were already in use: while it holds its default
  // it is written only over a key the file already has, so a file that never
  // used it is written back byte for byte as before.
  bool omitted_at_default = false;
};

// Every row, in the order of a save.
std::span<const SettingRow> SettingsTable();

// How many numbered keys a record table has (1 for a single key).
int RecordSlots(SettingRecord record);

// The key's name; `slot` (from 0) numbers it from 1 when the row is numbered.
std::string SettingKeyName(const SettingRow& row, int slot);

// Calls visit(row, slot) for every key in table order: single keys once,
// each record's keys together, record after record.
template <typename Visit>
void ForEachSettingKey(Visit&& visit) {
  const std::span<const SettingRow> rows = SettingsTable();
  std::size_t first = 0;
  while (first < rows.size()) {
    std::size_t end = first + 1;
    while (end < rows.size() && rows[end].record == rows[first].record) ++end;
    for (int slot = 0; slot < RecordSlots(rows[first].record); ++slot) {
      for (std::size_t r = first; r < end; ++r) visit(rows[r], slot);
    }
    first = end;
  }
}

// AutoCheckTime as kept: 0 stays 0, other values below 10 become 10, values
// above 43200 become 43200.
std::int32_t ClampAutoCheckTime(std::int32_t seconds);

// TimeOut as kept: 0 to 3600 seconds.
std::int32_t ClampTimeOut(std::int32_t seconds);
// LimitMailSize as kept: 0 to the largest size a message is taken as (1 MiB),
// which already covers every larger limit.
std::int32_t ClampLimitMailSize(std::int32_t bytes);

// The mail window's saved rectangle keeps each edge within the coordinates a
// window message can carry (16-bit), so that its width and height never overflow.
inline constexpr std::int32_t kScreenCoordinateLimit = 32767;
std::int32_t ClampScreenCoordinate(std::int32_t coordinate);

// Mail%dPort as kept: a TCP port number 0 to 65535, anything else 0.
std::int32_t ClampMailPort(std::int32_t port);

inline bool IsOlderLauncherForm(SettingCodec codec) { return codec >= SettingCodec::kOlderPath; }

}  // namespace vsmr
