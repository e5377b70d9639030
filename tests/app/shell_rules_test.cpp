// Small shell rules: the clock face's text and colour, the drop list, the hot
// key mapping, the launcher history and the completion list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/clock_face.h"
#include "app/completion_list.h"
#include "app/drop_list.h"
#include "app/hot_key.h"
#include "command/launcher_history.h"

namespace vsmr {
namespace {

TEST(ClockFace, TextAndColourFirstMatchWins) {
  const ColorRef user = MakeColor(1, 2, 3);
  struct Row {
    const char* name;
    const char* status;
    bool shutdown;
    ClockTime t;
    const char* text;
    ColorRef color;
  } rows[] = {
      {"plain time", "", false, {9, 5, 7}, "09:05:07", user},
      {"on the hour", "", false, {12, 0, 0}, "12:00:00", kHourColor},
      {"one second past", "", false, {12, 0, 1}, "12:00:01", kHourColor},
      {"two seconds past", "", false, {12, 0, 2}, "12:00:02", user},
      {"status word wins", "CmdErrAD", true, {12, 0, 0}, "CmdErrAD", kStatusColor},
      {"shutdown", "", true, {12, 0, 0}, "Shutdown", kStatusColor},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ClockText got = ChooseClockText(r.status, r.shutdown, r.t, user);
    EXPECT_EQ(got.text.View(), r.text);
    EXPECT_EQ(got.color, r.color);
  }
}

TEST(DropList, QuotesNamesWithoutTrailingBlank) {
  EXPECT_EQ(BuildDropList({"C:\\a.txt", "C:\\b c.txt"}), "\"C:\\a.txt\" \"C:\\b c.txt\"");
  EXPECT_EQ(BuildDropList({"C:\\表\\x"}), "\"C:\\表\\x\"");
  EXPECT_EQ(BuildDropList({}), "");
}

TEST(DropList, NeverExceedsLimitOrCutsAName) {
  std::vector<std::string> names(40, std::string(250, 'a'));
  std::string list = BuildDropList(names);
  EXPECT_LE(list.size(), kLineMax);
  EXPECT_EQ(list.back(), '"');
  // 252 bytes per quoted name plus a blank: 32 fit, the 33rd would pass 8191.
  EXPECT_EQ(list.size(), 32 * 252 + 31u);
}

TEST(DropList, ClipboardTextIsCutWithoutSplittingCharacters) {
  std::string list = "\"" + std::string(1021, 'a') + "表\"";  // 表 is two bytes at 1022-1023
  std::string_view cut = ClipboardDropText(list);
  EXPECT_EQ(cut.size(), 1022u);
  EXPECT_EQ(ClipboardDropText("\"x\""), "\"x\"");
}

TEST(HotKey, ModifierFlagsMapToRegisterHotKeyFlags) {
  struct Row {
    std::uint16_t stored;
    unsigned vk, mods;
  } rows[] = {
      {0x0041, 0x41, 0},
      {0x0141, 0x41, kModShift},
      {0x0241, 0x41, kModControl},
      {0x0441, 0x41, kModAlt},
      {0x0F70, 0x70, kModAlt | kModControl | kModShift},  // 0x08 (extended) ignored
      {0x0870, 0x70, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.stored);
    HotKeyBinding b = MapHotKey(r.stored);
    EXPECT_EQ(b.virtual_key, r.vk);
    EXPECT_EQ(b.modifiers, r.mods);
  }
}

std::vector<std::string> Entries(const LauncherHistory& h) {
  std::vector<std::string> out;
  for (int i = 0; i < LauncherHistory::kEntries; ++i) out.emplace_back(h.Entry(i));
  return out;
}

TEST(LauncherHistory, DistinctLinesNewestFirst) {
  LauncherHistory h;
  h.Enter("a");
  h.Enter("b");
  h.Enter("a");  // moves to the front, one copy only
  EXPECT_EQ(Entries(h), (std::vector<std::string>{"a", "b", "", "", "", "", "", "", "", ""}));
  h.Enter("A");  // case-sensitive
  EXPECT_EQ(h.Entry(0), "A");
  EXPECT_EQ(h.Entry(1), "a");
}

TEST(LauncherHistory, EleventhLineDropsTheOldest) {
  LauncherHistory h;
  for (int i = 0; i < 11; ++i) h.Enter("line" + std::to_string(i));
  EXPECT_EQ(h.Entry(0), "line10");
  EXPECT_EQ(h.Entry(9), "line1");
  // Re-entering the oldest moves it up and keeps the rest in order.
  h.Enter("line1");
  EXPECT_EQ(h.Entry(0), "line1");
  EXPECT_EQ(h.Entry(1), "line10");
  EXPECT_EQ(h.Entry(9), "line2");
}

TEST(LauncherHistory, LongLinesAreStoredCut) {
  LauncherHistory h;
  std::string line(600, 'x');
  h.Enter(line);
  EXPECT_EQ(h.Entry(0).size(), 511u);
  h.Enter(line);  // the same line again: still one entry
  EXPECT_EQ(h.Entry(1), "");
  std::string sjis = std::string(510, 'x') + "表";
  h.Enter(sjis);
  EXPECT_EQ(h.Entry(0).size(), 510u);  // no half character at the end
}

TEST(CompletionList, NamesUpToFirstEmptyThenHistory) {
  CommandList commands;
  commands.count = 4;
  commands.entries[0].name.Set("notepad");
  commands.entries[1].name.Set("calc");
  commands.entries[2].name.Set("");
  commands.entries[3].name.Set("hidden");
  LauncherHistory history;
  history.Enter("old");
  history.Enter("new");
  EXPECT_EQ(BuildCompletionList(commands, history),
            (std::vector<std::string>{"notepad", "calc", "new", "old"}));
}

TEST(CompletionList, EnumeratorCursor) {
  EnumCursor c;
  EXPECT_EQ(c.Take(2, 3), 2u);
  EXPECT_EQ(c.Take(5, 3), 1u);  // fewer than requested: the end
  EXPECT_EQ(c.Take(1, 3), 0u);
  c.position = 0;
  EXPECT_TRUE(c.Skip(2, 3));
  EXPECT_EQ(c.position, 2u);
  EXPECT_FALSE(c.Skip(1, 3));  // would reach the end: refused, unchanged
  EXPECT_EQ(c.position, 2u);
}

}  // namespace
}  // namespace vsmr
