// Whole-file reads and atomic writes: exact bytes, replacement of an existing
// file, no temporary file left behind, the old file kept when the write cannot
// happen, and a missing file told apart from one that cannot be read.
#include "base/file_io.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vsmr {
namespace {

TEST(FileIo, WritesExactBytesAndReplaces) {
  TempDir dir;
  std::string path = dir.File("a.ini");
  std::string back;
  EXPECT_FALSE(ReadWholeFile(path, back));
  ASSERT_TRUE(WriteFileAtomically(path, std::string_view("x\r\ny\0z", 6)));
  ASSERT_TRUE(ReadWholeFile(path, back));
  EXPECT_EQ(std::string("x\r\ny\0z", 6), back);
  ASSERT_TRUE(WriteFileAtomically(path, "second"));
  ASSERT_TRUE(ReadWholeFile(path, back));
  EXPECT_EQ("second", back);
  EXPECT_EQ(std::vector<std::string>{"a.ini"}, dir.List());
}

TEST(FileIo, FailedWritesKeepTheOldFileAndSayWhy) {
  TempDir dir;
  std::string reason;
  EXPECT_FALSE(WriteFileAtomically(dir.File("no-such-folder/a.ini"), "x", &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_TRUE(dir.List().empty());

  // The replacement itself fails: a folder stands where the file would go.
  std::filesystem::create_directory(dir.File("b.ini"));
  reason.clear();
  EXPECT_FALSE(WriteFileAtomically(dir.File("b.ini"), "x", &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(std::vector<std::string>{"b.ini"}, dir.List());
}

TEST(FileIo, ReadsTellAMissingFileFromOneThatCannotBeRead) {
  TempDir dir;
  std::string bytes = "stale";
  FileRead read = ReadFileChecked(dir.File("absent.ini"), bytes);
  EXPECT_EQ(read.outcome, FileReadOutcome::kMissing);
  EXPECT_EQ(bytes, "");
  read = ReadFileChecked(dir.File("absent-folder/a.ini"), bytes);
  EXPECT_EQ(read.outcome, FileReadOutcome::kMissing);

  std::filesystem::create_directory(dir.File("folder.ini"));
  read = ReadFileChecked(dir.File("folder.ini"), bytes);
  EXPECT_EQ(read.outcome, FileReadOutcome::kUnreadable);
  EXPECT_FALSE(read.reason.empty());

  ASSERT_TRUE(WriteFileAtomically(dir.File("a.ini"), "abc"));
  read = ReadFileChecked(dir.File("a.ini"), bytes);
  EXPECT_EQ(read.outcome, FileReadOutcome::kRead);
  EXPECT_EQ(bytes, "abc");
}

#ifdef _WIN32
TEST(FileIo, AFileHeldOpenWithoutSharingCannotBeRead) {
  // As an editor, a sync tool or a virus scanner may hold it.
  TempDir dir;
  const std::string path = dir.File("held.ini");
  ASSERT_TRUE(WriteFileAtomically(path, "kept"));
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::string bytes;
  const FileRead read = ReadFileChecked(path, bytes);
  EXPECT_EQ(read.outcome, FileReadOutcome::kUnreadable);
  EXPECT_NE(read.reason.find("(32)"), std::string::npos) << read.reason;  // sharing violation
  std::string reason;
  EXPECT_FALSE(WriteFileAtomically(path, "new", &reason));
  CloseHandle(held);
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "kept");
  EXPECT_EQ(std::vector<std::string>{"held.ini"}, dir.List());
}
#endif

}  // namespace
}  // namespace vsmr
