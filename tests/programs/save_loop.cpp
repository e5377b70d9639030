// The program's save sequence over a folder's two files, for the crash test
// (crash_test.py): the old state and the new one, saved by the program's own
// file code.
//   save_loop prepare DIR  writes the old files into DIR\old and the new ones
//                          into DIR\new (the old files with the new state saved
//                          over them), and checks that saving either state over
//                          either files gives that state's files again
//   save_loop loop DIR     loads DIR's files, creates DIR\running, then saves the
//                          new state and the old one by turns until it is killed
//   save_loop once DIR     loads DIR's files and saves the new state once; prints
//                          each file's outcome, exit 1 when a write failed
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/file_io.h"
#include "program/program_settings.h"

namespace vsmr {
namespace {

// A hand-edited command file: a line without the second TAB, an over-long
// field, and an empty line with commands after it that loading leaves unread.
std::string HandEditedCommands() {
  std::string bytes = "ed\tC:\\ソフト\\ed.exe\tエディタ\r\nweb\thttp://example.jp/\r\n";
  bytes += "long\t" + std::string(300, 'b') + "\tcut\r\n";
  for (int i = 0; i < 40; ++i) bytes += "c" + std::to_string(i) + "\tC:\\bin\\c.exe %01\tcomment\r\n";
  bytes += "\r\n";
  for (int i = 0; i < 20; ++i) bytes += "unread" + std::to_string(i) + "\tx.exe\t\r\n";
  return bytes;
}

std::string HandEditedSettings() {
  return "; kept as written\r\n[UserWindowData]\r\nWindowPositionX=10\r\nWindowPositionY=20\r\n"
         "[MailPopSetting]\r\nMail1AccountData=1\tpop.example.jp\ttaro\tsecret\t\r\n"
         "[Unknown]\r\nKey=kept\r\n";
}

struct Program {
  ProgramFiles files;
  std::unique_ptr<SettingsState> settings = std::make_unique<SettingsState>();
  std::unique_ptr<CommandList> commands = std::make_unique<CommandList>();
  LoadedFiles loaded;
  LiveSettings live;
};

ProgramFiles FilesIn(const std::string& dir) {
  return ProgramFilesFor(dir + "\\vesmira.exe");
}

std::unique_ptr<Program> Load(const std::string& dir) {
  auto p = std::make_unique<Program>();
  p->files = FilesIn(dir);
  p->loaded = LoadProgramSettings(*p->settings, *p->commands, p->files, 1024, 768);
  p->live.window_position_x = p->settings->window_position_x;
  p->live.window_position_y = p->settings->window_position_y;
  return p;
}

// The new state: what a session of editing changes.
std::unique_ptr<Program> Changed(const Program& old) {
  auto p = std::make_unique<Program>();
  p->files = old.files;
  *p->settings = *old.settings;
  *p->commands = *old.commands;
  p->loaded = old.loaded;
  p->live = old.live;
  p->live.window_position_x = -300;
  p->settings->hot_key = 0x0651;
  p->settings->launcher_items[3].path.Set("C:\\Program Files\\新しい\\tool.exe");
  p->settings->launcher_items[3].shown = 1;
  p->settings->timers[2].command.Set("#109 changed");
  CommandList& c = *p->commands;
  c.entries[0].comment.Set("変更したコメント");
  for (int i = 0; i < 60 && c.count < kMaxCommands; ++i) {
    CommandEntry& e = c.entries[c.count++];
    e.name.Set("added" + std::to_string(i));
    e.body.Set("C:\\追加\\tool" + std::to_string(i) + ".exe %**");
    e.comment.Set("added during the run");
  }
  return p;
}

bool Save(const Program& p, const ProgramFiles& files, bool report = false) {
  const ProgramSave save = SaveProgramSettings(*p.settings, *p.commands, p.live, files, p.loaded);
  if (report) {
    for (const FileSave* f : {&save.commands, &save.settings}) {
      std::printf("%s\t%s\t%s\n", f->path.c_str(),
                  f->outcome == FileSave::Outcome::kWritten ? "written"
                  : f->outcome == FileSave::Outcome::kFailed ? "failed" : "left alone",
                  f->reason.c_str());
    }
  }
  return save.Ok();
}

std::string Bytes(const std::string& path) {
  std::string bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

bool SameFiles(const ProgramFiles& a, const ProgramFiles& b) {
  return Bytes(a.settings_path) == Bytes(b.settings_path) &&
         Bytes(a.command_file_path) == Bytes(b.command_file_path);
}

bool Copy(const ProgramFiles& from, const ProgramFiles& to) {
  return WriteFileAtomically(to.settings_path, Bytes(from.settings_path)) &&
         WriteFileAtomically(to.command_file_path, Bytes(from.command_file_path));
}

int Prepare(const std::string& dir) {
  const ProgramFiles old_files = FilesIn(dir + "\\old");
  const ProgramFiles new_files = FilesIn(dir + "\\new");
  if (!WriteFileAtomically(old_files.command_file_path, HandEditedCommands()) ||
      !WriteFileAtomically(old_files.settings_path, HandEditedSettings()) ||
      !Save(*Load(dir + "\\old"), old_files)) {
    std::printf("cannot write the old files in %s\\old\n", dir.c_str());
    return 2;
  }
  // As the loop will: loaded from the old files.
  const auto old_state = Load(dir + "\\old");
  const auto new_state = Changed(*old_state);
  if (!Copy(old_files, new_files) || !Save(*new_state, new_files)) {
    std::printf("cannot write the new files in %s\\new\n", dir.c_str());
    return 2;
  }
  if (SameFiles(old_files, new_files)) {
    std::printf("the new files are the old ones\n");
    return 2;
  }
  // Either state over either files gives its own files.
  const ProgramFiles scratch = FilesIn(dir + "\\scratch");
  const struct {
    const ProgramFiles& start;
    const Program& state;
    const ProgramFiles& expected;
  } checks[] = {{old_files, *new_state, new_files}, {new_files, *old_state, old_files},
                {old_files, *old_state, old_files}, {new_files, *new_state, new_files}};
  for (const auto& c : checks) {
    if (!Copy(c.start, scratch) || !Save(c.state, scratch) || !SameFiles(scratch, c.expected)) {
      std::printf("a save over %s does not give %s\n", c.start.settings_path.c_str(),
                  c.expected.settings_path.c_str());
      return 2;
    }
  }
  std::printf("old: %zu + %zu bytes, new: %zu + %zu bytes\n", Bytes(old_files.settings_path).size(),
              Bytes(old_files.command_file_path).size(), Bytes(new_files.settings_path).size(),
              Bytes(new_files.command_file_path).size());
  return 0;
}

int Loop(const std::string& dir) {
  const auto old_state = Load(dir);
  const auto new_state = Changed(*old_state);
  if (!WriteFileAtomically(dir + "\\running", "")) return 2;
  for (;;) {
    Save(*new_state, old_state->files);
    Save(*old_state, old_state->files);
  }
}

int Once(const std::string& dir) {
  const auto old_state = Load(dir);
  return Save(*Changed(*old_state), old_state->files, true) ? 0 : 1;
}

}  // namespace
}  // namespace vsmr

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: save_loop prepare|loop|once DIR\n");
    return 2;
  }
  const std::string mode = argv[1];
  if (mode == "prepare") return vsmr::Prepare(argv[2]);
  if (mode == "loop") return vsmr::Loop(argv[2]);
  if (mode == "once") return vsmr::Once(argv[2]);
  std::printf("unknown mode %s\n", argv[1]);
  return 2;
}
