// Launcher items: splitting "LauncherNNData"/"LauncherNNIcon", the older
// per-key form, cuts at the read length and field widths, and the written form.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/settings_fixture.h"

namespace vsmr::test {
namespace {

constexpr const char* kIcon = "C:\\Tools\\vesmira.exe";

struct ItemRow {
  const char* name;
  std::string section_body;  // lines of [ButtonLauncher] for item 3
  int shown;
  std::string path, comment, icon_path;
  int icon_index;
};

class LoadItem : public testing::TestWithParam<ItemRow> {};

TEST_P(LoadItem, ReadsFields) {
  const ItemRow& row = GetParam();
  auto state = LoadBytes("[ButtonLauncher]\r\n" + row.section_body, kIcon);
  const LauncherItem& item = state->launcher_items[2];
  EXPECT_EQ(row.shown, item.shown);
  EXPECT_EQ(row.path, item.path.View());
  EXPECT_EQ(row.comment, item.comment.View());
  EXPECT_EQ(row.icon_path, item.icon_path.View());
  EXPECT_EQ(row.icon_index, item.icon_index);
}

const std::string k259(259, 'p');
const std::string k255(255, 'c');

INSTANTIATE_TEST_SUITE_P(
    Rows, LoadItem,
    testing::Values(
        ItemRow{"Full", Lines({"Launcher03Data=1\tC:\\a.exe\tA tool", "Launcher03Icon=3\tC:\\i.ico"}),
                1, "C:\\a.exe", "A tool", "C:\\i.ico", 3},
        ItemRow{"EmptyComment", Lines({"Launcher03Data=1\tC:\\a.exe\t", "Launcher03Icon=0\tC:\\a.exe"}),
                1, "C:\\a.exe", "", "C:\\a.exe", 0},
        ItemRow{"EmptyPath", Lines({"Launcher03Data=0\t\tcomment only", "Launcher03Icon=0\t"}),
                0, "", "comment only", "", 0},
        ItemRow{"CommentKeepsInnerTabs", Lines({"Launcher03Data=1\tp\tc1\t\tc2", "Launcher03Icon=0\tx"}),
                1, "p", "c1\t\tc2", "x", 0},
        ItemRow{"IconPathEndsAtTab", Lines({"Launcher03Data=1\tp\tc", "Launcher03Icon=-2\tC:\\i.ico\tjunk"}),
                1, "p", "c", "C:\\i.ico", -2},
        ItemRow{"NoTabsAtAll", Lines({"Launcher03Data=7", "Launcher03Icon=5"}), 7, "", "", "", 5},
        ItemRow{"IconKeyAbsent", Lines({"Launcher03Data=1\tp\tc"}), 1, "p", "c", "", 0},
        ItemRow{"ShownNotANumber", Lines({"Launcher03Data=yes\tp\tc"}), 0, "p", "c", "", 0},
        ItemRow{"ShiftJisPath", Lines({"Launcher03Data=1\tC:\\ソフト\\表.exe\t能力", "Launcher03Icon=0\tC:\\ソフト\\表.exe"}),
                1, "C:\\ソフト\\表.exe", "能力", "C:\\ソフト\\表.exe", 0},
        // A saved empty item: the file's reader drops the trailing tabs, so it
        // is not mistaken for an absent key.
        ItemRow{"SavedEmptyItem", Lines({"Launcher03Data=0\t\t", "Launcher03Icon=4\tx"}),
                0, "", "", "x", 4},
        ItemRow{"OlderFormPathOnly", Lines({"ApplicationPath3=C:\\old.exe", "ShowButton3=1"}),
                1, "C:\\old.exe", "C:\\old.exe", kIcon, 0},
        ItemRow{"OlderFormAllKeys",
                Lines({"ApplicationPath3=C:\\old.exe", "Comment3=Old", "IconPath3=C:\\o.ico",
                       "IconIndex3=2", "ShowButton3=1"}),
                1, "C:\\old.exe", "Old", "C:\\o.ico", 2},
        ItemRow{"OlderFormOfAnotherItem", Lines({"ApplicationPath4=C:\\old.exe", "ShowButton4=1"}),
                0, "not found", "not found", kIcon, 0},
        ItemRow{"NewFormWinsOverOlder",
                Lines({"ApplicationPath3=C:\\old.exe", "ShowButton3=1", "Launcher03Data=0\tC:\\new.exe\tn"}),
                0, "C:\\new.exe", "n", "", 0},
        // Path over its width: cut to 259 bytes.
        ItemRow{"LongPath", Lines({"Launcher03Data=1\t" + std::string(300, 'p') + "\tc"}), 1, k259, "c", "", 0},
        // 1 + tab + 259 + tab leaves 257 bytes of the 519 read for the comment; cut to 255.
        ItemRow{"LongPathAndComment", Lines({"Launcher03Data=1\t" + k259 + "\t" + std::string(400, 'c')}),
                1, k259, k255, "", 0},
        ItemRow{"LongIconPath", Lines({"Launcher03Data=1\tp\tc", "Launcher03Icon=1\t" + std::string(600, 'i')}),
                1, "p", "c", std::string(259, 'i'), 1},
        ItemRow{"OlderFormLongPathIsCommentDefault",
                Lines({"ApplicationPath3=" + std::string(300, 'q')}), 0, std::string(259, 'q'),
                std::string(255, 'q'), kIcon, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveItem, WritesDataThenIcon) {
  LauncherItem item;
  item.shown = 1;
  item.path.Set("C:\\a b\\x.exe");
  item.comment.Set("");
  item.icon_index = -1;
  item.icon_path.Set("C:\\i.ico");
  auto state = std::make_unique<SettingsState>();
  state->launcher_items[9] = item;
  RecordingWriter out;
  SaveSettingsFile(*state, {}, out);
  std::vector<RecordedWrite> item_writes;
  for (const auto& w : out.writes) {
    if (w.key.rfind("Launcher10", 0) == 0) item_writes.push_back(w);
  }
  std::vector<RecordedWrite> expected = {
      {"ButtonLauncher", "Launcher10Data", "1\tC:\\a b\\x.exe\t"},
      {"ButtonLauncher", "Launcher10Icon", "-1\tC:\\i.ico"},
  };
  EXPECT_EQ(expected, item_writes);
}

TEST(SaveItem, FieldFilledWithoutTerminatorIsCutToWidth) {
  auto state = std::make_unique<SettingsState>();
  LauncherItem& item = state->launcher_items[0];
  std::memset(item.path.data, 'p', sizeof item.path.data);
  std::memset(item.comment.data, 'c', sizeof item.comment.data);
  std::memset(item.icon_path.data, 'i', sizeof item.icon_path.data);
  RecordingWriter out;
  SaveSettingsFile(*state, {}, out);
  EXPECT_EQ("0\t" + std::string(259, 'p') + "\t" + std::string(255, 'c'), out.Find("Launcher01Data"));
  EXPECT_EQ("0\t" + std::string(259, 'i'), out.Find("Launcher01Icon"));
}

}  // namespace
}  // namespace vsmr::test
