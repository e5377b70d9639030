// The start-up and save sequences over both files: a first start writes the
// first-start file, the command list and the hot key survive a close, lines
// the load left and files it could not read survive every save, failures are
// named, and the files are found beside the executable.
#include <gtest/gtest.h>

#include <filesystem>

#include "program/program_settings.h"
#include "settings/settings_fixture.h"

namespace vsmr::test {
namespace {

ProgramFiles FilesIn(const SettingsFolder& folder) {
  ProgramFiles files;
  files.settings_path = folder.SettingsPath();
  files.command_file_path = folder.Dir().File("vsmrcmd.dat");
  files.default_icon_path = std::string(kFirstStartIcon);
  return files;
}

struct Program {
  std::unique_ptr<SettingsState> settings = std::make_unique<SettingsState>();
  std::unique_ptr<CommandList> commands = std::make_unique<CommandList>();

  LoadedFiles loaded;

  void Load(const ProgramFiles& files) {
    loaded = LoadProgramSettings(*settings, *commands, files, 1024, 768);
  }
  // A close right after start-up: the window where it was read, not in the tray.
  bool Save(const ProgramFiles& files) {
    LiveSettings live;
    live.window_position_x = settings->window_position_x;
    live.window_position_y = settings->window_position_y;
    return SaveProgramSettings(*settings, *commands, live, files, loaded).Ok();
  }
};

TEST(ProgramSettings, FirstStartAndCloseWriteTheFirstStartFiles) {
  SettingsFolder folder;
  ProgramFiles files = FilesIn(folder);
  Program p;
  p.Load(files);
  ASSERT_TRUE(p.Save(files));
  EXPECT_EQ(FirstStartBytes(), folder.ReadSettings());
  std::string commands = "(absent)";
  EXPECT_TRUE(ReadWholeFile(files.command_file_path, commands));
  EXPECT_EQ("", commands);
  // A second close changes nothing.
  Program again;
  again.Load(files);
  ASSERT_TRUE(again.Save(files));
  EXPECT_EQ(FirstStartBytes(), folder.ReadSettings());
}

TEST(ProgramSettings, CommandsHotKeyAndItemsRoundTrip) {
  SettingsFolder folder;
  ProgramFiles files = FilesIn(folder);
  folder.WriteSettings(Lines({"[CommandLineLauncher]", "HotKey=1601", "[ButtonLauncher]",
                              "Launcher02Data=1\tC:\\a.exe\ta", "ApplicationPath5=C:\\old.exe",
                              "ShowButton5=1", "Launcher64Data=1\tC:\\z.exe\tz"}));
  WriteFileAtomically(files.command_file_path, "mail\tC:\\m.exe\tmail, with commas\r\nnote\tnotepad\t\r\n");
  Program p;
  p.Load(files);
  EXPECT_EQ(1601, p.settings->hot_key);
  EXPECT_EQ(2, p.commands->count);
  EXPECT_EQ("C:\\old.exe", p.settings->launcher_items[4].comment.View());

  p.settings->hot_key = 0x0241;  // Ctrl+A
  ASSERT_TRUE(p.Save(files));
  std::string bytes = folder.ReadSettings();
  // The hot key's section came first in this file and keeps its place.
  EXPECT_EQ(0u, bytes.find("[CommandLineLauncher]\r\nHotKey=577\r\n[ButtonLauncher]\r\n"));
  std::string commands;
  ReadWholeFile(files.command_file_path, commands);
  EXPECT_EQ("mail\tC:\\m.exe\tmail, with commas\r\nnote\tnotepad\t\r\n", commands);

  Program again;
  again.Load(files);
  EXPECT_EQ(0x0241, again.settings->hot_key);
  for (int i = 0; i < kLauncherItemCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(i == 1 || i == 4 || i == 63 ? 1 : 0, again.settings->launcher_items[i].shown);
  }
  EXPECT_EQ("C:\\old.exe", again.settings->launcher_items[4].path.View());
}

TEST(ProgramSettings, FailedCommandFileWriteStillSavesTheSettings) {
  SettingsFolder folder;
  ProgramFiles files = FilesIn(folder);
  files.command_file_path = folder.Dir().File("missing-folder/vsmrcmd.dat");
  Program p;
  p.Load(files);
  p.settings->hot_key = 7;
  LiveSettings live;
  const ProgramSave save = SaveProgramSettings(*p.settings, *p.commands, live, files, p.loaded);
  EXPECT_FALSE(save.Ok());
  EXPECT_EQ(save.commands.outcome, FileSave::Outcome::kFailed);
  EXPECT_EQ(save.settings.outcome, FileSave::Outcome::kWritten);
  EXPECT_NE(std::string::npos, folder.ReadSettings().find("\r\nHotKey=7\r\n"));
  EXPECT_EQ(folder.Dir().List(), (std::vector<std::string>{"vsmrsys.ini"}));
  // The message names the file and gives the system's reason.
  ASSERT_FALSE(save.commands.reason.empty());
  EXPECT_EQ(SaveFailureText(save),
            files.command_file_path + " に保存できませんでした。\n" + save.commands.reason);
}

TEST(ProgramSettings, LinesTheLoadLeftSurviveTheSaveAndAreNamedAtStartUp) {
  // The hand-edited file of 300 lines with an empty line at line 10.
  std::string bytes;
  for (int i = 1; i <= 300; ++i) {
    bytes += i == 10 ? std::string("\r\n") : "cmd" + std::to_string(i) + "\tC:\\p.exe\tc\r\n";
  }
  SettingsFolder folder;
  ProgramFiles files = FilesIn(folder);
  WriteFileAtomically(files.command_file_path, bytes);
  Program p;
  p.Load(files);
  EXPECT_EQ(9, p.commands->count);
  EXPECT_EQ(LoadedFilesNoticeWord(p.loaded), "FileErrL");
  EXPECT_EQ(LoadedFilesNotice(p.loaded, files),
            files.command_file_path +
                " の 10 行目から後は、空の行があるため読み込んでいません。\n"
                "これらの行はファイルにそのまま残します。");
  ASSERT_TRUE(p.Save(files));
  std::string saved;
  ReadWholeFile(files.command_file_path, saved);
  EXPECT_EQ(saved, bytes);

  // A command added during the run joins the table; the 291 lines follow it.
  CommandEntry& added = p.commands->entries[p.commands->count++];
  added.name.Set("new");
  added.body.Set("n.exe");
  ASSERT_TRUE(p.Save(files));
  ReadWholeFile(files.command_file_path, saved);
  const std::size_t table_end = bytes.find("\r\n\r\n") + 2;
  EXPECT_EQ(saved, bytes.substr(0, table_end) + "new\tn.exe\t\r\n" + bytes.substr(table_end));
  Program again;
  again.Load(files);
  EXPECT_EQ(10, again.commands->count);
}

TEST(ProgramSettings, AFileThatCouldNotBeReadIsNeverWritten) {
  SettingsFolder folder;
  ProgramFiles files = FilesIn(folder);
  // Something that exists under the file's name and cannot be read as a file.
  std::filesystem::create_directory(files.command_file_path);
  Program p;
  p.Load(files);
  EXPECT_EQ(p.loaded.commands.outcome, FileReadOutcome::kUnreadable);
  EXPECT_EQ(LoadedFilesNoticeWord(p.loaded), "FileErrR");
  EXPECT_EQ(LoadedFilesNotice(p.loaded, files),
            files.command_file_path + " を読み込めませんでした。\n" + p.loaded.commands.reason +
                "\nこのファイルは書き換えません。読めるようにしてから起動し直してください。");
  p.commands->count = 1;
  p.commands->entries[0].name.Set("a");
  p.commands->entries[0].body.Set("b");
  LiveSettings live;
  ProgramSave save = SaveProgramSettings(*p.settings, *p.commands, live, files, p.loaded);
  EXPECT_TRUE(save.Ok());
  EXPECT_EQ(save.commands.outcome, FileSave::Outcome::kLeftAlone);
  EXPECT_EQ(save.settings.outcome, FileSave::Outcome::kWritten);
  EXPECT_TRUE(std::filesystem::is_directory(files.command_file_path));
  EXPECT_EQ(folder.Dir().List(), (std::vector<std::string>{"vsmrcmd.dat", "vsmrsys.ini"}));

  // Read at start-up but not at the save: the settings file is not written either.
  std::filesystem::remove(folder.SettingsPath());
  std::filesystem::create_directory(folder.SettingsPath());
  save = SaveProgramSettings(*p.settings, *p.commands, live, files, p.loaded);
  EXPECT_FALSE(save.Ok());
  EXPECT_EQ(save.settings.outcome, FileSave::Outcome::kFailed);
  EXPECT_FALSE(save.settings.reason.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder.SettingsPath()));
}

TEST(ProgramSettings, ALockSavedWithoutAPasswordStartsOff) {
  const struct {
    const char* name;
    const char* password_line;
    int lock;
  } rows[] = {
      {"no password key", "UsingDropFile=0", 0},
      {"empty password", "LeaveRoomPassword=", 0},
      {"password set", "LeaveRoomPassword=Secret", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SettingsFolder folder;
    ProgramFiles files = FilesIn(folder);
    folder.WriteSettings(Lines({"[OtherSettings]", "LeaveRoomMode=1", row.password_line}));
    Program p;
    p.Load(files);
    EXPECT_EQ(row.lock, p.settings->leave_room_mode);
  }
}

TEST(ProgramSettings, FilesBesideTheExecutable) {
  const struct {
    const char* exe;
    const char* settings;
    const char* commands;
    const char* icon;
  } rows[] = {
      {"C:\\Program Files\\Vesmira\\vesmira.exe", "C:\\Program Files\\Vesmira\\vsmrsys.ini",
       "C:\\Program Files\\Vesmira\\vsmrcmd.dat", "C:\\Program Files\\Vesmira\\vesmira.exe"},
      {"C:\\vesmira.exe", "C:\\vsmrsys.ini", "C:\\vsmrcmd.dat", "C:\\vesmira.exe"},
      // 表, ソ and 能 end in the byte of a backslash.
      {"D:\\ソフト\\表\\vsm.exe", "D:\\ソフト\\表\\vsmrsys.ini", "D:\\ソフト\\表\\vsmrcmd.dat",
       "D:\\ソフト\\表\\vesmira.exe"},
      {"C:\\ソ\\能.exe", "C:\\ソ\\vsmrsys.ini", "C:\\ソ\\vsmrcmd.dat", "C:\\ソ\\vesmira.exe"},
      {"C:\\ソ.exe", "C:\\vsmrsys.ini", "C:\\vsmrcmd.dat", "C:\\vesmira.exe"},
      // Without a folder the settings file keeps its backslash, the command file does not.
      {"vesmira.exe", "\\vsmrsys.ini", "vsmrcmd.dat", "\\vesmira.exe"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.exe);
    ProgramFiles files = ProgramFilesFor(row.exe);
    EXPECT_EQ(row.settings, files.settings_path);
    EXPECT_EQ(row.commands, files.command_file_path);
    EXPECT_EQ(row.icon, files.default_icon_path);
  }
}

}  // namespace
}  // namespace vsmr::test
