// Reading vsmrsys.ini into SettingsState and writing it back: the launcher
// items, LoadSettings and SaveSettings, each key in its fixed order with its
// default, read length, clamp and compound layout.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_access.h"
#include "settings/settings_records.h"
#include "settings/settings_window_hooks.h"

namespace vsmr {

// Receives the writes of a save, in order, each as the text stored for the
// key (integers already formatted with "%d").
class SettingsWriter {
 public:
  virtual ~SettingsWriter() = default;
  virtual void Write(std::string_view section, std::string_view key, std::string_view text) = 0;
};

// Writes into a ProfileDocument, which the caller saves once afterwards.
class DocumentWriter : public SettingsWriter {
 public:
  explicit DocumentWriter(ProfileDocument& document) : document_(document) {}
  void Write(std::string_view section, std::string_view key, std::string_view text) override {
    document_.WriteString(section, key, text);
  }

 private:
  ProfileDocument& document_;
};

// Section names, as the file spells them.
inline constexpr std::string_view kUserWindowSection = "UserWindowData";
inline constexpr std::string_view kTimerSection = "TimerAlarmData";
inline constexpr std::string_view kMailSection = "MailPopSetting";
inline constexpr std::string_view kOtherSection = "OtherSettings";
inline constexpr std::string_view kButtonLauncherSection = "ButtonLauncher";

// "Launcher%02dData", "Launcher%02dIcon", "CommandTimer%02d", "Mail%dAccountData",
// "Mail%dPrevMailData" and the older "ApplicationPath%d" and its siblings, for a
// 0-based index.
std::string LauncherDataKey(int index);
std::string LauncherIconKey(int index);
std::string CommandTimerKey(int index);
std::string MailAccountKey(int index);
std::string PrevMailKey(int index);
std::string LegacyLauncherKey(std::string_view name, int index);

// AutoCheckTime as kept: 0 stays 0, other values below 10 become 10, values
// above 43200 become 43200.
std::int32_t ClampAutoCheckTime(std::int32_t seconds);

// The icon path an item of the older form gets when it names none: the
// settings file's folder (cut at its last backslash) and "\vesmira.exe".
std::string DefaultIconPath(std::string_view settings_path);

// Reads item `index` (0 to 63) into `item` (all but the shown flag) and
// returns its shown flag. An absent "LauncherNNData" falls back to the
// older per-key form with `default_icon_path`.
std::int32_t LoadLauncherItem(LauncherItem& item, int index, const ProfileDocument& file,
                              std::string_view default_icon_path);
std::int32_t LoadLegacyLauncherItem(LauncherItem& item, int index, const ProfileDocument& file,
                                    std::string_view default_icon_path);
// Writes "LauncherNNData" and "LauncherNNIcon" of item `index`.
void SaveLauncherItem(const LauncherItem& item, int index, SettingsWriter& out);

// Reads [UserWindowData], [TimerAlarmData], [MailPopSetting] and [OtherSettings]
// into `state`, rebuilds the check list, moves the main window and opens the
// launcher box when asked to. Returns InTaskOrNot as read.
std::int32_t LoadSettings(SettingsState& state, const ProfileDocument& file,
                          SettingsWindowHooks& window);
// Writes the same four sections; `in_tray` is written as InTaskOrNot and the
// main window's position as WindowPositionX/Y.
void SaveSettings(const SettingsState& state, std::int32_t in_tray, SettingsWindowHooks& window,
                  SettingsWriter& out);

// SaveSettings followed by all 64 launcher items: every write of the save
// sequence that belongs to this store, in order.
void WriteSettingsAndItems(const SettingsState& state, std::int32_t in_tray,
                           SettingsWindowHooks& window, SettingsWriter& out);

}  // namespace vsmr
