// The options dialog's rules: the copy taken at opening, the interval fields,
// what OK puts into effect, and the command list's add, delete and moves.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "dialogs/options_rules.h"

namespace vsmr {
namespace {

struct Live {
  std::unique_ptr<SettingsState> settings = std::make_unique<SettingsState>();
  std::unique_ptr<CommandList> commands = std::make_unique<CommandList>();
  std::unique_ptr<OptionsCopy> copy = std::make_unique<OptionsCopy>();
  std::set<std::string> files;  // what exists on the fake disk

  OptionsEffects Ok() {
    return ApplyOptions(*copy, *settings, *commands,
                        [this](const std::string& path) { return files.count(path) > 0; });
  }
};

void AddCommand(CommandList& list, const char* name, const char* body, const char* comment) {
  CommandEntry& e = list.entries[list.count++];
  e.name.Set(name);
  e.body.Set(body);
  e.comment.Set(comment);
}

TEST(OptionsRules, IntervalIsShownAsHoursMinutesSeconds) {
  const IntervalFields f = SplitInterval(3 * 3600 + 25 * 60 + 7);
  EXPECT_EQ(f.hours, 3);
  EXPECT_EQ(f.minutes, 25);
  EXPECT_EQ(f.seconds, 7);
  Live l;
  l.settings->auto_check_time = 43200;
  TakeOptionsCopy(*l.settings, *l.commands, *l.copy);
  EXPECT_EQ(l.copy->hours + ":" + l.copy->minutes + ":" + l.copy->seconds, "12:0:0");
}

TEST(OptionsRules, IntervalFieldsAreClampedAsTheSettingIs) {
  struct Row { const char* name; const char* h; const char* m; const char* s; int seconds; };
  const Row rows[] = {
      {"5 seconds", "0", "0", "5", 10},
      {"0 stays off", "0", "0", "0", 0},
      {"empty fields", "", "", "", 0},
      {"negative", "0", "-1", "0", 10},
      {"13 hours", "13", "0", "0", 43200},
      {"mixed", "1", "2", "3", 3723},
      {"seven characters only", "0", "0", "12345678", 43200},
      {"huge hours do not wrap", "9999999", "0", "0", 43200},
      {"huge negative hours", "-999999", "0", "0", 10},
      {"text without digits", "x", "1", "y", 60},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(IntervalFromFields(row.h, row.m, row.s), row.seconds);
  }
}

// The launcher box's width is added to and taken from the strip's.
TEST(OptionsRules, LauncherLengthIsHeldWithinTheStripsReach) {
  struct Row { const char* field; int length; };
  const Row rows[] = {{"250", 250}, {"0", 0}, {"4096", 4096}, {"9999999", 4096}, {"-999999", 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.field);
    Live l;
    l.copy->launcher_length = row.field;
    l.Ok();
    EXPECT_EQ(l.settings->command_line_launcher_length, row.length);
  }
}

TEST(OptionsRules, CopyLeavesNoRadioForAOneTimeDropAction) {
  Live l;
  for (int action : {0, 1, 2, 3, 4}) {
    l.settings->using_drop_file = action;
    TakeOptionsCopy(*l.settings, *l.commands, *l.copy);
    EXPECT_EQ(l.copy->drop_radio, action < 3 ? action : kNoDropRadio) << action;
  }
  // OK without a checked radio keeps the one-time value.
  l.settings->using_drop_file = 4;
  TakeOptionsCopy(*l.settings, *l.commands, *l.copy);
  l.Ok();
  EXPECT_EQ(l.settings->using_drop_file, 4);
  l.copy->drop_radio = 2;
  l.Ok();
  EXPECT_EQ(l.settings->using_drop_file, 2);
}

TEST(OptionsRules, OkFixesUpShownItemsOnly) {
  Live l;
  l.files = {"C:\\app.exe", "C:\\icons.dll"};
  LauncherItem* items = l.copy->settings.launcher_items;
  // 0: shown, empty comment, icon file missing.
  items[0].shown = 1;
  items[0].path.Set("C:\\tool.exe --x");
  items[0].icon_path.Set("C:\\gone.ico");
  items[0].icon_index = 5;
  // 2: shown, with comment and an existing icon file.
  items[2].shown = 1;
  items[2].path.Set("C:\\app.exe");
  items[2].comment.Set("app");
  items[2].icon_path.Set("C:\\icons.dll");
  items[2].icon_index = 3;
  // 4: shown, empty comment, a path longer than the comment field whose cut
  // would fall inside 表: the comment ends before that character.
  const std::string long_path = "C:\\" + std::string(251, 'a') + "表表";
  items[4].shown = 1;
  items[4].path.Set(long_path);
  // 3: hidden, left exactly as it is.
  items[3].path.Set("C:\\hidden.exe");
  items[3].icon_path.Set("C:\\gone.ico");
  items[3].icon_index = 2;

  EXPECT_EQ(l.Ok().shown_items, 3);
  const LauncherItem* live = l.settings->launcher_items;
  EXPECT_EQ(live[0].comment.View(), "C:\\tool.exe --x");
  EXPECT_EQ(live[0].icon_path.View(), "C:\\tool.exe --x");
  EXPECT_EQ(live[0].icon_index, 0);
  EXPECT_EQ(live[2].comment.View(), "app");
  EXPECT_EQ(live[2].icon_path.View(), "C:\\icons.dll");
  EXPECT_EQ(live[2].icon_index, 3);
  EXPECT_EQ(live[3].shown, 0);
  EXPECT_TRUE(live[3].comment.Empty());
  EXPECT_EQ(live[3].icon_path.View(), "C:\\gone.ico");
  EXPECT_EQ(live[3].icon_index, 2);
  EXPECT_EQ(live[4].comment.View(), long_path.substr(0, 254));
}

TEST(OptionsRules, OkRebuildsTheCheckListKeepingWhatStayingAccountsSaw) {
  Live l;
  // Live: accounts 1 and 3 enabled, each with what its last check saw.
  l.settings->accounts[1].enabled = 1;
  l.settings->accounts[3].enabled = 1;
  l.settings->check_list.count = 2;
  l.settings->check_list.entries[0] = {1, {}, 4};
  l.settings->check_list.entries[0].key_text.Set("<one@x>");
  l.settings->check_list.entries[1] = {3, {}, 9};
  TakeOptionsCopy(*l.settings, *l.commands, *l.copy);
  // The user unticks account 1 and ticks 4 and 0.
  l.copy->settings.accounts[1].enabled = 0;
  l.copy->settings.accounts[4].enabled = 1;
  l.copy->settings.accounts[0].enabled = 1;
  l.copy->seconds = "30";

  EXPECT_EQ(l.Ok().mail_interval, 30);
  const MailCheckList& list = l.settings->check_list;
  ASSERT_EQ(list.count, 3);
  EXPECT_EQ(list.entries[0].account, 0);
  EXPECT_EQ(list.entries[0].message_count, 0);
  EXPECT_EQ(list.entries[1].account, 3);
  EXPECT_EQ(list.entries[1].message_count, 9);
  EXPECT_EQ(list.entries[2].account, 4);
  EXPECT_TRUE(list.entries[2].key_text.Empty());

  // Ticking account 1 again starts it afresh: nothing of its old state is kept.
  l.copy->settings.accounts[1].enabled = 1;
  l.Ok();
  ASSERT_EQ(list.count, 4);
  EXPECT_EQ(list.entries[1].account, 1);
  EXPECT_EQ(list.entries[1].message_count, 0);
  EXPECT_TRUE(list.entries[1].key_text.Empty());
}

TEST(OptionsRules, NoEnabledAccountOrNoIntervalArmsNoTimer) {
  Live l;
  TakeOptionsCopy(*l.settings, *l.commands, *l.copy);
  l.copy->minutes = "5";
  EXPECT_EQ(l.Ok().mail_interval, 0);
  EXPECT_EQ(l.settings->auto_check_time, 300);
  l.copy->settings.accounts[2].enabled = 1;
  EXPECT_EQ(l.Ok().mail_interval, 300);
  l.copy->minutes = "0";
  EXPECT_EQ(l.Ok().mail_interval, 0);
}

TEST(OptionsRules, RowsMoveWithinTheList) {
  EXPECT_EQ(MovedRow(0, -1, 5), -1);
  EXPECT_EQ(MovedRow(4, +1, 5), -1);
  EXPECT_EQ(MovedRow(-1, +1, 5), -1);  // nothing selected
  EXPECT_EQ(MovedRow(2, -1, 5), 1);
  EXPECT_EQ(MovedRow(63, +1, 64), -1);
  EXPECT_EQ(MovedRow(62, +1, 64), 63);
}

TEST(OptionsRules, DeleteClosesTheGapAndKeepsFullComments) {
  auto list = std::make_unique<CommandList>();
  const std::string long_comment(255, 'c');
  AddCommand(*list, "a", "a.exe", "first");
  AddCommand(*list, "b", "b.exe", long_comment.c_str());
  AddCommand(*list, "c", "c.exe", long_comment.c_str());
  EXPECT_FALSE(EraseCommand(*list, -1));
  EXPECT_FALSE(EraseCommand(*list, 3));
  EXPECT_EQ(list->count, 3);
  EXPECT_TRUE(EraseCommand(*list, 0));
  ASSERT_EQ(list->count, 2);
  EXPECT_EQ(list->entries[0].name.View(), "b");
  EXPECT_EQ(list->entries[1].comment.View(), long_comment);
  EXPECT_TRUE(list->entries[2].name.Empty());
}

TEST(OptionsRules, AddCountsOnlyACommandWithABody) {
  auto list = std::make_unique<CommandList>();
  AddCommand(*list, "a", "a.exe", "");
  list->entries[1].body.Set("stale");
  ASSERT_TRUE(BeginAddCommand(*list));
  EXPECT_FALSE(FinishAddCommand(*list));  // the editor was cancelled: the slot stays empty
  EXPECT_EQ(list->count, 1);
  list->entries[1].body.Set("new.exe");
  EXPECT_TRUE(FinishAddCommand(*list));
  EXPECT_EQ(list->count, 2);

  list->count = kMaxCommands;
  EXPECT_FALSE(BeginAddCommand(*list));
  EXPECT_FALSE(FinishAddCommand(*list));
  EXPECT_EQ(list->count, kMaxCommands);
}

}  // namespace
}  // namespace vsmr
