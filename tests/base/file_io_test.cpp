// Atomic whole-file writes: exact bytes, replacement of an existing file, no
// temporary file left behind, the old file kept when the write cannot happen.
#include "base/file_io.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/temp_dir.h"

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

TEST(FileIo, MissingFolderFailsAndWritesNothing) {
  TempDir dir;
  EXPECT_FALSE(WriteFileAtomically(dir.File("no-such-folder/a.ini"), "x"));
  EXPECT_TRUE(dir.List().empty());
}

}  // namespace
}  // namespace vsmr
