// Exact file bytes after writes: in-place replacement, appending to a section,
// new sections and files, and every other line kept as it was.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "profile/profile_access.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

struct Write {
  const char* section;
  const char* key;
  std::string text;
};

struct WriteCase {
  const char* name;
  std::optional<std::string> start;  // nullopt: no file
  std::vector<Write> writes;
  std::string expected;
};

const std::vector<WriteCase>& WriteCases() {
  static const std::vector<WriteCase> cases = {
      {"new file", std::nullopt, {{"A", "k", "v"}}, "[A]\r\nk=v\r\n"},
      {"empty file", "", {{"A", "k", "v"}}, "[A]\r\nk=v\r\n"},
      {"second section follows without a blank line", "[A]\r\nk=v\r\n", {{"B", "x", "1"}},
       "[A]\r\nk=v\r\n[B]\r\nx=1\r\n"},
      {"key appended to its section, not the file's end", "[A]\r\nk=v\r\n[B]\r\nx=1\r\n",
       {{"A", "k2", "v2"}}, "[A]\r\nk=v\r\nk2=v2\r\n[B]\r\nx=1\r\n"},
      {"replacement in place", "[A]\r\nk=v\r\nk2=v2\r\n", {{"A", "k", "longer"}},
       "[A]\r\nk=longer\r\nk2=v2\r\n"},
      {"same key in another section untouched", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n",
       {{"B", "k", "3"}}, "[A]\r\nk=1\r\n[B]\r\nk=3\r\n"},
      {"middle of three sections", "[A]\r\nk=v\r\n[B]\r\nk=w\r\n[C]\r\nk=x\r\n",
       {{"B", "n", "1"}}, "[A]\r\nk=v\r\n[B]\r\nk=w\r\nn=1\r\n[C]\r\nk=x\r\n"},
      {"blank lines before next section stay after the new key",
       "[A]\r\nk=v\r\n\r\n\r\n[B]\r\ny=2\r\n", {{"A", "x", "1"}},
       "[A]\r\nk=v\r\nx=1\r\n\r\n\r\n[B]\r\ny=2\r\n"},
      {"comments, unknown keys and spacing kept",
       "; head\r\n[A]\r\n;c1\r\nk = v \r\nfoo\r\n", {{"A", "q", "1"}},
       "; head\r\n[A]\r\n;c1\r\nk = v \r\nfoo\r\nq=1\r\n"},
      {"replaced line loses its blanks, keeps the name's spelling", "[A]\r\n  KEY = v \r\n",
       {{"a", "key", "w"}}, "[A]\r\nKEY=w\r\n"},
      {"unchanged value leaves the line alone", "[A]\r\n k = v \r\n", {{"A", "k", "v"}},
       "[A]\r\n k = v \r\n"},
      {"no final line end, new key", "[A]\r\nk=v", {{"A", "x", "1"}}, "[A]\r\nk=v\r\nx=1\r\n"},
      {"no final line end, new section", "[A]\r\nk=v", {{"B", "x", "1"}},
       "[A]\r\nk=v\r\n[B]\r\nx=1\r\n"},
      {"no final line end, replaced", "[A]\r\nk=v", {{"A", "k", "w"}}, "[A]\r\nk=w\r\n"},
      {"header alone without line end", "[A]", {{"A", "k", "1"}}, "[A]\r\nk=1\r\n"},
      {"LF file keeps its line ends", "[A]\nk=v\n[B]\ny=2\n", {{"A", "k", "w"}, {"B", "z", "3"}},
       "[A]\nk=w\n[B]\ny=2\nz=3\r\n"},
      {"lone CR line ends", "[A]\rk=1\rj=2\r", {{"A", "j", "3"}}, "[A]\rk=1\rj=3\r"},
      {"duplicate key: first one replaced", "[A]\r\nk=1\r\nk=2\r\n", {{"A", "k", "3"}},
       "[A]\r\nk=3\r\nk=2\r\n"},
      {"duplicate section: first one used", "[A]\r\nk=1\r\n[A]\r\nj=2\r\n", {{"A", "j", "3"}},
       "[A]\r\nk=1\r\nj=3\r\n[A]\r\nj=2\r\n"},
      {"key line without '=' is not the key", "[A]\r\nk\r\n", {{"A", "k", "2"}},
       "[A]\r\nk\r\nk=2\r\n"},
      {"broken header is not a section", "[A\r\nk=1\r\n", {{"A", "k", "2"}},
       "[A\r\nk=1\r\n[A]\r\nk=2\r\n"},
      {"keys before the first section are not in it", "k=0\r\n[A]\r\nj=1\r\n",
       {{"A", "k", "2"}}, "k=0\r\n[A]\r\nj=1\r\nk=2\r\n"},
      {"only blank lines", "\r\n\r\n", {{"A", "k", "1"}}, "\r\n\r\n[A]\r\nk=1\r\n"},
      {"value written as is, blanks and quotes included", std::nullopt,
       {{"A", "s", "  sp  "}, {"A", "q", "\"q\""}, {"A", "e", ""}},
       "[A]\r\ns=  sp  \r\nq=\"q\"\r\ne=\r\n"},
      {"line break ends the value", std::nullopt, {{"A", "k", "a\r\nb=c"}, {"A", "j", "x\ny"}},
       "[A]\r\nk=a\r\nj=x\r\n"},
      {"Japanese names and values with trail byte 0x5C", std::nullopt,
       {{"表示", "能力", "ソフト\\"}, {"表示", "能力", "予定表"}},
       "[表示]\r\n能力=予定表\r\n"},
      {"trail byte ']' is not the header's end", "[\x83\x5D\r\nk=1\r\n",
       {{"\x83\x5D", "k", "2"}}, "[\x83\x5D\r\nk=1\r\n[\x83\x5D]\r\nk=2\r\n"},
      {"letters as trail bytes do not fold", "[\x83\x41]\r\nq=1\r\n", {{"\x83\x61", "q", "2"}},
       "[\x83\x41]\r\nq=1\r\n[\x83\x61]\r\nq=2\r\n"},
      {"names are matched as the file will read them", std::nullopt,
       {{"A", " k ", "1"}, {"A", "k", "2"}, {"A", "j=x", "3"}, {"A", "j", "4"}},
       "[A]\r\nk=2\r\nj=4\r\n"},
      {"key line that would read as a header is refused", "[A]\r\nk=1\r\n",
       {{"A", "[x]", "v"}, {"A", "a\r\nb", "v"}}, "[A]\r\nk=1\r\n"},
      {"section name that cannot be a header is refused", "", {{"\x83", "k", "v"}}, ""},
      {"byte order mark kept, header after it found", "\xEF\xBB\xBF[A]\r\nk=v\r\n",
       {{"A", "k", "w"}}, "\xEF\xBB\xBF[A]\r\nk=w\r\n"},
  };
  return cases;
}

TEST(ProfileWrite, DocumentBytes) {
  for (const WriteCase& c : WriteCases()) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string path = dir.File("t.ini");
    if (c.start) {
      ASSERT_TRUE(WriteFileAtomically(path, *c.start));
    }
    ProfileDocument doc = ProfileDocument::Load(path);
    for (const Write& w : c.writes) doc.WriteString(w.section, w.key, w.text);
    EXPECT_EQ(c.expected, doc.Bytes());
  }
}

// The single-key functions give the same bytes as the document, one file
// replacement per write.
TEST(ProfileWrite, SingleWritesMatchDocument) {
  for (const WriteCase& c : WriteCases()) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string path = dir.File("t.ini");
    if (c.start) {
      ASSERT_TRUE(WriteFileAtomically(path, *c.start));
    }
    for (const Write& w : c.writes) WriteStringSetting(w.section, w.key, w.text, path);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(c.expected, bytes);
    EXPECT_EQ(std::vector<std::string>{"t.ini"}, dir.List());
  }
}

TEST(ProfileWrite, IntegersAsDecimalText) {
  TempDir dir;
  std::string path = dir.File("t.ini");
  WriteIntSetting("A", "n", -12, path);
  WriteIntSetting("A", "min", INT32_MIN, path);
  WriteIntSetting("A", "max", INT32_MAX, path);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ("[A]\r\nn=-12\r\nmin=-2147483648\r\nmax=2147483647\r\n", bytes);
  EXPECT_EQ(-12, ReadIntSetting("A", "n", 5, path));
  EXPECT_EQ(INT32_MIN, ReadIntSetting("A", "min", 5, path));
  EXPECT_EQ(INT32_MAX, ReadIntSetting("A", "max", 5, path));
}

TEST(ProfileWrite, MissingFolderWritesNothing) {
  TempDir dir;
  std::string path = dir.File("none/t.ini");
  WriteStringSetting("A", "k", "v", path);
  EXPECT_TRUE(dir.List().empty());
  EXPECT_FALSE(ProfileDocument::Load(path).Save(path));
}

TEST(ProfileWrite, SaveReplacesFile) {
  TempDir dir;
  std::string path = dir.File("t.ini");
  ASSERT_TRUE(WriteFileAtomically(path, "[A]\r\nk=1\r\n"));
  ProfileDocument doc = ProfileDocument::Load(path);
  doc.WriteInt("A", "k", 2);
  doc.WriteInt("B", "k", 3);
  ASSERT_TRUE(doc.Save(path));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ("[A]\r\nk=2\r\n[B]\r\nk=3\r\n", bytes);
  EXPECT_EQ(std::vector<std::string>{"t.ini"}, dir.List());
}

// Many keys in several sections, written twice: the second pass replaces
// every key in place, so the bytes are those of the first pass with new values.
TEST(ProfileWrite, ManyKeysReplacedInPlace) {
  ProfileDocument doc;
  std::string expected;
  for (int pass = 0; pass < 2; ++pass) {
    expected.clear();
    for (int s = 0; s < 4; ++s) {
      std::string section = "S" + std::to_string(s);
      expected += "[" + section + "]\r\n";
      for (int k = 0; k < 150; ++k) {
        std::string key = "Key" + std::to_string(k);
        std::string value = std::to_string(pass * 1000 + k);
        doc.WriteString(section, key, value);
        expected += key + "=" + value + "\r\n";
      }
    }
  }
  EXPECT_EQ(expected, doc.Bytes());
  EXPECT_EQ(1149, doc.ReadInt("s3", "KEY149", 0));
}

TEST(ProfileWrite, MovedFromDocumentIsEmpty) {
  ProfileDocument a;
  a.WriteString("A", "k", "v");
  ProfileDocument b = std::move(a);
  EXPECT_EQ("[A]\r\nk=v\r\n", b.Bytes());
  EXPECT_EQ("", a.Bytes());  // NOLINT(bugprone-use-after-move): defined empty state
  EXPECT_EQ(7, a.ReadInt("A", "k", 7));
  a.WriteString("B", "x", "1");
  EXPECT_EQ("[B]\r\nx=1\r\n", a.Bytes());
}

}  // namespace
}  // namespace vsmr
