// Loading: every row of the settings table read from the document with its
// default and read length, then clamped or split into its record's fields.
#include <algorithm>

#include "settings/compound_codecs.h"
#include "settings/settings_store.h"

namespace vsmr {
namespace {

// The longest read length of the table, terminator included.
constexpr std::size_t kLongestValue = kMailLauncherRunsTextLength;
static_assert(kLongestValue >= 772);

void Store(SettingsState&, std::monostate, std::int32_t, std::string_view) {}
void Store(SettingsState& s, std::int32_t SettingsState::* field, std::int32_t number,
           std::string_view) {
  s.*field = number;
}
void Store(SettingsState& s, std::uint16_t SettingsState::* field, std::int32_t number,
           std::string_view) {
  s.*field = static_cast<std::uint16_t>(number);
}
template <std::size_t N>
void Store(SettingsState& s, FixedText<N> SettingsState::* field, std::int32_t,
           std::string_view text) {
  (s.*field).Set(text);
}

bool IsText(const ScalarField& field) {
  return !std::holds_alternative<std::int32_t SettingsState::*>(field) &&
         !std::holds_alternative<std::uint16_t SettingsState::*>(field);
}

class Loader {
 public:
  Loader(SettingsState& state, const ProfileDocument& file, const SettingsLoadInputs& inputs)
      : s_(state), file_(file), inputs_(inputs) {}

  const MailCheckList& ReadStates() const { return read_states_; }

  void Row(const SettingRow& row, int slot) {
    if (!Wanted(row, slot)) return;
    const std::string key = SettingKeyName(row, slot);
    if (row.codec == SettingCodec::kOlderIconIndex || row.codec == SettingCodec::kOlderShown ||
        row.codec == SettingCodec::kAccountNumber ||
        (row.codec == SettingCodec::kScalar && !IsText(row.field))) {
      std::int32_t number = file_.ReadInt(row.section, key, NumberDefault(row));
      if (row.clamp) number = row.clamp(number);
      Number(row, slot, number);
      return;
    }
    char value[kLongestValue];
    std::size_t length = row.read_length < sizeof value ? row.read_length : sizeof value;
    file_.ReadString(row.section, key, TextDefault(row, slot), value, length);
    Text(row, slot, std::string_view(value));
  }

 private:
  // Which keys this file's values call for: an item's icon key only with its
  // data key, the older form only without it, and the previous state only of
  // an enabled account while it is kept.
  bool Wanted(const SettingRow& row, int slot) const {
    if (row.codec == SettingCodec::kItemIcon) return !older_item_;
    if (IsOlderLauncherForm(row.codec)) return older_item_;
    if (row.codec == SettingCodec::kPreviousMail) {
      return s_.save_previous_mail_status != 0 && s_.accounts[slot].enabled != 0;
    }
    return true;
  }

  std::int32_t NumberDefault(const SettingRow& row) const {
    switch (row.default_from) {
      case DefaultFrom::kHalfWorkWidth: return inputs_.work_area_right / 2 + row.number_default;
      case DefaultFrom::kHalfWorkHeight: return inputs_.work_area_bottom / 2 + row.number_default;
      default: return row.number_default;
    }
  }

  std::string_view TextDefault(const SettingRow& row, int slot) const {
    switch (row.default_from) {
      case DefaultFrom::kItemPath: return s_.launcher_items[slot].path.View();
      case DefaultFrom::kDefaultIconPath: return inputs_.default_icon_path;
      default: return row.text_default;
    }
  }

  void Number(const SettingRow& row, int slot, std::int32_t number) {
    LauncherItem& item = s_.launcher_items[slot];
    switch (row.codec) {
      case SettingCodec::kOlderIconIndex: item.icon_index = number; return;
      case SettingCodec::kOlderShown: item.shown = number; return;
      case SettingCodec::kAccountNumber: s_.accounts[slot].*row.account_field = number; return;
      default: std::visit([&](auto field) { Store(s_, field, number, {}); }, row.field);
    }
  }

  void Text(const SettingRow& row, int slot, std::string_view value) {
    CompoundReader fields(value);
    switch (row.codec) {
      case SettingCodec::kScalar:
        std::visit([&](auto field) { Store(s_, field, 0, value); }, row.field);
        return;
      case SettingCodec::kTimer: TimerFields(fields, s_.timers[slot]); return;
      case SettingCodec::kAccount: AccountFields(fields, s_.accounts[slot]); return;
      case SettingCodec::kPreviousMail: {
        PreviousMailState& entry = read_states_.entries[read_states_.count++];
        entry.account = slot;
        PreviousMailFields(fields, entry);
        // A count is never negative: the new-mail count subtracts it from the
        // server's, which must not overflow.
        entry.message_count = std::max(entry.message_count, 0);
        return;
      }
      case SettingCodec::kItemData:
        // The default comes back only for an absent key: a saved empty item
        // reads as "0", its trailing tabs dropped as blanks.
        older_item_ = value == row.text_default;
        if (!older_item_) ItemDataFields(fields, s_.launcher_items[slot]);
        return;
      case SettingCodec::kItemIcon: ItemIconFields(fields, s_.launcher_items[slot]); return;
      case SettingCodec::kLauncherRuns: s_.mail_launcher_runs = ParseMailLauncherRuns(value); return;
      case SettingCodec::kOlderPath: s_.launcher_items[slot].path.Set(value); return;
      case SettingCodec::kOlderComment: s_.launcher_items[slot].comment.Set(value); return;
      case SettingCodec::kOlderIconPath: s_.launcher_items[slot].icon_path.Set(value); return;
      case SettingCodec::kOlderIconIndex:
      case SettingCodec::kOlderShown:
      case SettingCodec::kAccountNumber:
        return;
    }
  }

  SettingsState& s_;
  const ProfileDocument& file_;
  const SettingsLoadInputs& inputs_;
  bool older_item_ = false;  // the current item's data key is absent
  MailCheckList read_states_;  // the previous states read, one per enabled account
};

}  // namespace

void LoadSettingsFile(SettingsState& state, const ProfileDocument& file,
                      const SettingsLoadInputs& inputs) {
  Loader loader(state, file, inputs);
  ForEachSettingKey([&](const SettingRow& row, int slot) { loader.Row(row, slot); });
  state.check_list = RebuildMailCheckList(state.accounts, loader.ReadStates());
}

}  // namespace vsmr
