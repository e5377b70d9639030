// vsmrcmd.dat parsing and forming: the token-scanner split, the stop at the
// first line without a body, 256 entries, 771-byte pieces, cut fields, the
// exact bytes written, and what a save keeps of what the load did not take.
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

std::string Lines(int from, int to) {
  std::string bytes;
  for (int i = from; i <= to; ++i) bytes += "c" + std::to_string(i) + "\tC:\\p" + std::to_string(i) + ".exe\tn\r\n";
  return bytes;
}

struct KeepRow {
  const char* what;
  std::string bytes;
  int entries;                   // what the load takes
  CommandFileKeep::Stop stop;
  int stop_line;
  bool rest_holds_lines;
  int first_cut_line;
};

TEST(CommandFileTest, AnUntouchedTableSavesBackByteForByteAndReloadsTheSame) {
  using Stop = CommandFileKeep::Stop;
  const std::string long_line = "long\t" + std::string(900, 'x') + "\tend\r\n";
  const std::vector<KeepRow> rows = {
      {"the program's own form", "a\tb\tc\r\nd\te\t\r\n", 2, Stop::kNone, 0, false, 0},
      {"LF alone, no second TAB, leading TABs", "a\tb\nc\td\r\n\t\te\tf\tg\n", 3, Stop::kNone, 0, false, 0},
      {"empty line at line 10 of 300", Lines(1, 9) + "\r\n" + Lines(11, 300), 9, Stop::kEmptyLine, 10, true, 0},
      {"a line without a TAB", "a\tb\tc\r\nword only\r\nd\te\tf\r\n", 1, Stop::kMalformed, 2, true, 0},
      {"300 entries: 44 past the table", Lines(1, 300), 256, Stop::kCapacity, 257, true, 0},
      {"an empty last line", "a\tb\tc\r\n\r\n", 1, Stop::kEmptyLine, 2, false, 0},
      {"end mark, lines after it", "a\tb\tc\r\nd\te\x1A\r\nf\tg\th\r\n", 2, Stop::kEndMark, 2, true, 0},
      {"a last line without its line end", "a\tb\tc\r\nd\te", 2, Stop::kNone, 0, false, 0},
      {"fields longer than their widths",
       "a\tb\tc\r\n" + std::string(200, 'n') + "\t" + std::string(300, 'b') + "\t" +
           std::string(260, 'c') + "\r\nz\ty\tx\r\n",
       3, Stop::kNone, 0, false, 2},
      {"a line read in pieces", "a\tb\tc\r\n" + long_line + "z\ty\tx\r\n", 4, Stop::kNone, 0, false, 2},
      {"stop in the second piece of a line", "a\tb\tc\r\nq\t" + std::string(769, 'x') + "tail\r\n",
       2, Stop::kMalformed, 2, true, 2},
      {"past the table in the middle of a line", Lines(1, 255) + "q\t" + std::string(769, 'x') + "y\tz\r\n",
       256, Stop::kCapacity, 256, true, 256},
      {"an embedded NUL", std::string("a\tb\0x\tc\r\nd\te\tf\r\n", 16), 2, Stop::kNone, 0, false, 0},
      {"one entry written two ways", "a\tb\tc\r\na\tb\tc\n", 2, Stop::kNone, 0, false, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    auto list = std::make_unique<CommandList>();
    CommandFileKeep keep;
    ParseCommandFile(row.bytes, *list, nullptr, &keep);
    EXPECT_EQ(list->count, row.entries);
    EXPECT_EQ(keep.stop, row.stop);
    EXPECT_EQ(keep.stop_line, row.stop_line);
    EXPECT_EQ(keep.RestHoldsLines(), row.rest_holds_lines);
    EXPECT_EQ(keep.first_cut_line, row.first_cut_line);
    const std::string saved = FormatCommandFile(*list, &keep);
    EXPECT_EQ(saved, row.bytes);
    auto again = std::make_unique<CommandList>();
    ParseCommandFile(saved, *again);
    EXPECT_EQ(Entries(*again), Entries(*list));
  }
}

TEST(CommandFileTest, AnEditedTableKeepsTheUnreadLinesAndTheUnchangedLinesAsWritten) {
  const std::string cut_line = "long\t" + std::string(300, 'b') + "\tc\r\n";
  const std::string bytes = "a\tb\r\n" + cut_line + "c\td\te\r\n\r\nunread\tline\r\n";
  auto list = std::make_unique<CommandList>();
  CommandFileKeep keep;
  ParseCommandFile(bytes, *list, nullptr, &keep);
  ASSERT_EQ(list->count, 3);

  // A new entry goes after the table, before the lines the load left.
  list->entries[3].name.Set("new");
  list->entries[3].body.Set("n.exe");
  list->count = 4;
  EXPECT_EQ(FormatCommandFile(*list, &keep),
            "a\tb\r\n" + cut_line + "c\td\te\r\nnew\tn.exe\t\r\n\r\nunread\tline\r\n");

  // Moved, a kept line goes with its entry; the edited entry takes the program's form.
  std::swap(list->entries[0], list->entries[2]);
  list->entries[2].comment.Set("edited");
  EXPECT_EQ(FormatCommandFile(*list, &keep),
            "c\td\te\r\n" + cut_line + "a\tb\tedited\r\nnew\tn.exe\t\r\n\r\nunread\tline\r\n");

  // Changed, the long entry is written as the table holds it, cut.
  list->entries[1].comment.Set("x");
  const std::string cut = "c\td\te\r\nlong\t" + std::string(259, 'b') + "\tx\r\n";
  EXPECT_EQ(FormatCommandFile(*list, &keep).substr(0, cut.size()), cut);
}

TEST(CommandFileTest, AnUnterminatedLastLineIsKeptOnlyAtTheEndOfTheTable) {
  auto list = std::make_unique<CommandList>();
  CommandFileKeep keep;
  ParseCommandFile("a\tb\tc\r\nd\te", *list, nullptr, &keep);
  std::swap(list->entries[0], list->entries[1]);
  EXPECT_EQ(FormatCommandFile(*list, &keep), "d\te\t\r\na\tb\tc\r\n");

  // The first piece of a line cut off by the table's end is written before the rest again.
  const std::string bytes = Lines(1, 255) + "q\t" + std::string(769, 'x') + "y\tz\r\n";
  ParseCommandFile(bytes, *list, nullptr, &keep);
  std::swap(list->entries[254], list->entries[255]);
  const std::string saved = FormatCommandFile(*list, &keep);
  auto again = std::make_unique<CommandList>();
  ParseCommandFile(saved, *again);
  EXPECT_EQ(Entries(*again), Entries(*list));
}

}  // namespace
}  // namespace vsmr
