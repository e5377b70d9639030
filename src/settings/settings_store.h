// Reading vsmrsys.ini into SettingsState and writing it back, both driven by
// the settings table: each key with its default, read length, clamp and
// compound layout, the launcher items in either form, and the hot key.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "profile/profile_access.h"
#include "settings/settings_records.h"
#include "settings/settings_table.h"

namespace vsmr {

// What loading takes from outside the file.
struct SettingsLoadInputs {
  // Right and bottom edges of the desktop work area: the mail window's
  // default rectangle is centred on their halves.
  std::int32_t work_area_right = 0;
  std::int32_t work_area_bottom = 0;
  // The icon path of a launcher item of the older form that names none.
  std::string_view default_icon_path = "";
};

// Reads every key of the table from `file` into `state` and rebuilds the
// mail check list. Nothing else changes: applying what was read (moving the
// window, opening the launcher box) is the caller's.
void LoadSettingsFile(SettingsState& state, const ProfileDocument& file,
                      const SettingsLoadInputs& inputs);

// Receives the writes of a save, in order: the row and record slot each
// belongs to, the key's name and the text stored for it (integers already
// formatted with "%d").
class SettingsWriter {
 public:
  virtual ~SettingsWriter() = default;
  virtual void Write(const SettingRow& row, int slot, std::string_view key,
                     std::string_view text) = 0;
  // Whether the file written to already has the key: a key that is left out
  // at its default is written only then. A writer that sees no file takes
  // every key as held and so receives every write.
  virtual bool Holds(std::string_view /*section*/, std::string_view /*key*/) const { return true; }
};

// Writes into a ProfileDocument, which the caller saves once afterwards.
class DocumentWriter : public SettingsWriter {
 public:
  explicit DocumentWriter(ProfileDocument& document) : document_(document) {}
  void Write(const SettingRow& row, int, std::string_view key, std::string_view text) override {
    document_.WriteString(row.section, key, text);
  }
  bool Holds(std::string_view section, std::string_view key) const override {
    return document_.Has(section, key);
  }

 private:
  ProfileDocument& document_;
};

// Writes every key of the table that a save writes, in table order: `live`
// gives the window's values, the state everything else. A disabled account
// (one without a check-list entry) keeps whatever previous state the file holds.
void SaveSettingsFile(const SettingsState& state, const LiveSettings& live, SettingsWriter& out);

// Writes the mail launcher's list of messages whose commands ran from
// `state` into the settings file at `path` at once, that key alone: a
// command that restarts the system must not run again after the restart.
// False without a path.
bool WriteMailLauncherRuns(const SettingsState& state, const std::string& path);

// The settings file beside the executable: its full path cut at its last
// backslash (a Shift-JIS trail byte 0x5C is not one), then "\vsmrsys.ini".
std::string SettingsPath(std::string_view executable_path);

// The icon path an item of the older form gets when it names none: the
// settings file's folder (cut at its last backslash) and "\vesmira.exe".
std::string DefaultIconPath(std::string_view settings_path);

}  // namespace vsmr
