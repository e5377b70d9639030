// Launcher items: splitting "LauncherNNData"/"LauncherNNIcon", the older
// per-key form, cuts at the read length and field widths, and the written form.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "settings_fixture.h"

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
  SettingsFolder folder;
  folder.WriteSettings("[ButtonLauncher]\r\n" + row.section_body);
  ProfileDocument file = folder.Load();
  LauncherItem item;
  EXPECT_EQ(row.shown, LoadLauncherItem(item, 2, file, kIcon));
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

TEST(LoadItem, MissingFileGivesOlderFormDefaults) {
  SettingsFolder folder;
  ProfileDocument file = folder.Load();
  LauncherItem item;
  item.path.Set("stale");
  EXPECT_EQ(0, LoadLauncherItem(item, 63, file, kIcon));
  EXPECT_EQ("not found", item.path.View());
  EXPECT_EQ("not found", item.comment.View());
  EXPECT_EQ(kIcon, item.icon_path.View());
}

TEST(SaveItem, WritesDataThenIcon) {
  LauncherItem item;
  item.shown = 1;
  item.path.Set("C:\\a b\\x.exe");
  item.comment.Set("");
  item.icon_index = -1;
  item.icon_path.Set("C:\\i.ico");
  RecordingWriter out;
  SaveLauncherItem(item, 9, out);
  std::vector<RecordedWrite> expected = {
      {"ButtonLauncher", "Launcher10Data", "1\tC:\\a b\\x.exe\t"},
      {"ButtonLauncher", "Launcher10Icon", "-1\tC:\\i.ico"},
  };
  EXPECT_EQ(expected, out.writes);
}

TEST(SaveItem, FieldFilledWithoutTerminatorIsCutToWidth) {
  LauncherItem item;
  std::memset(item.path.data, 'p', sizeof item.path.data);
  std::memset(item.comment.data, 'c', sizeof item.comment.data);
  std::memset(item.icon_path.data, 'i', sizeof item.icon_path.data);
  RecordingWriter out;
  SaveLauncherItem(item, 0, out);
  ASSERT_EQ(2u, out.writes.size());
  EXPECT_EQ("0\t" + std::string(259, 'p') + "\t" + std::string(255, 'c'), out.writes[0].text);
  EXPECT_EQ("0\t" + std::string(259, 'i'), out.writes[1].text);
}

TEST(SaveItem, KeyNamesAreTwoDigitsFromOne) {
  EXPECT_EQ("Launcher01Data", LauncherDataKey(0));
  EXPECT_EQ("Launcher64Icon", LauncherIconKey(63));
  EXPECT_EQ("CommandTimer08", CommandTimerKey(7));
  EXPECT_EQ("Mail1AccountData", MailAccountKey(0));
  EXPECT_EQ("Mail5PrevMailData", PrevMailKey(4));
  EXPECT_EQ("ApplicationPath64", LegacyLauncherKey("ApplicationPath", 63));
}

TEST(DefaultIcon, FolderOfTheSettingsFile) {
  EXPECT_EQ("C:\\Program Files\\Vesmira\\vesmira.exe",
            DefaultIconPath("C:\\Program Files\\Vesmira\\vsmrsys.ini"));
  EXPECT_EQ("C:\\ソフト\\vesmira.exe", DefaultIconPath("C:\\ソフト\\vsmrsys.ini"));
}

}  // namespace
}  // namespace vsmr::test
