// Loading and saving the command list with its hot key, on real files.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/file_io.h"
#include "command/command_list.h"
#include "settings/settings_access.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

TEST(CommandListFileTest, PathBesideTheExecutable) {
  EXPECT_EQ(CommandFilePath("C:\\Program Files\\Vesmira\\vesmira.exe"),
            "C:\\Program Files\\Vesmira\\vsmrcmd.dat");
  EXPECT_EQ(CommandFilePath("C:\\表示\\vesmira.exe"), "C:\\表示\\vsmrcmd.dat");
  // ソ ends in byte 0x5C: the cut is at the real backslash before it.
  EXPECT_EQ(CommandFilePath("C:\\ソ.exe"), "C:\\vsmrcmd.dat");
  EXPECT_EQ(CommandFilePath("vesmira.exe"), "vsmrcmd.dat");
}

TEST(CommandListFileTest, LoadReadsHotKeyAndEntries) {
  TempDir dir;
  const std::string ini = dir.File("vsmrsys.ini");
  const std::string dat = dir.File("vsmrcmd.dat");
  auto list = std::make_unique<CommandList>();
  std::uint16_t hot_key = 99;

  // Nothing on disk: empty list, hot key 0.
  list->count = 5;
  LoadCommandList(*list, hot_key, ini, dat);
  EXPECT_EQ(list->count, 0);
  EXPECT_EQ(hot_key, 0);

  WriteIntSetting("CommandLineLauncher", "HotKey", 0x0641, ini);
  ASSERT_TRUE(WriteFileAtomically(dat, "ed\tC:\\ソフト\\ed.exe\tエディタ\r\n\r\nx\ty\tz\r\n"));
  LoadCommandList(*list, hot_key, ini, dat);
  EXPECT_EQ(hot_key, 0x0641);
  ASSERT_EQ(list->count, 1);
  EXPECT_EQ(list->entries[0].body.View(), "C:\\ソフト\\ed.exe");
  EXPECT_EQ(list->entries[0].comment.View(), "エディタ");
}

TEST(CommandListFileTest, SaveWritesHotKeyAndExactBytes) {
  TempDir dir;
  const std::string ini = dir.File("vsmrsys.ini");
  const std::string dat = dir.File("vsmrcmd.dat");
  auto list = std::make_unique<CommandList>();

  ASSERT_TRUE(SaveCommandList(*list, 0x0241, ini, dat));
  std::string bytes = "unread";
  ASSERT_TRUE(ReadWholeFile(dat, bytes));
  EXPECT_EQ(bytes, "");  // an empty table leaves a zero-length file
  EXPECT_EQ(ReadIntSetting("CommandLineLauncher", "HotKey", -1, ini), 0x0241);

  list->count = 2;
  list->entries[0].name.Set("a");
  list->entries[0].body.Set("b");
  list->entries[1].name.Set("c");
  list->entries[1].body.Set("d");
  list->entries[1].comment.Set("e\tf");
  ASSERT_TRUE(SaveCommandList(*list, 0, ini, dat));
  ASSERT_TRUE(ReadWholeFile(dat, bytes));
  EXPECT_EQ(bytes, "a\tb\t\r\nc\td\te\tf\r\n");
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"vsmrcmd.dat", "vsmrsys.ini"}));

  auto again = std::make_unique<CommandList>();
  std::uint16_t hot_key = 1;
  LoadCommandList(*again, hot_key, ini, dat);
  EXPECT_EQ(hot_key, 0);
  ASSERT_EQ(again->count, 2);
  EXPECT_EQ(again->entries[1].comment.View(), "e\tf");
}

TEST(CommandListFileTest, FailedFileWriteStillWritesTheHotKeyAndKeepsNothingHalfDone) {
  TempDir dir;
  const std::string ini = dir.File("vsmrsys.ini");
  const std::string dat = dir.File("missing-folder/vsmrcmd.dat");
  auto list = std::make_unique<CommandList>();
  EXPECT_FALSE(SaveCommandList(*list, 7, ini, dat));
  EXPECT_EQ(ReadIntSetting("CommandLineLauncher", "HotKey", -1, ini), 7);
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"vsmrsys.ini"}));
}

TEST(CommandListFileTest, SaveIntoASettingsDocument) {
  TempDir dir;
  const std::string ini = dir.File("vsmrsys.ini");
  const std::string dat = dir.File("vsmrcmd.dat");
  auto list = std::make_unique<CommandList>();
  ProfileDocument settings = ProfileDocument::Load(ini);
  ASSERT_TRUE(SaveCommandList(*list, 0x0120, settings, dat));
  EXPECT_EQ(settings.ReadInt("CommandLineLauncher", "HotKey", -1), 0x0120);
  // The settings file is the caller's to save.
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"vsmrcmd.dat"}));
  ASSERT_TRUE(settings.Save(ini));
  EXPECT_EQ(ReadIntSetting("CommandLineLauncher", "HotKey", -1, ini), 0x0120);
}

}  // namespace
}  // namespace vsmr
