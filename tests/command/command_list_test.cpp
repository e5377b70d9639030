// Loading and saving the command list, on real files.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/file_io.h"
#include "command/command_list.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

TEST(CommandListFileTest, LoadReadsEntries) {
  TempDir dir;
  const std::string dat = dir.File("vsmrcmd.dat");
  auto list = std::make_unique<CommandList>();

  // Nothing on disk: an empty list.
  list->count = 5;
  LoadCommandList(*list, dat);
  EXPECT_EQ(list->count, 0);

  ASSERT_TRUE(WriteFileAtomically(dat, "ed\tC:\\ソフト\\ed.exe\tエディタ\r\n\r\nx\ty\tz\r\n"));
  LoadCommandList(*list, dat);
  ASSERT_EQ(list->count, 1);
  EXPECT_EQ(list->entries[0].body.View(), "C:\\ソフト\\ed.exe");
  EXPECT_EQ(list->entries[0].comment.View(), "エディタ");
}

TEST(CommandListFileTest, SaveWritesExactBytes) {
  TempDir dir;
  const std::string dat = dir.File("vsmrcmd.dat");
  auto list = std::make_unique<CommandList>();

  ASSERT_TRUE(SaveCommandList(*list, dat));
  std::string bytes = "unread";
  ASSERT_TRUE(ReadWholeFile(dat, bytes));
  EXPECT_EQ(bytes, "");  // an empty table leaves a zero-length file

  list->count = 2;
  list->entries[0].name.Set("a");
  list->entries[0].body.Set("b");
  list->entries[1].name.Set("c");
  list->entries[1].body.Set("d");
  list->entries[1].comment.Set("e\tf");
  ASSERT_TRUE(SaveCommandList(*list, dat));
  ASSERT_TRUE(ReadWholeFile(dat, bytes));
  EXPECT_EQ(bytes, "a\tb\t\r\nc\td\te\tf\r\n");
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"vsmrcmd.dat"}));

  auto again = std::make_unique<CommandList>();
  LoadCommandList(*again, dat);
  ASSERT_EQ(again->count, 2);
  EXPECT_EQ(again->entries[1].comment.View(), "e\tf");
}

TEST(CommandListFileTest, FailedWriteLeavesNothingHalfDone) {
  TempDir dir;
  auto list = std::make_unique<CommandList>();
  EXPECT_FALSE(SaveCommandList(*list, dir.File("missing-folder/vsmrcmd.dat")));
  EXPECT_TRUE(dir.List().empty());
}

}  // namespace
}  // namespace vsmr
