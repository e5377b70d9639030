// Shared pieces of the settings tests: a recording main window, INI text
// built from lines, and loading or saving a state through a file on disk.
#pragma once
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace vsmr::test {

// A main window that records what loading did to it and answers saving.
class RecordingWindow : public SettingsWindowHooks {
 public:
  ScreenPoint work_area{1024, 768};
  ScreenPoint position{0, 0};
  bool kept_open = false;
  std::vector<ScreenPoint> moves;
  std::vector<int> commands;
  std::vector<int> shown_items;

  ScreenPoint WorkAreaRightBottom() override { return work_area; }
  void MoveMainWindow(ScreenPoint to) override { moves.push_back(to); }
  void SendWindowCommand(int command) override { commands.push_back(command); }
  ScreenPoint MainWindowPosition() override { return position; }
  bool LauncherBoxKeptOpen() override { return kept_open; }
  void LauncherItemShown(int index) override { shown_items.push_back(index); }
};

// Lines joined with CR LF, each line ended.
inline std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// A folder with a settings file in it (absent until written).
class SettingsFolder {
 public:
  std::string SettingsPath() const { return dir_.File("vsmrsys.ini"); }
  void WriteSettings(const std::string& bytes) const { WriteFileAtomically(SettingsPath(), bytes); }
  std::string ReadSettings() const {
    std::string bytes;
    ReadWholeFile(SettingsPath(), bytes);
    return bytes;
  }
  ProfileDocument Load() const { return ProfileDocument::Load(SettingsPath()); }
  const TempDir& Dir() const { return dir_; }

 private:
  TempDir dir_;
};

// A fresh state on the heap (it is about 60 KB).
inline std::unique_ptr<SettingsState> FreshState() { return std::make_unique<SettingsState>(); }

}  // namespace vsmr::test

namespace vsmr::test {

// One write of a save, as the store made it.
struct RecordedWrite {
  std::string section, key, text;
  bool operator==(const RecordedWrite&) const = default;
};

class RecordingWriter : public SettingsWriter {
 public:
  std::vector<RecordedWrite> writes;
  void Write(std::string_view section, std::string_view key, std::string_view text) override {
    writes.push_back({std::string(section), std::string(key), std::string(text)});
  }
};

}  // namespace vsmr::test

namespace vsmr::test {

// vsmrsys.ini as the first close without a file writes it (before the hot
// key): every default, a 1024 x 768 work area, window at (0, 0), not in the
// tray, and all 64 items from the older form's defaults.
inline std::string FirstStartSettingsBytes(std::string_view icon_path) {
  std::string text = Lines({
      "[UserWindowData]", "CommandLineLauncher=0", "CommandLineLauncherLength=100",
      "WindowPositionX=0", "WindowPositionY=0", "InTaskOrNot=0", "SkinBitmapPath=",
      "CommandLauncherCmbBxFont=", "ClockFontColor=4259584", "NewMailDialogLeft=232",
      "NewMailDialogTop=219", "NewMailDialogRight=792", "NewMailDialogBottom=549",
      "NewMailDialogListHeight=110", "[TimerAlarmData]"});
  for (int i = 1; i <= 8; ++i) text += "CommandTimer0" + std::to_string(i) + "=0,00:00,\r\n";
  text += Lines({"[MailPopSetting]", "AutoCheckTime=0", "ShowMailDialog=1",
                 "SavePreviousMailStatus=0", "MailLauncherCommand=", "MailLauncherOrNot=0",
                 "TimeOut=10", "LimitMailSize=65536", "DeleteMailPermission=0"});
  for (int i = 1; i <= 5; ++i) text += "Mail" + std::to_string(i) + "AccountData=0\t\t\t\t\r\n";
  text += Lines({"[OtherSettings]", "UsingDropFile=0", "LeaveRoomMode=0", "LeaveRoomPassword=",
                 "[ButtonLauncher]"});
  for (int i = 1; i <= 64; ++i) {
    char n[3] = {static_cast<char>('0' + i / 10), static_cast<char>('0' + i % 10), '\0'};
    text += std::string("Launcher") + n + "Data=0\tnot found\tnot found\r\n";
    text += std::string("Launcher") + n + "Icon=0\t" + std::string(icon_path) + "\r\n";
  }
  return text;
}

}  // namespace vsmr::test
