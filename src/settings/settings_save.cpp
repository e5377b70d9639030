// Saving: every written row of the settings table formatted from the state
// (or the caller's live values), in table order.
#include "settings/compound_codecs.h"
#include "settings/settings_store.h"

namespace vsmr {
namespace {

void Format(const SettingsState&, std::monostate, CompoundText&) {}
void Format(const SettingsState& s, std::int32_t SettingsState::* field, CompoundText& text) {
  text.Number(s.*field);
}
void Format(const SettingsState& s, std::uint16_t SettingsState::* field, CompoundText& text) {
  text.Number(s.*field);
}
template <std::size_t N>
void Format(const SettingsState& s, FixedText<N> SettingsState::* field, CompoundText& text) {
  text.Text(StoredText(s.*field));
}

void SaveRow(const SettingsState& s, const LiveSettings& live, const SettingRow& row, int slot,
             SettingsWriter& out) {
  if (IsOlderLauncherForm(row.codec)) return;
  CompoundText value;
  CompoundWriter fields(value);
  const auto write = [&] { out.Write(row, slot, SettingKeyName(row, slot), value.View()); };
  switch (row.codec) {
    case SettingCodec::kScalar:
      if (row.live) {
        value.Number(live.*row.live);
      } else {
        std::visit([&](auto field) { Format(s, field, value); }, row.field);
      }
      break;
    case SettingCodec::kTimer: TimerFields(fields, s.timers[slot]); break;
    case SettingCodec::kAccount: AccountFields(fields, s.accounts[slot]); break;
    case SettingCodec::kPreviousMail: {
      // Once for each check-list entry of this account: a disabled account
      // has none and keeps what the file holds.
      int entries = s.check_list.count;
      if (entries < 0) entries = 0;
      if (entries > kMailAccountCount) entries = kMailAccountCount;
      for (int e = 0; e < entries; ++e) {
        const PreviousMailState& entry = s.check_list.entries[e];
        if (entry.account != slot) continue;
        value.Clear();
        PreviousMailFields(fields, entry);
        write();
      }
      return;
    }
    case SettingCodec::kItemData: ItemDataFields(fields, s.launcher_items[slot]); break;
    case SettingCodec::kItemIcon: ItemIconFields(fields, s.launcher_items[slot]); break;
    case SettingCodec::kAccountNumber: {
      const std::int32_t number = s.accounts[slot].*row.account_field;
      if (row.omitted_at_default && number == row.number_default &&
          !out.Holds(row.section, SettingKeyName(row, slot))) {
        return;
      }
      value.Number(number);
      break;
    }
    case SettingCodec::kLauncherRuns: {
      // Longer than a compound value: written as it is.
      const std::string text = MailLauncherRunsText(s.mail_launcher_runs);
      if (row.omitted_at_default && text.empty() &&
          !out.Holds(row.section, SettingKeyName(row, slot))) {
        return;
      }
      out.Write(row, slot, SettingKeyName(row, slot), text);
      return;
    }
    default:
      return;
  }
  write();
}

}  // namespace

void SaveSettingsFile(const SettingsState& state, const LiveSettings& live, SettingsWriter& out) {
  ForEachSettingKey(
      [&](const SettingRow& row, int slot) { SaveRow(state, live, row, slot, out); });
}

}  // namespace vsmr
