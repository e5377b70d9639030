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
