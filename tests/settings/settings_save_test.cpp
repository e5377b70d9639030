// SaveSettings and the launcher items: the exact bytes of a file written from
// nothing, what the main window contributes, the check list's previous-mail
// keys, cuts on writing and round trips through the file.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "settings_fixture.h"

namespace vsmr::test {
namespace {

// Saves `state` over `folder`'s file as the save sequence does (without the
// command list) and returns the file's bytes.
std::string Save(const SettingsFolder& folder, const SettingsState& state, std::int32_t in_tray,
                 RecordingWindow& window) {
  ProfileDocument file = folder.Load();
  DocumentWriter out(file);
  WriteSettingsAndItems(state, in_tray, window, out);
  EXPECT_TRUE(file.Save(folder.SettingsPath()));
  return folder.ReadSettings();
}

std::unique_ptr<SettingsState> LoadState(const SettingsFolder& folder, RecordingWindow& window,
                                         std::string_view icon = "C:\\V\\vesmira.exe") {
  auto state = FreshState();
  ProfileDocument file = folder.Load();
  for (int i = 0; i < kLauncherItemCount; ++i) {
    LauncherItem& item = state->launcher_items[i];
    item.shown = LoadLauncherItem(item, i, file, icon);
  }
  LoadSettings(*state, file, window);
  return state;
}

TEST(SaveSettings, FirstStartWritesEveryKeyInOrder) {
  SettingsFolder folder;
  RecordingWindow window;
  auto state = LoadState(folder, window);
  EXPECT_EQ(FirstStartSettingsBytes("C:\\V\\vesmira.exe"), Save(folder, *state, 0, window));
  // A second close changes nothing.
  auto again = LoadState(folder, window);
  EXPECT_EQ(FirstStartSettingsBytes("C:\\V\\vesmira.exe"), Save(folder, *again, 0, window));
}

TEST(SaveSettings, WindowGivesPositionAndLauncherFlag) {
  const struct {
    const char* name;
    bool kept_open;
    ScreenPoint position;
    std::int32_t in_tray;
    std::string expected;
  } rows[] = {
      {"Floating", false, {10, 20}, 0,
       "CommandLineLauncher=0|WindowPositionX=10|WindowPositionY=20|InTaskOrNot=0"},
      {"LeftMonitorKeptOpenInTray", true, {-1920, -8}, 1,
       "CommandLineLauncher=1|WindowPositionX=-1920|WindowPositionY=-8|InTaskOrNot=1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto state = FreshState();
    RecordingWindow window;
    window.kept_open = row.kept_open;
    window.position = row.position;
    RecordingWriter out;
    SaveSettings(*state, row.in_tray, window, out);
    std::string got;
    for (const auto& w : out.writes) {
      if (w.key == "CommandLineLauncher" || w.key.rfind("WindowPosition", 0) == 0 || w.key == "InTaskOrNot") {
        got += (got.empty() ? "" : "|") + w.key + "=" + w.text;
      }
    }
    EXPECT_EQ(row.expected, got);
  }
}

TEST(SaveSettings, NegativeCoordinatesRoundTrip) {
  SettingsFolder folder;
  RecordingWindow window;
  window.position = {-1280, -300};
  auto state = LoadState(folder, window);
  Save(folder, *state, 0, window);
  RecordingWindow reader;
  auto back = LoadState(folder, reader);
  EXPECT_EQ(-1280, back->window_position_x);
  EXPECT_EQ(-300, back->window_position_y);
  ASSERT_EQ(1u, reader.moves.size());
  EXPECT_EQ(-1280, reader.moves[0].x);
}

TEST(SaveSettings, SaveByBuiltInWritesNotInTrayUntilTheNextClose) {
  SettingsFolder folder;
  folder.WriteSettings(Lines({"[UserWindowData]", "InTaskOrNot=1"}));
  RecordingWindow window;
  auto state = LoadState(folder, window);
  EXPECT_EQ(1, state->in_task_or_not);
  Save(folder, *state, 0, window);  // the built-in's save
  EXPECT_NE(std::string::npos, folder.ReadSettings().find("InTaskOrNot=0\r\n"));
  Save(folder, *state, 1, window);  // the close, still in the tray
  EXPECT_NE(std::string::npos, folder.ReadSettings().find("InTaskOrNot=1\r\n"));
}

TEST(SaveSettings, TimersAreWrittenWithTwoDigits) {
  SettingsFolder folder;
  folder.WriteSettings(Lines({"[TimerAlarmData]", "CommandTimer01=1,7:5,notepad a,b", "CommandTimer02=1,12:30"}));
  RecordingWindow window;
  auto state = LoadState(folder, window);
  std::string bytes = Save(folder, *state, 0, window);
  EXPECT_NE(std::string::npos, bytes.find("\r\nCommandTimer01=1,07:05,notepad a,b\r\nCommandTimer02=1,12:30,\r\n"));
}

TEST(SaveSettings, PreviousMailStateFollowsEachCheckedAccount) {
  SettingsFolder folder;
  folder.WriteSettings(Lines({"[MailPopSetting]", "SavePreviousMailStatus=0",
                              "Mail1AccountData=0\tpop1\tu\tp\t", "Mail1PrevMailData=7,<kept@x>",
                              "Mail2AccountData=1\tpop2\tu\tp\t", "Mail4AccountData=1\tpop4\tu\tp\tC:\\a.wav"}));
  RecordingWindow window;
  auto state = LoadState(folder, window);
  // The mail check updated account 4's entry.
  state->check_list.entries[1].message_count = 3;
  state->check_list.entries[1].key_text.Set("<m4@x>");
  RecordingWriter out;
  SaveSettings(*state, 0, window, out);
  std::vector<RecordedWrite> mail;
  for (const auto& w : out.writes) {
    if (w.key.rfind("Mail", 0) == 0 && w.key != "MailLauncherCommand" && w.key != "MailLauncherOrNot") {
      mail.push_back(w);
    }
  }
  std::vector<RecordedWrite> expected = {
      {"MailPopSetting", "Mail1AccountData", "0\tpop1\tu\tp\t"},
      {"MailPopSetting", "Mail2AccountData", "1\tpop2\tu\tp\t"},
      {"MailPopSetting", "Mail2PrevMailData", "0,"},
      {"MailPopSetting", "Mail3AccountData", "0\t\t\t\t"},
      {"MailPopSetting", "Mail4AccountData", "1\tpop4\tu\tp\tC:\\a.wav"},
      {"MailPopSetting", "Mail4PrevMailData", "3,<m4@x>"},
      {"MailPopSetting", "Mail5AccountData", "0\t\t\t\t"},
  };
  EXPECT_EQ(expected, mail);
  // The disabled account 1 keeps its key in the file.
  Save(folder, *state, 0, window);
  EXPECT_NE(std::string::npos, folder.ReadSettings().find("Mail1PrevMailData=7,<kept@x>\r\n"));
}

TEST(SaveSettings, OlderLauncherFormIsConvertedAndItsKeysKept) {
  SettingsFolder folder;
  folder.WriteSettings(Lines({"[ButtonLauncher]", "ApplicationPath3=C:\\Tools\\app.exe", "ShowButton3=1"}));
  RecordingWindow window;
  auto state = LoadState(folder, window);
  EXPECT_EQ(1, state->launcher_items[2].shown);
  std::string bytes = Save(folder, *state, 0, window);
  // The old keys stay at the top of their section; the new ones follow them.
  EXPECT_EQ(0u, bytes.find(Lines({"[ButtonLauncher]", "ApplicationPath3=C:\\Tools\\app.exe", "ShowButton3=1",
                                  "Launcher01Data=0\tnot found\tnot found"})));
  EXPECT_NE(std::string::npos,
            bytes.find(Lines({"Launcher03Data=1\tC:\\Tools\\app.exe\tC:\\Tools\\app.exe",
                              "Launcher03Icon=0\tC:\\V\\vesmira.exe"})));
  // Once converted, the older keys are not read again.
  std::string edited = bytes;
  const std::string old_key = "ApplicationPath3=C:\\Tools\\app.exe";
  edited.replace(edited.find(old_key), old_key.size(), "ApplicationPath3=C:\\Other\\zzz.exe");
  folder.WriteSettings(edited);
  auto back = LoadState(folder, window, "C:\\Elsewhere\\vesmira.exe");
  EXPECT_EQ("C:\\Tools\\app.exe", back->launcher_items[2].path.View());
  EXPECT_EQ("C:\\V\\vesmira.exe", back->launcher_items[2].icon_path.View());
}

TEST(SaveSettings, OverlongFieldsAreCutNeverOverrun) {
  auto state = FreshState();
  std::memset(state->skin_bitmap_path.data, 's', sizeof state->skin_bitmap_path.data);
  std::memset(state->leave_room_password.data, 'w', sizeof state->leave_room_password.data);
  std::memset(state->timers[0].command.data, 'c', sizeof state->timers[0].command.data);
  MailAccount& a = state->accounts[0];
  std::memset(a.server.data, 'h', sizeof a.server.data);
  std::memset(a.user_name.data, 'u', sizeof a.user_name.data);
  std::memset(a.password.data, 'p', sizeof a.password.data);
  std::memset(a.sound_file.data, 'f', sizeof a.sound_file.data);
  state->timers[0].hour = 123;
  state->timers[0].minute = -4;
  RecordingWindow window;
  RecordingWriter out;
  SaveSettings(*state, 0, window, out);
  auto find = [&](std::string_view key) {
    for (const auto& w : out.writes) if (w.key == key) return w.text;
    return std::string("(absent)");
  };
  EXPECT_EQ(std::string(259, 's'), find("SkinBitmapPath"));
  EXPECT_EQ(std::string(31, 'w'), find("LeaveRoomPassword"));
  EXPECT_EQ("0,123:-4," + std::string(127, 'c'), find("CommandTimer01"));
  EXPECT_EQ("0\t" + std::string(255, 'h') + "\t" + std::string(63, 'u') + "\t" + std::string(63, 'p') +
                "\t" + std::string(259, 'f'),
            find("Mail1AccountData"));
}

TEST(SaveSettings, EverySettingSurvivesARoundTrip) {
  SettingsFolder folder;
  auto state = FreshState();
  state->command_line_launcher_length = 240;
  state->skin_bitmap_path.Set("C:\\スキン\\表.bmp");
  state->command_launcher_cmb_bx_font.Set("ＭＳ ゴシック");
  state->clock_font_color = 0x00FF8040;
  state->new_mail_dialog_left = -900;
  state->new_mail_dialog_top = 5;
  state->new_mail_dialog_right = -100;
  state->new_mail_dialog_bottom = 400;
  state->new_mail_dialog_list_height = 77;
  state->timers[3] = CommandTimer{23, 59, 1, {}};
  state->timers[3].command.Set("#2001 a,b & c");
  state->auto_check_time = 600;
  state->show_mail_dialog = 0;
  state->save_previous_mail_status = 1;
  state->mail_launcher_command.Set("mlc");
  state->mail_launcher_or_not = 1;
  state->time_out = 30;
  state->limit_mail_size = 1000;
  state->delete_mail_permission = 1;
  state->accounts[2] = MailAccount{{}, {}, {}, {}, 1};
  state->accounts[2].server.Set("pop.example.jp");
  state->accounts[2].password.Set("pa,ss");
  state->check_list.count = 1;
  state->check_list.entries[0].account = 2;
  state->check_list.entries[0].message_count = 42;
  state->check_list.entries[0].key_text.Set("<id,with,commas@x>");
  state->using_drop_file = 2;
  state->leave_room_mode = 1;
  state->leave_room_password.Set("秘密");
  state->launcher_items[63].shown = 1;
  state->launcher_items[63].path.Set("C:\\ソフト\\a.exe");
  state->launcher_items[63].comment.Set("comment");
  state->launcher_items[63].icon_index = 2;
  state->launcher_items[63].icon_path.Set("C:\\i.ico");
  RecordingWindow window;
  window.position = {-5, -6};
  Save(folder, *state, 1, window);

  RecordingWindow reader;
  auto back = LoadState(folder, reader);
  state->window_position_x = -5;
  state->window_position_y = -6;
  state->in_task_or_not = 1;
  RecordingWriter first, second;
  SaveSettings(*state, 1, window, first);
  SaveSettings(*back, 1, window, second);
  EXPECT_EQ(first.writes, second.writes);
  EXPECT_EQ(state->check_list.entries[0].key_text.View(), back->check_list.entries[0].key_text.View());
  EXPECT_EQ("C:\\ソフト\\a.exe", back->launcher_items[63].path.View());
  EXPECT_EQ(2, back->launcher_items[63].icon_index);
  EXPECT_EQ(1, back->launcher_items[63].shown);
}

}  // namespace
}  // namespace vsmr::test
