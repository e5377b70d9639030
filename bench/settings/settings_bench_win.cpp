// Times the save sequence on fully populated tables against the same writes
// made key by key through WritePrivateProfileStringA, checks that both give
// the same bytes, and prints the ratio.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "base/file_io.h"
#include "command/command_file.h"
#include "program/program_settings.h"
#include "settings/settings_store.h"

namespace vsmr {
namespace {

// Every key through the platform's profile writer, one call (and one file
// rewrite) per key.
class PlatformWriter : public SettingsWriter {
 public:
  explicit PlatformWriter(const std::string& path) : path_(path) {}
  void Write(const SettingRow& row, int, std::string_view key, std::string_view text) override {
    WritePrivateProfileStringA(std::string(row.section).c_str(), std::string(key).c_str(),
                               std::string(text).c_str(), path_.c_str());
  }
  bool Holds(std::string_view section, std::string_view key) const override {
    char value[4] = {};
    GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), "\x01",
                             value, sizeof value, path_.c_str());
    return value[0] != '\x01';
  }

 private:
  std::string path_;
};

std::string Filled(char c, std::size_t n, int i) {
  std::string s(n, c);
  s[0] = static_cast<char>('A' + i % 26);
  return s;
}

void Populate(SettingsState& s, CommandList& commands) {
  s.skin_bitmap_path.Set(Filled('s', 259, 0));
  s.command_launcher_cmb_bx_font.Set("ＭＳ ゴシック");
  s.auto_check_time = 600;
  s.save_previous_mail_status = 1;
  s.mail_launcher_command.Set(Filled('m', 255, 0));
  s.leave_room_password.Set(Filled('w', 31, 0));
  s.hot_key = 0x0641;
  for (int i = 0; i < kLauncherItemCount; ++i) {
    LauncherItem& item = s.launcher_items[i];
    item.shown = i % 2;
    item.path.Set(Filled('p', 259, i));
    item.comment.Set(Filled('c', 255, i));
    item.icon_path.Set(Filled('i', 259, i));
    item.icon_index = i;
  }
  for (int i = 0; i < kCommandTimerCount; ++i) {
    s.timers[i] = CommandTimer{i, i * 7, 1, {}};
    s.timers[i].command.Set(Filled('t', 127, i));
  }
  for (int i = 0; i < kMailAccountCount; ++i) {
    MailAccount& a = s.accounts[i];
    a.enabled = 1;
    a.server.Set(Filled('h', 255, i));
    a.user_name.Set(Filled('u', 63, i));
    a.password.Set(Filled('x', 63, i));
    a.sound_file.Set(Filled('f', 259, i));
    PreviousMailState& e = s.check_list.entries[i];
    e.account = i;
    e.message_count = 100 + i;
    e.key_text.Set(Filled('k', 127, i));
  }
  s.check_list.count = kMailAccountCount;
  commands.count = kMaxCommands;
  for (int i = 0; i < kMaxCommands; ++i) {
    commands.entries[i].name.Set(Filled('n', 127, i) + std::to_string(i));
    commands.entries[i].body.Set(Filled('b', 259, i));
    commands.entries[i].comment.Set(Filled('o', 255, i));
  }
}

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string Folder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string dir = std::string(temp) + name + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

void Remove(const ProgramFiles& files) {
  DeleteFileA(files.settings_path.c_str());
  DeleteFileA(files.command_file_path.c_str());
}

void RemoveFolder(const ProgramFiles& files) {
  Remove(files);
  std::string dir = files.settings_path.substr(0, files.settings_path.rfind('\\'));
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace vsmr

int main() {
  using namespace vsmr;
  auto settings = std::make_unique<SettingsState>();
  auto commands = std::make_unique<CommandList>();
  Populate(*settings, *commands);
  LiveSettings live;
  live.command_line_launcher = 1;
  live.window_position_x = -1500;
  live.window_position_y = 12;
  live.in_task_or_not = 1;
  ProgramFiles ours = ProgramFilesFor(Folder("vsmr-bench-ours-") + "\\vesmira.exe");
  ProgramFiles theirs = ProgramFilesFor(Folder("vsmr-bench-keys-") + "\\vesmira.exe");
  const int kOurRounds = 200;
  const int kKeyRounds = 10;

  // Each round is a close over the file the previous round left, as in use;
  // the first round of each creates the files.
  Remove(ours);
  double start = Seconds();
  for (int r = 0; r < kOurRounds; ++r) {
    SaveProgramSettings(*settings, *commands, live, ours, LoadedFiles{});
  }
  double our_time = (Seconds() - start) / kOurRounds;

  Remove(theirs);
  start = Seconds();
  for (int r = 0; r < kKeyRounds; ++r) {
    PlatformWriter out(theirs.settings_path);
    SaveSettingsFile(*settings, live, out);
    WriteFileAtomically(theirs.command_file_path, FormatCommandFile(*commands));
  }
  double key_time = (Seconds() - start) / kKeyRounds;

  std::string a, b, ca, cb;
  bool same = ReadWholeFile(ours.settings_path, a) && ReadWholeFile(theirs.settings_path, b) &&
              a == b && ReadWholeFile(ours.command_file_path, ca) &&
              ReadWholeFile(theirs.command_file_path, cb) && ca == cb;
  std::printf("settings file %zu bytes, command file %zu bytes: %s\n", a.size(), ca.size(),
              same ? "identical" : "DIFFERENT");
  std::printf("save sequence, one document:        %10.3f ms per save (%d rounds)\n",
              our_time * 1000, kOurRounds);
  std::printf("WritePrivateProfileStringA per key: %10.3f ms per save (%d rounds)\n",
              key_time * 1000, kKeyRounds);
  std::printf("ratio: %.1fx faster\n", key_time / our_time);
  RemoveFolder(ours);
  RemoveFolder(theirs);
  return same ? 0 : 1;
}
