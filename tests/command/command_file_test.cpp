// vsmrcmd.dat parsing and forming: the token-scanner split, the stop at the
// first line without a body, 256 entries, 771-byte pieces, cut fields and the
// exact bytes written.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "command/command_file.h"

namespace vsmr {
namespace {

struct Expected {
  std::string name, body, comment;
};

std::vector<Expected> Entries(const CommandList& list) {
  std::vector<Expected> out;
  for (int i = 0; i < list.count; ++i) {
    const CommandEntry& e = list.entries[i];
    out.push_back({std::string(e.name.View()), std::string(e.body.View()),
                   std::string(e.comment.View())});
  }
  return out;
}

bool operator==(const Expected& a, const Expected& b) {
  return a.name == b.name && a.body == b.body && a.comment == b.comment;
}

void PrintTo(const Expected& e, std::ostream* os) {
  *os << "{" << testing::PrintToString(e.name) << ", " << testing::PrintToString(e.body) << ", "
      << testing::PrintToString(e.comment) << "}";
}

struct ParseRow {
  const char* what;
  std::string bytes;
  std::vector<Expected> entries;
};

TEST(CommandFileTest, ParsesLinesLikeTheTokenScanner) {
  const std::vector<ParseRow> rows = {
      {"three fields, CR LF ends", "ed\tC:\\ed.exe\tEditor\r\n", {{"ed", "C:\\ed.exe", "Editor"}}},
      {"empty comment written with both TABs", "a\tb\t\r\n", {{"a", "b", ""}}},
      {"second of three lines empty: reading stops", "a\tb\tc\r\n\r\nd\te\tf\r\n",
       {{"a", "b", "c"}}},
      {"no second TAB: the body keeps the line end", "a\tbody\r\n", {{"a", "body\n", ""}}},
      {"two TABs: the comment becomes the body", "a\t\tnote\r\n", {{"a", "note\n", ""}}},
      {"comment holds TABs", "a\tb\tx\ty\tz\r\n", {{"a", "b", "x\ty\tz"}}},
      {"leading TABs skipped", "\t\ta\tb\tc\r\n", {{"a", "b", "c"}}},
      {"line of TABs only stops", "a\tb\tc\r\n\t\t\r\nd\te\tf\r\n", {{"a", "b", "c"}}},
      {"line without TAB stops", "word\r\nd\te\tf\r\n", {}},
      {"last line without line end", "a\tb\tc\r\nd\te", {{"a", "b", "c"}, {"d", "e", ""}}},
      {"bare LF line ends too", "a\tb\tc\nd\te\tf\n", {{"a", "b", "c"}, {"d", "e", "f"}}},
      {"a lone CR is an ordinary byte", "a\tb\r\tc\r\n", {{"a", "b\r", "c"}}},
      {"embedded NUL ends the line", std::string("a\tb\0x\tc\r\nd\te\tf\r\n", 16),
       {{"a", "b", ""}, {"d", "e", "f"}}},
      {"empty file", "", {}},
      {"Ctrl+Z ends the file", "a\tb\x1A\tc\r\nd\te\tf\r\n", {{"a", "b", ""}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    auto list = std::make_unique<CommandList>();
    ParseCommandFile(row.bytes, *list);
    EXPECT_EQ(Entries(*list), row.entries);
  }
}

TEST(CommandFileTest, LongLineIsReadInPiecesOfItsOwn) {
  // 771 bytes make the first piece; the rest of the line is parsed as a line.
  std::string first = "a\t" + std::string(769, 'x');
  auto list = std::make_unique<CommandList>();
  std::vector<CommandFileLine> report;
  ParseCommandFile(first + "y\tz\r\nb\tc\td\r\n", *list, &report);
  ASSERT_EQ(list->count, 3);
  EXPECT_EQ(list->entries[0].body.View(), std::string(259, 'x'));
  EXPECT_EQ(list->entries[1].name.View(), "y");
  EXPECT_EQ(list->entries[1].body.View(), "z\n");
  EXPECT_EQ(list->entries[2].name.View(), "b");
  ASSERT_EQ(report.size(), 3u);
  EXPECT_EQ(report[0].line, 1);
  EXPECT_EQ(report[0].piece, 1);
  EXPECT_TRUE(report[0].body_cut);
  EXPECT_EQ(report[1].line, 1);
  EXPECT_EQ(report[1].piece, 2);
  EXPECT_TRUE(report[1].body_keeps_line_end);
  EXPECT_EQ(report[2].line, 2);
}

TEST(CommandFileTest, OverlongFieldsAreCutAtTheirWidthsWithoutSplittingACharacter) {
  std::string kana;
  for (int i = 0; i < 200; ++i) kana += "あ";  // two bytes each
  auto list = std::make_unique<CommandList>();
  std::vector<CommandFileLine> report;
  ParseCommandFile(std::string(200, 'n') + "\t" + kana.substr(0, 300) + "\t" +
                       std::string(260, 'c') + "\r\n",
                   *list, &report);
  ASSERT_EQ(list->count, 1);
  EXPECT_EQ(list->entries[0].name.View(), std::string(127, 'n'));
  EXPECT_EQ(list->entries[0].body.View(), kana.substr(0, 258));  // 259 would split a character
  EXPECT_EQ(list->entries[0].comment.View(), std::string(255, 'c'));
  ASSERT_EQ(report.size(), 1u);
  EXPECT_TRUE(report[0].name_cut);
  EXPECT_TRUE(report[0].body_cut);
  EXPECT_TRUE(report[0].comment_cut);
}

TEST(CommandFileTest, ReadsAtMost256EntriesAndReportsTheRest) {
  std::string bytes;
  for (int i = 0; i < 260; ++i) bytes += "n" + std::to_string(i) + "\tb\tc\r\n";
  auto list = std::make_unique<CommandList>();
  std::vector<CommandFileLine> report;
  ParseCommandFile(bytes, *list, &report);
  EXPECT_EQ(list->count, 256);
  EXPECT_EQ(list->entries[255].name.View(), "n255");
  ASSERT_EQ(report.size(), 260u);
  EXPECT_EQ(report[255].outcome, CommandFileLine::Outcome::kLoaded);
  EXPECT_EQ(report[256].outcome, CommandFileLine::Outcome::kPastCapacity);
  EXPECT_EQ(report[259].line, 260);

  report.clear();
  ParseCommandFile("a\tb\r\nstop\r\nc\td\r\n", *list, &report);
  ASSERT_EQ(report.size(), 3u);
  EXPECT_EQ(report[1].outcome, CommandFileLine::Outcome::kStop);
  EXPECT_EQ(report[2].outcome, CommandFileLine::Outcome::kAfterStop);
}

TEST(CommandFileTest, FormsExactBytes) {
  auto list = std::make_unique<CommandList>();
  EXPECT_EQ(FormatCommandFile(*list), "");
  list->count = 2;
  list->entries[0].name.Set("ed");
  list->entries[0].body.Set("C:\\ソフト\\ed.exe");
  list->entries[0].comment.Set("エディタ\tです");
  list->entries[1].name.Set("x");
  list->entries[1].body.Set("y");
  EXPECT_EQ(FormatCommandFile(*list),
            "ed\tC:\\ソフト\\ed.exe\tエディタ\tです\r\nx\ty\t\r\n");
}

TEST(CommandFileTest, SavedEntriesReloadUnchanged) {
  auto list = std::make_unique<CommandList>();
  for (int i = 0; i < kMaxCommands; ++i) {
    CommandEntry& e = list->entries[i];
    e.name.Set("cmd" + std::to_string(i));
    e.body.Set("C:\\表示\\p" + std::to_string(i) + ".exe %01");
    e.comment.Set(i % 2 ? "tab\tinside" : "");
  }
  list->count = kMaxCommands;
  auto again = std::make_unique<CommandList>();
  ParseCommandFile(FormatCommandFile(*list), *again);
  EXPECT_EQ(Entries(*again), Entries(*list));
}

TEST(CommandFileTest, ABodyKeptWithItsLineEndDoesNotLoseLaterEntriesOnSave) {
  // A hand-written file without the second TAB loads bodies ending in LF.
  // Written back as they stand, the LF would start a line that stops loading.
  auto list = std::make_unique<CommandList>();
  ParseCommandFile("a\tC:\\a.exe\r\nb\tC:\\b.exe\r\n", *list);
  ASSERT_EQ(list->count, 2);
  std::string bytes = FormatCommandFile(*list);
  EXPECT_EQ(bytes, "a\tC:\\a.exe\t\r\nb\tC:\\b.exe\t\r\n");
  auto again = std::make_unique<CommandList>();
  ParseCommandFile(bytes, *again);
  EXPECT_EQ(again->count, 2);

  // Line ends and TABs put into a name or body elsewhere keep the entry on one line.
  list->entries[0].name.Set("a\tb");
  list->entries[0].body.Set("x\ny");
  EXPECT_EQ(FormatCommandFile(*list).substr(0, 8), "a b\tx y\t");
}

}  // namespace
}  // namespace vsmr
