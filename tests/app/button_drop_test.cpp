// Files dropped on a launcher button: which button the point hits, the line
// that runs, the item change, and the DropAction with its one-shot values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_bar_host.h"
#include "command/recording_fakes.h"

namespace vsmr {
namespace {

using test::FakeBarHost;

constexpr int kCancel = 2;  // the id a cancelled dialog closes with

TEST(ButtonDropTest, RunLineAppendsTheDropList) {
  EXPECT_EQ(DropRunLine("C:\\a.exe", "\"x\" \"y\" \"z\"").text, "C:\\a.exe \"x\" \"y\" \"z\"");
  EXPECT_EQ(DropRunLine("", "\"x\"").text, " \"x\"");
}

TEST(ButtonDropTest, RunLineKeepsOnlyWholeNamesWithinTheLineLimit) {
  std::string path = "C:\\a.exe";  // 8 bytes, then the blank: 9
  std::string first = "\"" + std::string(8000, 'f') + "\"";  // 8002 bytes
  // Room after the path and blank is 8182 bytes.
  struct Row {
    const char* name;
    std::size_t second_length;  // bytes of the second name inside its quotes
    bool second_kept;
  } rows[] = {
      {"second name ends exactly at the limit", 8182 - 8002 - 1 - 2, true},
      {"second name one byte too long", 8182 - 8002 - 1 - 2 + 1, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string second = "\"" + std::string(row.second_length, 's') + "\"";
    std::string list = first + " " + second + " \"third\"";
    std::string line = DropRunLine(path, list).text;
    EXPECT_LE(line.size(), kLineMax);
    EXPECT_EQ(line, path + " " + first + (row.second_kept ? " " + second : ""));
  }
  // Not even the first name fits: the item runs without parameters.
  std::string huge = "\"" + std::string(9000, 'h') + "\"";
  EXPECT_EQ(DropRunLine(path, huge).text, path + " ");
}

TEST(ButtonDropTest, LastDroppedNameIsUnquoted) {
  EXPECT_EQ(LastDroppedName("\"C:\\a b\\x.txt\" \"C:\\ソ表\\y.txt\""), "C:\\ソ表\\y.txt");
  EXPECT_EQ(LastDroppedName("\"C:\\only.txt\""), "C:\\only.txt");
  EXPECT_EQ(LastDroppedName(""), "");
}

TEST(ButtonDropTest, ChangeQuestionAndItem) {
  EXPECT_EQ(ItemChangeQuestion(0, 4, "C:\\x.exe"), "1番ランチャー(ITEM5)をC:\\x.exeに変更します。");
  // Over-long: cut at 255 bytes, never inside a double-byte character.
  std::string long_name(240, 'n');
  std::string q = ItemChangeQuestion(9, 63, long_name);
  EXPECT_LE(q.size(), kChangeMessageMax);
  EXPECT_GE(q.size(), kChangeMessageMax - 1);

  LauncherItem item;
  item.icon_index = 7;
  ChangeItemTo(item, "C:\\新しい\\tool.exe");
  EXPECT_EQ(item.path.View(), "C:\\新しい\\tool.exe");
  EXPECT_EQ(item.icon_path.View(), "C:\\新しい\\tool.exe");
  EXPECT_EQ(item.comment.View(), "C:\\新しい\\tool.exe");
  EXPECT_EQ(item.icon_index, 0);
}

TEST(ButtonDropTest, DropActionTable) {
  struct Row {
    int action;
    bool asks;
    int dialog;  // id that closes the dialog when it is asked
    DropChoice choice;
    int action_after;
  } rows[] = {
      {kDropAsk, true, IDC_DROP_RUN, DropChoice::kRunWithParameters, kDropAsk},
      {kDropAsk, true, IDC_DROP_CHANGE, DropChoice::kChangeItem, kDropAsk},
      {kDropAsk, true, kCancel, DropChoice::kNothing, kDropAsk},  // the next drop asks again
      {kDropRun, false, 0, DropChoice::kRunWithParameters, kDropRun},
      {kDropChange, false, 0, DropChoice::kChangeItem, kDropChange},
      {kDropRunOnce, false, 0, DropChoice::kRunWithParameters, kDropAsk},
      {kDropChangeOnce, false, 0, DropChoice::kChangeItem, kDropAsk},
      {9, true, kCancel, DropChoice::kNothing, 9},  // an unknown value asks like kDropAsk
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "action " << row.action << " dialog " << row.dialog);
    int action = row.action;
    EXPECT_EQ(DropAsksFirst(action), row.asks);
    if (row.asks) action = DropActionAfterDialog(action, row.dialog);
    EXPECT_EQ(TakeDropChoice(action), row.choice);
    EXPECT_EQ(action, row.action_after);
  }
}

struct DropBar {
  LauncherItem items[kLauncherItemCount];
  ButtonBar bar;
  ShellLayout layout;
  FakeBarHost host;
  test::Harness h;
  int action = kDropRun;

  DropBar() {
    for (int i : {2, 5}) {
      items[i].shown = 1;
      items[i].path.Set("C:\\tools\\app" + std::to_string(i) + ".exe");
    }
    BuildButtonBar(bar, layout, items, host);
    host.calls.clear();
  }
  DropChoice Drop(int x, std::string_view list, bool locked = false) {
    return DropOnButton(bar, layout, items, x, list, action, locked, h.interpreter, nullptr, host);
  }
};

TEST(ButtonDropTest, DropPointPicksTheButtonUnderIt) {
  // Buttons at 74..95 (item 2) and 96..117 (item 5).
  struct Row {
    int x;
    const char* file;  // what ran, or "" for nothing
  } rows[] = {
      {73, ""},  // clock face: not a button
      {74, "C:\\tools\\app2.exe"},
      {95, "C:\\tools\\app2.exe"},  // rightmost column of the first button
      {96, "C:\\tools\\app5.exe"},
      {117, "C:\\tools\\app5.exe"},
      {118, ""},  // the small buttons
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.x);
    DropBar d;
    d.Drop(row.x, "\"a\" \"b\" \"c\"");
    if (row.file[0] == '\0') {
      EXPECT_TRUE(d.h.shell.calls.empty());
      continue;
    }
    ASSERT_EQ(d.h.shell.calls.size(), 1u);
    EXPECT_EQ(d.h.shell.calls[0].file, row.file);
    EXPECT_EQ(d.h.shell.calls[0].parameters, "\"a\" \"b\" \"c\"");
  }
}

TEST(ButtonDropTest, LockedDropsDoNothing) {
  DropBar d;
  d.action = kDropAsk;
  EXPECT_EQ(d.Drop(80, "\"a\"", true), DropChoice::kNothing);
  EXPECT_TRUE(d.host.calls.empty()) << "not even the dialog";
  EXPECT_TRUE(d.h.shell.calls.empty());
}

TEST(ButtonDropTest, RunWithParametersUsesPositionAsContext) {
  DropBar d;
  d.items[5].path.Set("#3");
  d.Drop(100, "\"C:\\f.txt\"");
  ASSERT_EQ(d.h.builtins.calls.size(), 1u);
  EXPECT_EQ(d.h.builtins.calls[0].context, ButtonContext(1));
  EXPECT_EQ(d.h.builtins.calls[0].line, "#3 \"C:\\f.txt\"");
}

// Dropped names reach the item's command whole, whatever they hold, and
// nothing else runs; the item's own path keeps the language's rules.
TEST(ButtonDropTest, DroppedNamesAreTheItemsArgumentsByteForByte) {
  const std::vector<std::string> names = {"C:\\m\\Tom & Jerry.txt", "C:\\m\\x & #2001 q 1",
                                          "C:\\表\\", "C:\\a\\b\\\\", "#run %01"};
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "\"" : " \"") + name + "\"";
  DropBar d;
  test::AddCommand(d.h.commands, "run", "#9");
  d.items[5].path.Set("run");
  d.Drop(100, list);
  ASSERT_EQ(d.h.builtins.calls.size(), 1u);
  EXPECT_EQ(d.h.builtins.calls[0].arguments, names);
  EXPECT_TRUE(d.h.shell.calls.empty());

  // A path that is a line of its own still runs as one.
  DropBar p;
  p.items[5].path.Set("first.exe & second.exe");
  p.Drop(100, "\"C:\\Tom & Jerry.mp3\"");
  ASSERT_EQ(p.h.shell.calls.size(), 2u);
  EXPECT_EQ(p.h.shell.calls[1].file, "second.exe");
  EXPECT_EQ(p.h.shell.calls[1].parameters, "\"C:\\Tom & Jerry.mp3\"");
}

TEST(ButtonDropTest, AskThenChangeItemOnce) {
  DropBar d;
  d.action = kDropAsk;
  d.host.dialog_answer = IDC_DROP_CHANGE;
  EXPECT_EQ(d.Drop(100, "\"C:\\x.txt\" \"C:\\y.exe\""), DropChoice::kChangeItem);
  EXPECT_EQ(d.host.calls,
            (std::vector<std::string>{"ask", "confirm 2番ランチャー(ITEM6)をC:\\y.exeに変更します。",
                                      "tip b1 C:\\y.exe", "repaint b1"}));
  EXPECT_EQ(d.items[5].path.View(), "C:\\y.exe");
  EXPECT_EQ(d.action, kDropAsk);
  EXPECT_TRUE(d.h.shell.calls.empty());

  // Cancelled dialog: nothing, and the next drop asks again.
  d.host.calls.clear();
  d.host.dialog_answer = kCancel;
  EXPECT_EQ(d.Drop(80, "\"C:\\z.txt\""), DropChoice::kNothing);
  EXPECT_EQ(d.host.calls, (std::vector<std::string>{"ask"}));
  d.Drop(80, "\"C:\\z.txt\"");
  EXPECT_EQ(d.host.calls, (std::vector<std::string>{"ask", "ask"}));
}

TEST(ButtonDropTest, DeclinedChangeKeepsTheItem) {
  DropBar d;
  d.action = kDropChange;
  d.host.confirm_answer = false;
  d.items[2].icon_index = 3;
  EXPECT_EQ(d.Drop(80, "\"C:\\y.exe\""), DropChoice::kNothing);
  EXPECT_EQ(d.items[2].path.View(), "C:\\tools\\app2.exe");
  EXPECT_EQ(d.items[2].icon_index, 3);
  EXPECT_EQ(d.action, kDropChange);
}

}  // namespace
}  // namespace vsmr
