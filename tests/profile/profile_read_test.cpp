// Reads: defaults for absent keys, the leading-number rule, blanks and quotes
// around values, and cutting to the buffer without writing past it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "profile/profile_access.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

const char kFile[] =
    "; comment\r\n"
    "[Num]\r\n"
    "neg=-12\r\n"
    "trail=12abc\r\n"
    "letters=abc\r\n"
    "empty=\r\n"
    "blanks= \t \r\n"
    "spaced=  5  \r\n"
    "plus=+5\r\n"
    "quoted=\"7\"\r\n"
    "hex=0x10\r\n"
    "over=4294967297\r\n"
    "under=-2147483649\r\n"
    "sign=-\r\n"
    "Mixed=42\r\n"
    "[Str]\r\n"
    "plain=value\r\n"
    "spaced = \t in side \t\r\n"
    "dq=\"abc\"\r\n"
    "sq='x'\r\n"
    "half=\" a\r\n"
    "inner= \" b \" \r\n"
    "tabs=0\t\t\r\n"
    "eq=a=b\r\n"
    "dup=first\r\n"
    "dup=second\r\n"
    "jp=ソ表能\r\n"
    "long=0123456789012345678901234567890123456789\r\n"
    "nul=a\0b\r\n"
    "[表示]\r\n"
    "能力=ソフト\r\n";

struct IntCase {
  const char* name;
  const char* section;
  const char* key;
  std::int32_t expected;
};

TEST(ProfileRead, Integers) {
  const IntCase cases[] = {
      {"negative", "Num", "neg", -12},
      {"digits then letters", "Num", "trail", 12},
      {"letters only", "Num", "letters", 0},
      {"empty value gives default", "Num", "empty", 99},
      {"blank value gives default", "Num", "blanks", 99},
      {"blanks around the number", "Num", "spaced", 5},
      {"plus sign", "Num", "plus", 5},
      {"quotes removed first", "Num", "quoted", 7},
      {"hexadecimal prefix is not a number base", "Num", "hex", 0},
      {"too large wraps", "Num", "over", 1},
      {"too small wraps", "Num", "under", 2147483647},
      {"sign alone", "Num", "sign", 0},
      {"key name case", "num", "MIXED", 42},
      {"absent key gives default", "Num", "none", 99},
      {"absent section gives default", "None", "neg", 99},
  };
  TempDir dir;
  std::string path = dir.File("t.ini");
  ASSERT_TRUE(WriteFileAtomically(path, std::string_view(kFile, sizeof kFile - 1)));
  ProfileDocument doc = ProfileDocument::Load(path);
  for (const IntCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, ReadIntSetting(c.section, c.key, 99, path));
    EXPECT_EQ(c.expected, doc.ReadInt(c.section, c.key, 99));
  }
}

struct StringCase {
  const char* name;
  const char* section;
  const char* key;
  std::size_t length;
  std::string expected;
};

// Fills a sentinel buffer, reads into its first `length` bytes and checks the
// text, its terminator, and that nothing after the terminator was written.
void CheckRead(const StringCase& c, const std::string& path) {
  constexpr char kSentinel = '\x7f';
  std::vector<char> buffer(c.length + 16, kSentinel);
  ReadStringSetting(c.section, c.key, "DEF", buffer.data(), c.length, path);
  if (c.length == 0) {
    EXPECT_EQ(std::vector<char>(16, kSentinel), buffer);
    return;
  }
  ASSERT_LT(c.expected.size(), c.length);
  EXPECT_EQ(c.expected, std::string(buffer.data(), c.expected.size()));
  EXPECT_EQ('\0', buffer[c.expected.size()]);
  for (std::size_t i = c.expected.size() + 1; i < buffer.size(); ++i) {
    ASSERT_EQ(kSentinel, buffer[i]) << "byte " << i << " written";
  }
}

TEST(ProfileRead, Strings) {
  const StringCase cases[] = {
      {"plain", "Str", "plain", 100, "value"},
      {"blanks around name and value", "Str", "spaced", 100, "in side"},
      {"double quotes removed", "Str", "dq", 100, "abc"},
      {"single quotes removed", "Str", "sq", 100, "x"},
      {"unmatched quote kept", "Str", "half", 100, "\" a"},
      {"quotes inside blanks removed, inner blanks kept", "Str", "inner", 100, " b "},
      {"trailing tabs are blanks", "Str", "tabs", 100, "0"},
      {"value after the first equals sign", "Str", "eq", 100, "a=b"},
      {"first of duplicate keys", "Str", "dup", 100, "first"},
      {"trail bytes 0x5C", "Str", "jp", 100, "ソ表能"},
      {"Japanese names", "表示", "能力", 100, "ソフト"},
      {"NUL byte ends the value", "Str", "nul", 100, "a"},
      {"empty value is not the default", "Num", "empty", 100, ""},
      {"40 bytes into 32", "Str", "long", 32, "0123456789012345678901234567890"},
      {"quotes removed before cutting", "Str", "dq", 3, "ab"},
      {"cut inside a double-byte character", "Str", "jp", 4, "ソ\x95"},
      {"length 1 gives empty text", "Str", "plain", 1, ""},
      {"length 0 writes nothing", "Str", "plain", 0, ""},
      {"absent key gives default", "Str", "none", 100, "DEF"},
      {"default cut too", "Str", "none", 3, "DE"},
      {"comment line is no key", "Str", "; comment", 100, "DEF"},
  };
  TempDir dir;
  std::string path = dir.File("t.ini");
  ASSERT_TRUE(WriteFileAtomically(path, std::string_view(kFile, sizeof kFile - 1)));
  for (const StringCase& c : cases) {
    SCOPED_TRACE(c.name);
    CheckRead(c, path);
  }
}

TEST(ProfileRead, MissingFileGivesDefaults) {
  TempDir dir;
  std::string path = dir.File("none.ini");
  char buffer[8];
  ReadStringSetting("A", "k", "0\t\t", buffer, sizeof buffer, path);
  EXPECT_STREQ("0\t\t", buffer);
  EXPECT_EQ(-3, ReadIntSetting("A", "k", -3, path));
  EXPECT_TRUE(dir.List().empty());
}

// Whatever is written reads back as written, as long as it has no blanks or
// quotes around it (those the reader removes, like the platform's).
TEST(ProfileRead, WrittenValuesReadBack) {
  const std::string values[] = {"", "1\tC:\\Program Files\\ソフト\\a.exe\t表示", "-", "a=b",
                                "0\t\tx", std::string(1500, 'x')};
  TempDir dir;
  std::string path = dir.File("t.ini");
  for (const std::string& v : values) {
    SCOPED_TRACE(v.substr(0, 40));
    WriteStringSetting("Sec", "Key", v, path);
    char buffer[2000];
    ReadStringSetting("Sec", "Key", "DEF", buffer, sizeof buffer, path);
    EXPECT_EQ(v, buffer);
  }
}

}  // namespace
}  // namespace vsmr
