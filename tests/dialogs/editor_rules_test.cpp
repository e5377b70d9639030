// The item editors' rules: number fields, refused characters, the openers'
// copy back, the account editor's required fields and the launcher item
// dialog's title, icon and OK rules.
#include <gtest/gtest.h>

#include <set>

#include "dialogs/editor_rules.h"
#include "dialogs/launcher_item_rules.h"

namespace vsmr {
namespace {

TEST(EditorRules, NumberFieldsReadAtMostThreeCharacters) {
  struct Row { const char* name; const char* text; int value; };
  const Row rows[] = {
      {"plain", "7", 7},          {"fourth digit cut", "1234", 123},
      {"negative", "-12", -12},   {"sign takes a place", "-123", -12},
      {"blank first", " 45", 45}, {"letters", "ab", 0},
      {"empty", "", 0},           {"digits then text", "9x9", 9},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ReadFieldNumber(row.text), row.value);
  }
}

TEST(EditorRules, TabsAndLineBreaksAreRefused) {
  EXPECT_TRUE(HasLineBreakingChar("a\tb"));
  EXPECT_TRUE(HasLineBreakingChar("a\r\nb"));
  EXPECT_TRUE(HasLineBreakingChar("\n"));
  EXPECT_FALSE(HasLineBreakingChar("C:\\表\\能 ソ.exe"));
}

TEST(EditorRules, CommandAndAccountOpenersIgnoreAnEmptyKeyField) {
  CommandEntry command;
  command.name.Set("old");
  command.body.Set("old.exe");
  CommandEntry record;
  record.name.Set("new");
  EXPECT_FALSE(ApplyCommandEdit(command, record));
  EXPECT_EQ(command.name.View(), "old");
  record.body.Set("new.exe");
  EXPECT_TRUE(ApplyCommandEdit(command, record));
  EXPECT_EQ(command.name.View(), "new");
  EXPECT_EQ(command.body.View(), "new.exe");

  MailAccount account;
  account.server.Set("pop.old");
  account.enabled = 1;
  MailAccount edited;
  edited.user_name.Set("u");
  edited.security = 2;
  edited.port = 8110;
  EXPECT_FALSE(ApplyAccountEdit(account, edited));
  EXPECT_EQ(account.server.View(), "pop.old");
  EXPECT_EQ(account.security, 0);
  edited.server.Set("pop.new");
  EXPECT_TRUE(ApplyAccountEdit(account, edited));
  EXPECT_EQ(account.server.View(), "pop.new");
  EXPECT_EQ(account.user_name.View(), "u");
  EXPECT_EQ(account.security, 2);
  EXPECT_EQ(account.port, 8110);
  EXPECT_EQ(account.enabled, 1) << "the row's check box decides";
}

TEST(EditorRules, TimerOpenerAlwaysCopiesBackAndKeepsTheCheckBox) {
  CommandTimer timer;
  timer.hour = 7;
  timer.enabled = 0;
  CommandTimer record;
  record.hour = 123;
  record.minute = -5;
  record.enabled = 1;
  record.command.Set("chosen.exe");
  ApplyTimerEdit(timer, record);
  EXPECT_EQ(timer.hour, 123);
  EXPECT_EQ(timer.command.View(), "chosen.exe");
  EXPECT_EQ(timer.enabled, 0);
  EXPECT_EQ(TimerRowTime(timer), "123:-5");
  timer.hour = 9;
  timer.minute = 5;
  EXPECT_EQ(TimerRowTime(timer), "09:05");
}

TEST(EditorRules, AccountEditorNamesTheFirstMissingField) {
  EXPECT_EQ(MissingAccountField("", "", ""), "ポップサーバーを設定してください");
  EXPECT_EQ(MissingAccountField("s", "", ""), "アカウントを設定してください");
  EXPECT_EQ(MissingAccountField("s", "u", ""), "パスワードを設定してください");
  EXPECT_EQ(MissingAccountField("s", "u", "p"), "");
}

// A security value the mail client does not know is never shown as clear
// text, and stays unless the user picks one of the choices.
TEST(EditorRules, UnknownSecurityShowsAsItsOwnEntryAndIsKept) {
  struct Row { const char* name; std::int32_t stored; int shown; int picked; std::int32_t kept; };
  const Row rows[] = {
      {"known, unchanged", 2, 2, 2, 2},         {"known, another picked", 1, 1, 0, 0},
      {"unknown, left", 7, 3, 3, 7},            {"negative, left", -1, 3, 3, -1},
      {"unknown, clear text picked", 7, 3, 0, 0}, {"nothing selected", 9, 3, -1, 9},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(SecurityEntryOf(row.stored), row.shown);
    EXPECT_EQ(SecurityOfEntry(row.picked, row.stored), row.kept);
  }
}

TEST(EditorRules, PortFieldTakesZeroTo65535AndRefusesTheRest) {
  struct Row { const char* name; const char* text; bool taken; std::int32_t port; };
  const Row rows[] = {
      {"empty is the usual port", "  ", true, 0}, {"blanks around", " 995 ", true, 995},
      {"highest", "65535", true, 65535},          {"one above", "65536", false, 7},
      {"far above", "99999999999", false, 7},     {"negative", "-1", false, 7},
      {"inner blank", "9 9", false, 7},           {"full-width digits", "１１０", false, 7},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::int32_t port = 7;
    EXPECT_EQ(ReadPortField(row.text, port), row.taken);
    EXPECT_EQ(port, row.port) << "a refused text leaves the port as it was";
  }
}

TEST(LauncherItemRules, TitleNamesTheItemNumber) {
  EXPECT_EQ(ItemDialogTitle(7), "ボタンランチャーアイテム[7]");
  EXPECT_EQ(ItemDialogTitle(64), "ボタンランチャーアイテム[64]");
  EXPECT_EQ(ItemDialogTitle(0), "") << "no number: the template's title stays";
}

class IconRuleTest : public ::testing::Test {
 protected:
  IconRuleTest() {
    Add("Edit", "C:\\win\\notepad.exe");
    Add("ed", "C:\\nothing.exe");
    Add("ソ", "C:\\表\\能.exe");
  }
  void Add(const char* name, const char* body) {
    commands.entries[commands.count].name.Set(name);
    commands.entries[commands.count++].body.Set(body);
  }
  std::set<std::string> files = {"C:\\win\\notepad.exe", "C:\\表\\能.exe", "C:\\dir",
                                 "C:\\other.ico"};
  PathExists exists = [this](const std::string& p) { return files.count(p) != 0; };
  CommandList commands;
  IconSource opening{"C:\\opening.ico", 3};
};

TEST_F(IconRuleTest, PreviewFollowsFilesAndCommandNames) {
  struct Row { const char* name; const char* text; IconSource icon; };
  const Row rows[] = {
      {"existing file", "C:\\dir", {"C:\\dir", 0}},
      {"command name, other case", "edit", {"C:\\win\\notepad.exe", 0}},
      {"only the first word counts", "EDIT a b", {"C:\\win\\notepad.exe", 0}},
      {"first match in list order wins", "Edit", {"C:\\win\\notepad.exe", 0}},
      {"command body that is no file", "ed", opening},
      {"double-byte name", "ソ x", {"C:\\表\\能.exe", 0}},
      {"neither file nor command", "nothing here", opening},
      {"empty field", "", opening},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(PreviewIcon(row.text, "C:\\record", opening, commands, exists), row.icon);
  }
  // The record's own path is never looked up in the command list.
  EXPECT_EQ(PreviewIcon("edit", "edit", opening, commands, exists), opening);
}

TEST_F(IconRuleTest, OkStoresAnExistingIconElseThePathElseTheLastPrefixCommand) {
  EXPECT_EQ(OkIconPath("edit x", "C:\\other.ico", commands, exists), "C:\\other.ico");
  EXPECT_EQ(OkIconPath("C:\\dir", "gone.ico", commands, exists), "C:\\dir");
  // "Edit" and "ed" are both prefixes of "editor": the later one wins.
  EXPECT_EQ(OkIconPath("editor", "gone.ico", commands, exists), "C:\\nothing.exe");
  EXPECT_EQ(OkIconPath("zzz", "gone.ico", commands, exists), "gone.ico");
}

TEST(LauncherItemRules, OpenerKeepsTheShownFlagAndIgnoresAnEmptyPath) {
  LauncherItem item;
  item.path.Set("a.exe");
  item.shown = 0;
  LauncherItem record;
  record.comment.Set("c");
  EXPECT_FALSE(ApplyItemEdit(item, record));
  EXPECT_EQ(item.path.View(), "a.exe");
  record.path.Set("b.exe");
  record.shown = 1;
  record.icon_index = 4;
  EXPECT_TRUE(ApplyItemEdit(item, record));
  EXPECT_EQ(item.path.View(), "b.exe");
  EXPECT_EQ(item.icon_index, 4);
  EXPECT_EQ(item.shown, 0);
}

TEST(LauncherItemRules, CompletionStopsAtTheFirstEmptyName) {
  CommandList commands;
  commands.count = 3;
  commands.entries[0].name.Set("a");
  commands.entries[2].name.Set("c");
  EXPECT_EQ(ItemCompletionWords(commands), std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace vsmr
