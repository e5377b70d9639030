// The start-up and save sequences over both files: the exact first-start
// file, the hot key's section last, buttons for shown items, and the paths
// formed from the executable's location.
#include <gtest/gtest.h>

#include "settings/settings_sequence.h"
#include "settings_fixture.h"

namespace vsmr::test {
namespace {

ProgramFiles FilesIn(const SettingsFolder& folder) {
  ProgramFiles files;
  files.settings_path = folder.SettingsPath();
  files.command_file_path = folder.Dir().File("vsmrcmd.dat");
  files.default_icon_path = "C:\\Program Files\\Vesmira\\vesmira.exe";
  return files;
}

struct Program {
  std::unique_ptr<SettingsState> settings = FreshState();
  std::unique_ptr<CommandList> commands = std::make_unique<CommandList>();
  std::uint16_t hot_key = 0;
  RecordingWindow window;
};

TEST(SettingsSequence, FirstStartAndCloseWriteTheDescribedFiles) {
  SettingsFolder folder;
  ProgramFiles files = FilesIn(folder);
  Program p;
  EXPECT_EQ(0, LoadProgramSettings(*p.settings, *p.commands, p.hot_key, p.window, files));
  EXPECT_TRUE(p.window.shown_items.empty());
  ASSERT_TRUE(SaveProgramSettings(*p.settings, *p.commands, p.hot_key, 0, p.window, files));
  EXPECT_EQ(FirstStartSettingsBytes(files.default_icon_path) + "[CommandLineLauncher]\r\nHotKey=0\r\n",
            folder.ReadSettings());
  std::string commands = "(absent)";
  EXPECT_TRUE(ReadWholeFile(files.command_file_path, commands));
  EXPECT_EQ("", commands);
}

TEST(SettingsSequence, CommandsHotKeyAndItemsRoundTrip) {
  SettingsFolder folder;
  ProgramFiles files = FilesIn(folder);
  folder.WriteSettings(Lines({"[CommandLineLauncher]", "HotKey=1601", "[ButtonLauncher]",
                              "Launcher02Data=1\tC:\\a.exe\ta", "ApplicationPath5=C:\\old.exe",
                              "ShowButton5=1", "Launcher64Data=1\tC:\\z.exe\tz"}));
  WriteFileAtomically(files.command_file_path, "mail\tC:\\m.exe\tmail, with commas\r\nnote\tnotepad\t\r\n");
  Program p;
  LoadProgramSettings(*p.settings, *p.commands, p.hot_key, p.window, files);
  EXPECT_EQ(1601, p.hot_key);
  EXPECT_EQ(2, p.commands->count);
  EXPECT_EQ((std::vector<int>{1, 4, 63}), p.window.shown_items);
  EXPECT_EQ("C:\\old.exe", p.settings->launcher_items[4].comment.View());

  p.hot_key = 0x0241;  // Ctrl+A
  ASSERT_TRUE(SaveProgramSettings(*p.settings, *p.commands, p.hot_key, 0, p.window, files));
  std::string bytes = folder.ReadSettings();
  // The hot key's section came first in this file and keeps its place.
  EXPECT_EQ(0u, bytes.find("[CommandLineLauncher]\r\nHotKey=577\r\n[ButtonLauncher]\r\n"));
  std::string commands;
  ReadWholeFile(files.command_file_path, commands);
  EXPECT_EQ("mail\tC:\\m.exe\tmail, with commas\r\nnote\tnotepad\t\r\n", commands);

  Program again;
  LoadProgramSettings(*again.settings, *again.commands, again.hot_key, again.window, files);
  EXPECT_EQ(0x0241, again.hot_key);
  EXPECT_EQ(p.window.shown_items, again.window.shown_items);
  EXPECT_EQ("C:\\old.exe", again.settings->launcher_items[4].path.View());
}

TEST(SettingsSequence, FilesBesideTheExecutable) {
  const struct {
    const char* exe;
    const char* settings;
    const char* commands;
    const char* icon;
  } rows[] = {
      {"C:\\Program Files\\Vesmira\\vesmira.exe", "C:\\Program Files\\Vesmira\\vsmrsys.ini",
       "C:\\Program Files\\Vesmira\\vsmrcmd.dat", "C:\\Program Files\\Vesmira\\vesmira.exe"},
      // 表 and ソ end in the byte of a backslash.
      {"D:\\ソフト\\表\\vsm.exe", "D:\\ソフト\\表\\vsmrsys.ini", "D:\\ソフト\\表\\vsmrcmd.dat",
       "D:\\ソフト\\表\\vesmira.exe"},
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
