// Saving: what the caller's live values contribute, the check list's
// previous-mail keys, the older launcher form converted, cuts on writing and
// round trips through the file.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/settings_fixture.h"

namespace vsmr::test {
namespace {

// The window's values come from the caller, not from what was read.
TEST(SaveSettings, LiveValuesAreWrittenForTheWindow) {
  const struct {
    const char* name;
    LiveSettings live;
    std::string expected;
  } rows[] = {
      {"Floating", {0, 10, 20, 0},
       "CommandLineLauncher=0|WindowPositionX=10|WindowPositionY=20|InTaskOrNot=0"},
      {"LeftMonitorKeptOpenInTray", {1, -1920, -8, 1},
       "CommandLineLauncher=1|WindowPositionX=-1920|WindowPositionY=-8|InTaskOrNot=1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto state = LoadBytes(Lines({"[UserWindowData]", "CommandLineLauncher=1", "WindowPositionX=5",
                                  "WindowPositionY=6", "InTaskOrNot=1"}));
    RecordingWriter out;
    SaveSettingsFile(*state, row.live, out);
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
  auto state = LoadBytes("");
  LiveSettings live;
  live.window_position_x = -1280;
  live.window_position_y = -300;
  auto back = LoadBytes(SaveOver("", *state, live));
  EXPECT_EQ(-1280, back->window_position_x);
  EXPECT_EQ(-300, back->window_position_y);
}

TEST(SaveSettings, SaveByBuiltInWritesNotInTrayUntilTheNextClose) {
  const std::string before = Lines({"[UserWindowData]", "InTaskOrNot=1"});
  auto state = LoadBytes(before);
  EXPECT_EQ(1, state->in_task_or_not);
  LiveSettings live;
  live.in_task_or_not = 0;  // the built-in's save
  std::string saved = SaveOver(before, *state, live);
  EXPECT_NE(std::string::npos, saved.find("InTaskOrNot=0\r\n"));
  live.in_task_or_not = 1;  // the close, still in the tray
  EXPECT_NE(std::string::npos, SaveOver(saved, *state, live).find("InTaskOrNot=1\r\n"));
}

TEST(SaveSettings, TimersAreWrittenWithTwoDigits) {
  const std::string before =
      Lines({"[TimerAlarmData]", "CommandTimer01=1,7:5,notepad a,b", "CommandTimer02=1,12:30"});
  std::string bytes = SaveOver(before, *LoadBytes(before));
  EXPECT_NE(std::string::npos, bytes.find("\r\nCommandTimer01=1,07:05,notepad a,b\r\nCommandTimer02=1,12:30,\r\n"));
}

TEST(SaveSettings, PreviousMailStateFollowsEachCheckedAccount) {
  const std::string before =
      Lines({"[MailPopSetting]", "SavePreviousMailStatus=0", "Mail1AccountData=0\tpop1\tu\tp\t",
             "Mail1PrevMailData=7,<kept@x>", "Mail2AccountData=1\tpop2\tu\tp\t",
             "Mail4AccountData=1\tpop4\tu\tp\tC:\\a.wav"});
  auto state = LoadBytes(before);
  // The mail check updated account 4's entry.
  state->check_list.entries[1].message_count = 3;
  state->check_list.entries[1].key_text.Set("<m4@x>");
  RecordingWriter out;
  SaveSettingsFile(*state, {}, out);
  std::vector<RecordedWrite> mail;
  for (const auto& w : out.writes) {
    if (w.key.find("AccountData") != std::string::npos || w.key.find("PrevMailData") != std::string::npos) {
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
  EXPECT_NE(std::string::npos, SaveOver(before, *state).find("Mail1PrevMailData=7,<kept@x>\r\n"));
}

// Security and port are written when set, and when 0 only over a key the
// file has: a file from before them is written back byte for byte, and a
// value put back to 0 does not leave the old one in the file.
TEST(SaveSettings, SecurityAndPortAreLeftOutOnlyWhileZeroAndAbsent) {
  const std::string account = "Mail2AccountData=1\tpop2\tu\tp\t";
  const struct {
    const char* name;
    std::string before;  // the file saved over
    std::int32_t security, port;
    std::string written;  // lines in the file after the save
  } rows[] = {
      {"ZeroAndAbsent", "", 0, 0, Lines({account, "Mail2PrevMailData=0,", "Mail3AccountData=0"})},
      {"Set", "", 1, 8995,
       Lines({account, "Mail2PrevMailData=0,", "Mail2Security=1", "Mail2Port=8995", "Mail3"})},
      {"OnlyOneSet", "", 2, 0,
       Lines({account, "Mail2PrevMailData=0,", "Mail2Security=2", "Mail3AccountData=0"})},
      {"UnknownSecurityKept", "", 7, 0,
       Lines({account, "Mail2PrevMailData=0,", "Mail2Security=7", "Mail3AccountData=0"})},
      {"BackToZero", Lines({"[MailPopSetting]", account, "Mail2Security=2", "Mail2Port=8110"}), 0, 0,
       Lines({account, "Mail2Security=0", "Mail2Port=0"})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto state = LoadBytes(Lines({"[MailPopSetting]", account}));
    state->accounts[1].security = row.security;
    state->accounts[1].port = row.port;
    const std::string saved = SaveOver(row.before, *state);
    EXPECT_NE(std::string::npos, saved.find(row.written.substr(0, row.written.size() - 2))) << saved;
    auto back = LoadBytes(saved);
    EXPECT_EQ(row.security, back->accounts[1].security);
    EXPECT_EQ(row.port, back->accounts[1].port);
  }
  // A file as saved before these keys existed is saved again unchanged.
  const std::string today = SaveOver("", *LoadBytes(Lines({"[MailPopSetting]", account})));
  EXPECT_EQ(std::string::npos, today.find("Security"));
  EXPECT_EQ(today, SaveOver(today, *LoadBytes(today)));
}

TEST(SaveSettings, OlderLauncherFormIsConvertedAndItsKeysKept) {
  const std::string before = Lines({"[ButtonLauncher]", "ApplicationPath3=C:\\Tools\\app.exe", "ShowButton3=1"});
  auto state = LoadBytes(before, "C:\\V\\vesmira.exe");
  EXPECT_EQ(1, state->launcher_items[2].shown);
  std::string bytes = SaveOver(before, *state);
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
  auto back = LoadBytes(edited, "C:\\Elsewhere\\vesmira.exe");
  EXPECT_EQ("C:\\Tools\\app.exe", back->launcher_items[2].path.View());
  EXPECT_EQ("C:\\V\\vesmira.exe", back->launcher_items[2].icon_path.View());
}

TEST(SaveSettings, OverlongFieldsAreCutNeverOverrun) {
  auto state = std::make_unique<SettingsState>();
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
  RecordingWriter out;
  SaveSettingsFile(*state, {}, out);
  EXPECT_EQ(std::string(259, 's'), out.Find("SkinBitmapPath"));
  EXPECT_EQ(std::string(31, 'w'), out.Find("LeaveRoomPassword"));
  EXPECT_EQ("0,123:-4," + std::string(127, 'c'), out.Find("CommandTimer01"));
  EXPECT_EQ("0\t" + std::string(255, 'h') + "\t" + std::string(63, 'u') + "\t" + std::string(63, 'p') +
                "\t" + std::string(259, 'f'),
            out.Find("Mail1AccountData"));
}

// Every field set away from its default, saved and loaded again: the state
// read back writes the same bytes, and every key of the file changed.
TEST(SaveSettings, EverySettingSurvivesARoundTrip) {
  auto state = std::make_unique<SettingsState>();
  SettingsState& s = *state;
  s.command_line_launcher_length = 240;
  s.skin_bitmap_path.Set("C:\\スキン\\表.bmp");
  s.command_launcher_cmb_bx_font.Set("ＭＳ ゴシック");
  s.clock_font_color = 0x00FF8040;
  s.new_mail_dialog_left = -900;
  s.new_mail_dialog_top = 5;
  s.new_mail_dialog_right = -100;
  s.new_mail_dialog_bottom = 400;
  s.new_mail_dialog_list_height = 77;
  for (int i = 0; i < kCommandTimerCount; ++i) {
    s.timers[i] = CommandTimer{i + 10, i * 7 + 1, i % 2, {}};
    s.timers[i].command.Set("#2001 a,b & c" + std::to_string(i));
  }
  s.auto_check_time = 600;
  s.show_mail_dialog = 0;
  s.save_previous_mail_status = 1;
  s.mail_launcher_command.Set("mlc");
  s.mail_launcher_or_not = 1;
  s.time_out = 30;
  s.limit_mail_size = 1000;
  s.delete_mail_permission = 1;
  for (int i = 0; i < kMailAccountCount; ++i) {
    MailAccount& a = s.accounts[i];
    a.enabled = 1;
    a.server.Set("pop" + std::to_string(i) + ".example.jp");
    a.user_name.Set("user" + std::to_string(i));
    a.password.Set("pa,ss\t" + std::to_string(i));
    a.sound_file.Set("C:\\音\\" + std::to_string(i) + ".wav");
    a.security = 1 + i % 2;
    a.port = 10000 + i;
    PreviousMailState& e = s.check_list.entries[i];
    e.account = i;
    e.message_count = 40 + i;
    e.key_text.Set("<id,with,commas" + std::to_string(i) + "@x>");
  }
  s.check_list.count = kMailAccountCount;
  // Five more than it keeps: the oldest five go.
  for (std::uint64_t i = 1; i <= kMailLauncherRunsKept + 5; ++i) {
    s.mail_launcher_runs.Remember(i * 0x0123456789abcdefull);
  }
  s.using_drop_file = 2;
  s.leave_room_mode = 1;
  s.leave_room_password.Set("秘密");
  for (int i = 0; i < kLauncherItemCount; ++i) {
    LauncherItem& item = s.launcher_items[i];
    item.shown = 1;
    item.path.Set("C:\\ソフト\\" + std::to_string(i) + ".exe");
    item.comment.Set("comment\t" + std::to_string(i));
    item.icon_index = i + 1;
    item.icon_path.Set("C:\\i" + std::to_string(i) + ".ico");
  }
  s.hot_key = 0x0641;
  const LiveSettings live{1, -5, -6, 1};

  const std::string saved = SaveOver("", s, live);
  auto back = LoadBytes(saved);
  EXPECT_EQ(saved, SaveOver("", *back, live));
  EXPECT_EQ(1, back->command_line_launcher);
  EXPECT_EQ(-5, back->window_position_x);
  EXPECT_EQ(-6, back->window_position_y);
  EXPECT_EQ(1, back->in_task_or_not);
  EXPECT_EQ(0x0641, back->hot_key);
  ASSERT_EQ(kMailAccountCount, back->check_list.count);
  EXPECT_EQ("<id,with,commas4@x>", back->check_list.entries[4].key_text.View());
  EXPECT_EQ(1, back->accounts[4].security);
  EXPECT_EQ(10004, back->accounts[4].port);
  ASSERT_EQ(kMailLauncherRunsKept, back->mail_launcher_runs.count);
  EXPECT_EQ(6 * 0x0123456789abcdefull, back->mail_launcher_runs.ids[0]);
  EXPECT_EQ((kMailLauncherRunsKept + 5) * 0x0123456789abcdefull,
            back->mail_launcher_runs.ids[kMailLauncherRunsKept - 1]);

  // No key kept its first-start value, so each went through its field; the
  // keys are those of a first start, the previous state, security and port
  // of each account, and the mail launcher's memory.
  const std::string first_start = FirstStartBytes();
  std::size_t at = 0, keys = 0;
  while (at < saved.size()) {
    std::size_t end = saved.find("\r\n", at);
    std::string line = saved.substr(at, end - at);
    at = end + 2;
    if (line.front() == '[') continue;
    ++keys;
    EXPECT_EQ(std::string::npos, first_start.find("\n" + line + "\r")) << line;
  }
  std::size_t first_start_keys = 0;
  for (char c : first_start) first_start_keys += c == '=';
  EXPECT_EQ(first_start_keys + kMailAccountCount * 3 + 1, keys);
}

// The mail launcher's memory goes to the file as soon as it grows, that key
// alone; reading it back skips whatever is not an identity.
TEST(SaveSettings, MailLauncherRunsAreWrittenAloneAtOnce) {
  SettingsFolder folder;
  folder.WriteSettings(Lines({"[MailPopSetting]", "AutoCheckTime=60"}));
  auto state = std::make_unique<SettingsState>();
  state->auto_check_time = 10;  // not this write's
  state->mail_launcher_runs.Remember(0xfedcba9876543210ull);
  state->mail_launcher_runs.Remember(0x1ull);
  ASSERT_TRUE(WriteMailLauncherRuns(*state, folder.SettingsPath()));
  EXPECT_EQ(Lines({"[MailPopSetting]", "AutoCheckTime=60",
                   "MailLauncherDone=fedcba9876543210,0000000000000001"}),
            folder.ReadSettings());
  auto back = LoadBytes(Lines({"[MailPopSetting]",
                               "MailLauncherDone=zz,00000000000000x1,0000000000000001,12,,"
                               "0000000000000001,00000000000000002,FEDCBA9876543210"}));
  ASSERT_EQ(2, back->mail_launcher_runs.count);
  EXPECT_EQ(0x1ull, back->mail_launcher_runs.ids[0]);
  EXPECT_EQ(0xfedcba9876543210ull, back->mail_launcher_runs.ids[1]);
}

}  // namespace
}  // namespace vsmr::test
