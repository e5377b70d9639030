// vsmr settings: runs the program's start-up sequence on a folder's files and
// prints every setting as the next save would write it (keys that a save
// leaves out at their default included), with a note for each value that
// save would change in the file.
#include <cstdio>
#include <string_view>

#include "console_text.h"
#include "settings/compound_value.h"
#include "settings/settings_store.h"
#include "settings_tool.h"
#include "subcommand.h"

namespace vsmr::tool {
namespace {

constexpr std::string_view kAbsent = "\x01(absent)";

std::string ReadRaw(const ProfileDocument& file, std::string_view section, std::string_view key) {
  char buffer[8192];
  file.ReadString(section, key, kAbsent, buffer, sizeof buffer);
  return buffer;
}

// One write of the save, with the table row and record slot it belongs to.
struct Entry {
  const SettingRow* row;
  int slot;
  std::string key, text;
};

class ListingWriter : public SettingsWriter {
 public:
  std::vector<Entry> entries;
  void Write(const SettingRow& row, int slot, std::string_view key, std::string_view text) override {
    entries.push_back({&row, slot, std::string(key), std::string(text)});
  }
};

// The name of the first older-form key of item `slot` the file holds, or
// nothing when it holds none.
std::string OlderLauncherKey(const ProfileDocument& file, int slot) {
  std::string first;
  for (const SettingRow& row : SettingsTable()) {
    if (row.codec == SettingCodec::kOlderPath) first = SettingKeyName(row, slot);
  }
  for (const SettingRow& row : SettingsTable()) {
    if (IsOlderLauncherForm(row.codec) && ReadRaw(file, row.section, SettingKeyName(row, slot)) != kAbsent) {
      return first;
    }
  }
  return {};
}

// Why `before` (as read now) becomes `after` (as read after the next save).
std::string Reason(const Entry& e, const std::string& before, const std::string& after) {
  const SettingRow& row = *e.row;
  if (row.clamp && NumericField(before) != NumericField(after)) return "clamped";
  if (row.live == &LiveSettings::command_line_launcher) return "launcher box not kept open";
  if (row.codec == SettingCodec::kTimer) {
    FieldCursor a(before), b(after);
    bool same = true;
    for (char sep : {',', ':', ','}) same = same && NumericField(a.Next(sep)) == NumericField(b.Next(sep));
    if (same && a.Rest() == b.Rest()) return "hour and minute written with two digits";
  }
  return "rewritten";
}

void PrintLine(std::string_view a, std::string_view b, std::string_view c) {
  std::printf("%s\t%s\t%s\n", EscapeField(a).c_str(), EscapeField(b).c_str(), EscapeField(c).c_str());
}

void PrintNote(const Entry& e, const std::string& text) {
  std::printf("note\t%s\t%s\t%s\n", EscapeField(e.row->section).c_str(), EscapeField(e.key).c_str(),
              EscapeField(text).c_str());
}

int RunSettings(const std::vector<std::string>& args) {
  LoadedProgram program;
  if (!LoadFolder("settings", args, program)) return 2;

  ListingWriter listing;
  SaveSettingsFile(*program.settings, program.Live(), listing);

  // The file as it is, and as it will read after the next save.
  ProfileDocument now = ProfileDocument::Load(program.files.settings_path);
  ProfileDocument next = ProfileDocument::Load(program.files.settings_path);
  DocumentWriter apply(next);
  SaveSettingsFile(*program.settings, program.Live(), apply);

  int absent = 0;
  for (const Entry& e : listing.entries) {
    PrintLine(e.row->section, e.key, e.text);
    std::string before = ReadRaw(now, e.row->section, e.key);
    std::string after = ReadRaw(next, e.row->section, e.key);
    if (before == kAbsent && after == kAbsent) {
      continue;  // left out at its default: the file stays as it is
    } else if (before == kAbsent) {
      std::string older = e.row->codec == SettingCodec::kItemData ? OlderLauncherKey(now, e.slot) : "";
      if (!older.empty()) {
        PrintNote(e, "older launcher form converted (" + older + " and its siblings stay, unread)");
      } else {
        ++absent;
      }
    } else if (before != after) {
      PrintNote(e, Reason(e, before, after) + ": " + before + " -> " + after);
    }
  }
  if (absent > 0) {
    std::printf("note\t\t\t%d absent keys will be written with the values above\n", absent);
  }
  return 0;
}

const Subcommand kSettings("settings", "settings [--dir DIR] [--work-area RIGHT,BOTTOM]", RunSettings);

}  // namespace
}  // namespace vsmr::tool
