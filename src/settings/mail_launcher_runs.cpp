// The mail launcher's list of messages whose commands ran, as text in
// vsmrsys.ini, and the one-key write made as soon as the list grows.
#include <algorithm>

#include "settings/settings_records.h"
#include "settings/settings_store.h"

namespace vsmr {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr int kIdentityDigits = 16;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string MailLauncherRunsText(const MailLauncherRuns& runs) {
  std::string text;
  const int count = runs.count < 0 ? 0 : std::min(runs.count, kMailLauncherRunsKept);
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ',';
    for (int shift = (kIdentityDigits - 1) * 4; shift >= 0; shift -= 4) {
      text += kHexDigits[(runs.ids[i] >> shift) & 0xF];
    }
  }
  return text;
}

MailLauncherRuns ParseMailLauncherRuns(std::string_view text) {
  MailLauncherRuns runs;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view field = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (field.size() != kIdentityDigits) continue;
    std::uint64_t id = 0;
    bool valid = true;
    for (char c : field) {
      const int digit = HexValue(c);
      valid = valid && digit >= 0;
      id = (id << 4) | static_cast<std::uint64_t>(digit < 0 ? 0 : digit);
    }
    if (valid) runs.Remember(id);
  }
  return runs;
}

bool WriteMailLauncherRuns(const SettingsState& state, const std::string& path) {
  if (path.empty()) return false;
  for (const SettingRow& row : SettingsTable()) {
    if (row.codec != SettingCodec::kLauncherRuns) continue;
    WriteStringSetting(row.section, row.key, MailLauncherRunsText(state.mail_launcher_runs), path);
    return true;
  }
  return false;
}

}  // namespace vsmr
