// Shared pieces of the settings tests: INI text built from lines, a folder
// with a settings file, loading and saving through it, the writes of a save,
// and the first-start file kept in tests/settings/data.
#pragma once
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace vsmr::test {

// The icon path of the first-start file: the program in C:\Vesmira.
inline constexpr std::string_view kFirstStartIcon = "C:\\Vesmira\\vesmira.exe";

// vsmrsys.ini as a first start without files leaves it at exit: work area
// 1024 x 768, window at (0, 0), not in the tray, program in C:\Vesmira.
inline std::string FirstStartBytes() {
#ifdef _WIN32
  const std::string path = std::string(VSMR_SOURCE_DIR) + "\\tests\\settings\\data\\first_start_vsmrsys.ini";
#else
  const std::string path = std::string(VSMR_SOURCE_DIR) + "/tests/settings/data/first_start_vsmrsys.ini";
#endif
  std::string bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

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

// A state on the heap (it is about 60 KB) loaded from `bytes` as a settings
// file, with a 1024 x 768 work area unless told otherwise.
inline std::unique_ptr<SettingsState> LoadBytes(const std::string& bytes,
                                                std::string_view icon = kFirstStartIcon,
                                                std::int32_t right = 1024,
                                                std::int32_t bottom = 768) {
  SettingsFolder folder;
  folder.WriteSettings(bytes);
  auto state = std::make_unique<SettingsState>();
  SettingsLoadInputs inputs;
  inputs.work_area_right = right;
  inputs.work_area_bottom = bottom;
  inputs.default_icon_path = icon;
  LoadSettingsFile(*state, folder.Load(), inputs);
  return state;
}

// The bytes a save of `state` leaves over a file holding `before`.
inline std::string SaveOver(const std::string& before, const SettingsState& state,
                            const LiveSettings& live = {}) {
  SettingsFolder folder;
  folder.WriteSettings(before);
  ProfileDocument file = folder.Load();
  DocumentWriter out(file);
  SaveSettingsFile(state, live, out);
  return file.Bytes();
}

// One write of a save, as the store made it.
struct RecordedWrite {
  std::string section, key, text;
  bool operator==(const RecordedWrite&) const = default;
};

class RecordingWriter : public SettingsWriter {
 public:
  std::vector<RecordedWrite> writes;
  void Write(const SettingRow& row, int, std::string_view key, std::string_view text) override {
    writes.push_back({std::string(row.section), std::string(key), std::string(text)});
  }
  // The text written for `key`, or "(absent)".
  std::string Find(std::string_view key) const {
    for (const auto& w : writes) {
      if (w.key == key) return w.text;
    }
    return "(absent)";
  }
};

}  // namespace vsmr::test
