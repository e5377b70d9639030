// Argument splitting (quotes, backslashes before a quote, references) and
// parameter expansion, checked on the values each slot receives.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "recording_fakes.h"

namespace vsmr {
namespace {

struct SplitRow {
  const char* what;
  std::string text;
  std::size_t start;
  std::vector<std::string> arguments;
};

TEST(SplitArgumentsTest, QuotingRules) {
  auto commands = std::make_unique<CommandList>();
  test::AddCommand(*commands, "Edit", "C:\\e.exe");
  test::AddCommand(*commands, "my cmd", "spaced body");
  std::string many = "c";
  for (int i = 1; i <= 40; ++i) many += " a" + std::to_string(i);
  std::vector<std::string> first32;
  for (int i = 1; i <= 32; ++i) first32.push_back("a" + std::to_string(i));

  const std::vector<SplitRow> rows = {
      {"plain words", "cmd a b", 3, {"a", "b"}},
      {"no space after start", "cmd", 3, {}},
      {"start past the end", "c", 2, {}},
      {"runs of spaces", "cmd   a    b", 3, {"a", "b"}},
      {"two trailing spaces add nothing", "cmd a b  ", 3, {"a", "b"}},
      {"quoted words are one argument", "cmd \"two words\" x", 3, {"two words", "x"}},
      {"backslash-quote is a quote and the argument goes on", "cmd \"say \\\"hi\\\" now\"", 3,
       {"say \"hi\" now"}},
      {"two backslashes and a quote end it with one", "cmd \"C:\\dir\\\\\" next", 3,
       {"C:\\dir\\", "next"}},
      {"three backslashes and a quote: one and a quote", "cmd \"a\\\\\\\"b\"", 3, {"a\\\"b"}},
      {"backslashes elsewhere are ordinary", "cmd \"C:\\a\\\\b\" d\\e", 3, {"C:\\a\\\\b", "d\\e"}},
      {"no closing quote runs to the end", "cmd \"open ended", 3, {"open ended"}},
      {"a lone quote at the end is unquoted", "cmd \"", 3, {"\""}},
      {"text right after a closing quote is the next argument", "cmd \"x\"y", 3, {"x", "y"}},
      {"empty quotes give an empty argument", "cmd \"\" z", 3, {"", "z"}},
      {"a quote inside an unquoted word stays", "cmd a\"b", 3, {"a\"b"}},
      {"at most 32 arguments", many, 1, first32},
      {"split begins at the first space after start", "my cmd x", 6, {"x"}},
      {"reference in other case", "cmd #EDIT tail", 3, {"C:\\e.exe", "tail"}},
      {"reference compares over the name's length", "cmd #editor", 3, {"C:\\e.exe"}},
      {"quoted reference", "cmd \"#edit\"", 3, {"C:\\e.exe"}},
      {"reference to a name with a space", "cmd #my cmd", 3, {"spaced body", "cmd"}},
      {"unknown reference stays", "cmd #zz", 3, {"#zz"}},
      // 表 is 0x95 0x5C: its trail byte must not escape the closing quote.
      {"trail byte 0x5C before a closing quote", "cmd \"C:\\表\" z", 3, {"C:\\表", "z"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::string text = row.text;
    ArgumentVector arguments;
    int count = SplitArguments(*commands, text.data(), arguments, row.start);
    EXPECT_EQ(count, static_cast<int>(row.arguments.size()));
    EXPECT_EQ(arguments.count, count);
    std::vector<std::string> got;
    for (int k = 1; k <= count; ++k) got.push_back(arguments.Get(k));
    EXPECT_EQ(got, row.arguments);
    if (count < ArgumentVector::kSlots) {
      EXPECT_STREQ(arguments.Get(count + 1), "-1");
    }
  }
}

TEST(SplitArgumentsTest, ReferencesLeaveTheStoredBodyAlone) {
  auto commands = std::make_unique<CommandList>();
  test::AddCommand(*commands, "", "unnamed");
  test::AddCommand(*commands, "b", "\"quoted body\"");
  std::string text = "c #b x";
  ArgumentVector arguments;
  ASSERT_EQ(SplitArguments(*commands, text.data(), arguments, 1), 2);
  // The unnamed entry is skipped; the body is handed out as stored.
  EXPECT_EQ(arguments.slot[0], commands->entries[1].body.c_str());
  EXPECT_STREQ(arguments.Get(2), "x");
  EXPECT_EQ(commands->entries[1].body.View(), "\"quoted body\"");
}

struct ExpandRow {
  const char* what;
  const char* line;
  std::size_t name_length;
  std::vector<const char*> arguments;
  const char* body;
  int result;
  const char* expanded;
};

TEST(ExpandParametersTest, Placeholders) {
  const std::vector<ExpandRow> rows = {
      {"no %: untouched, 0", "c a", 1, {"a"}, "x.exe", 0, "x.exe"},
      {"%** every occurrence, rest after name", "cmd   w1  w2", 3, {"w1", "w2"},
       "%** and %**", 1, "w1  w2 and w1  w2"},
      {"%** wins over numbered placeholders", "c a", 1, {"a"}, "%01 %**", 1, "%01 a"},
      {"%** with nothing after the name", "c", 1, {}, "x %**", 1, "x "},
      {"numbered placeholders", "c a b", 1, {"a", "b"}, "%02-%01-%03", 1, "b-a-%03"},
      {"one digit is no placeholder", "c a", 1, {"a"}, "%1 %01", 1, "%1 a"},
      {"% alone returns 1 and appends nothing", "c a", 1, {"a"}, "50%", 1, "50%"},
      {"an inserted value is not searched again for its own placeholder", "c %01", 1, {"%01"},
       "%01%01", 1, "%01%01"},
      {"but it is for a later one", "c %02 X", 1, {"%02", "X"}, "%01", 1, "X"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ArgumentVector arguments;
    for (const char* a : row.arguments) arguments.slot[arguments.count++] = a;
    char body[kLineBuffer];
    std::snprintf(body, sizeof body, "%s", row.body);
    EXPECT_EQ(ExpandParameters(row.line, body, sizeof body, arguments, arguments.count,
                               row.name_length),
              row.result);
    EXPECT_STREQ(body, row.expanded);
  }
}

TEST(ExpandParametersTest, GrowthIsCutAtTheBuffer) {
  std::string value(100, 'v');
  ArgumentVector arguments;
  arguments.slot[0] = value.c_str();
  arguments.count = 1;
  char body[64 + 8];
  std::memset(body, '#', sizeof body);
  std::snprintf(body, 64, "%%01%%01");
  ExpandParameters("c v", body, 64, arguments, 1, 1);
  EXPECT_EQ(std::strlen(body), 63u);
  EXPECT_EQ(body[64], '#');  // nothing written past the buffer
}

TEST(StatusWordTest, HoldsEightBytesAndIsReadWhole) {
  StatusWord word;
  EXPECT_TRUE(word.Empty());
  word.Set("CmdErrAD");
  EXPECT_EQ(word.Read().View(), "CmdErrAD");
  word.Set("TooLongCode");
  EXPECT_EQ(word.Read().View(), "TooLongC");
  word.Set("abcあいう");  // 3 + 6 bytes: the last character would be split
  EXPECT_EQ(word.Read().View(), "abcあい");
  word.Clear();
  EXPECT_EQ(word.Read().View(), "");
}

}  // namespace
}  // namespace vsmr
