// Loading: the mail window's defaults from the work area, the clamps, the
// window values handed back as data, command timers, mail accounts and the
// check list, and cuts at read lengths and field widths.
#include <gtest/gtest.h>

#include "settings/settings_fixture.h"

namespace vsmr::test {
namespace {

struct Loaded {
  std::unique_ptr<SettingsState> state;
};

Loaded LoadFrom(const std::string& bytes) { return Loaded{LoadBytes(bytes)}; }

TEST(LoadSettings, MailWindowDefaultsUseHalvesRoundedTowardZero) {
  auto state = LoadBytes("", kFirstStartIcon, 1279, 1001);
  EXPECT_EQ(639 - 280, state->new_mail_dialog_left);
  EXPECT_EQ(500 - 165, state->new_mail_dialog_top);
  EXPECT_EQ(639 + 280, state->new_mail_dialog_right);
  EXPECT_EQ(500 + 165, state->new_mail_dialog_bottom);
}

// Numbers that size a window, a buffer or a wait are brought into range as
// they are read, so that nothing computed from them can overflow.
TEST(LoadSettings, NumbersThatSizeWindowsAndWaitsAreClamped) {
  using S = SettingsState;
  const struct {
    const char* line;  // under its section
    std::int32_t S::* field;
    std::int32_t expected;
  } rows[] = {
      {"[MailPopSetting]\r\nAutoCheckTime=-5", &S::auto_check_time, 10},
      {"[MailPopSetting]\r\nAutoCheckTime=1", &S::auto_check_time, 10},
      {"[MailPopSetting]\r\nAutoCheckTime=9", &S::auto_check_time, 10},
      {"[MailPopSetting]\r\nAutoCheckTime=10", &S::auto_check_time, 10},
      {"[MailPopSetting]\r\nAutoCheckTime=43200", &S::auto_check_time, 43200},
      {"[MailPopSetting]\r\nAutoCheckTime=43201", &S::auto_check_time, 43200},
      {"[MailPopSetting]\r\nAutoCheckTime=0", &S::auto_check_time, 0},
      {"[MailPopSetting]\r\nAutoCheckTime=", &S::auto_check_time, 0},
      {"[MailPopSetting]\r\nAutoCheckTime=abc", &S::auto_check_time, 0},
      {"[MailPopSetting]\r\nAutoCheckTime=600s", &S::auto_check_time, 600},
      // TimeOut + 1 seconds in milliseconds is the exit's wait for a check.
      {"[MailPopSetting]\r\nTimeOut=0", &S::time_out, 0},
      {"[MailPopSetting]\r\nTimeOut=-1", &S::time_out, 0},
      {"[MailPopSetting]\r\nTimeOut=3600", &S::time_out, 3600},
      {"[MailPopSetting]\r\nTimeOut=2147483647", &S::time_out, 3600},
      {"[MailPopSetting]\r\nLimitMailSize=-1", &S::limit_mail_size, 0},
      {"[MailPopSetting]\r\nLimitMailSize=5000000", &S::limit_mail_size, 1048576},
      // The launcher box's width is added to and taken from the strip's.
      {"[UserWindowData]\r\nCommandLineLauncherLength=0", &S::command_line_launcher_length, 0},
      {"[UserWindowData]\r\nCommandLineLauncherLength=4096", &S::command_line_launcher_length, 4096},
      {"[UserWindowData]\r\nCommandLineLauncherLength=2147483647", &S::command_line_launcher_length, 4096},
      {"[UserWindowData]\r\nCommandLineLauncherLength=-2147483648", &S::command_line_launcher_length, 0},
      // The mail window's width is right - left.
      {"[UserWindowData]\r\nNewMailDialogRight=2147483647", &S::new_mail_dialog_right, 32767},
      {"[UserWindowData]\r\nNewMailDialogLeft=-2147483648", &S::new_mail_dialog_left, -32768},
      {"[UserWindowData]\r\nNewMailDialogTop=-1600", &S::new_mail_dialog_top, -1600},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    Loaded l = LoadFrom(std::string(row.line) + "\r\n");
    EXPECT_EQ(row.expected, l.state.get()->*row.field);
  }
}

TEST(LoadSettings, HotKeyKeepsSixteenBits) {
  const struct {
    const char* text;
    std::uint16_t expected;
  } rows[] = {{"1601", 1601}, {"70000", 70000 - 65536}, {"-1", 0xFFFF}, {"", 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    Loaded l = LoadFrom(Lines({"[CommandLineLauncher]", std::string("HotKey=") + row.text}));
    EXPECT_EQ(row.expected, l.state->hot_key);
  }
}

// Where the window starts, whether the launcher box opens and whether the
// program starts in the tray come back as data, for the shell to apply.
TEST(LoadSettings, WindowValuesAreReadAsTheyStand) {
  Loaded l = LoadFrom(Lines({"[UserWindowData]", "CommandLineLauncher=1", "WindowPositionX=-1600",
                             "WindowPositionY=-20", "InTaskOrNot=1"}));
  EXPECT_EQ(1, l.state->command_line_launcher);
  EXPECT_EQ(-1600, l.state->window_position_x);
  EXPECT_EQ(-20, l.state->window_position_y);
  EXPECT_EQ(1, l.state->in_task_or_not);
}

TEST(LoadSettings, CommandTimers) {
  const struct {
    const char* name;
    std::string value;
    int enabled, hour, minute;
    std::string command;
  } rows[] = {
      {"Usual", "1,07:30,alarm", 1, 7, 30, "alarm"},
      {"OneDigitByHand", "1,7:5,alarm", 1, 7, 5, "alarm"},
      {"CommandWithCommas", "0,23:59,#2001 a,b & c,d", 0, 23, 59, "#2001 a,b & c,d"},
      {"Empty", "", 0, 0, 0, ""},
      {"EnabledOnly", "1", 1, 0, 0, ""},
      {"NoColon", "1,0730,x", 1, 730, 0, ""},
      {"NoSuchTime", "1,25:99,x", 1, 25, 99, "x"},  // the editor refuses it; a file keeps it
      {"NoCommand", "1,12:00", 1, 12, 0, ""},
      {"EmptyCommand", "1,12:00,", 1, 12, 0, ""},
      // Read length 140: 139 bytes, so the command keeps 139 - 8 = 131, cut to 127.
      {"LongCommand", "1,12:00," + std::string(200, 'x'), 1, 12, 0, std::string(127, 'x')},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Loaded l = LoadFrom(Lines({"[TimerAlarmData]", "CommandTimer08=" + row.value}));
    const CommandTimer& t = l.state->timers[7];
    EXPECT_EQ(row.enabled, t.enabled);
    EXPECT_EQ(row.hour, t.hour);
    EXPECT_EQ(row.minute, t.minute);
    EXPECT_EQ(row.command, t.command.View());
  }
}

TEST(LoadSettings, AccountFieldsAreSplitAtTabs) {
  Loaded l = LoadFrom(Lines({"[MailPopSetting]", "Mail1AccountData=1\tpop.example.jp\tuser\tp@ss\t",
                             "Mail3AccountData=0\tpop3\tu3\tpw3\tC:\\ding.wav\textra",
                             "Mail5AccountData=1\t" + std::string(300, 's') + "\t" +
                                 std::string(70, 'u')}));
  const SettingsState& s = *l.state;
  EXPECT_EQ(1, s.accounts[0].enabled);
  EXPECT_EQ("pop.example.jp", s.accounts[0].server.View());
  EXPECT_EQ("user", s.accounts[0].user_name.View());
  EXPECT_EQ("p@ss", s.accounts[0].password.View());
  EXPECT_EQ("", s.accounts[0].sound_file.View());
  EXPECT_EQ("C:\\ding.wav\textra", s.accounts[2].sound_file.View());
  EXPECT_EQ(0, s.accounts[1].enabled);
  EXPECT_TRUE(s.accounts[1].server.Empty());
  EXPECT_EQ(std::string(255, 's'), s.accounts[4].server.View());
  EXPECT_EQ(std::string(63, 'u'), s.accounts[4].user_name.View());
  EXPECT_TRUE(s.accounts[4].password.Empty());
}

// Keys that files from before them lack: absent reads as 0. A port out of
// range reads as 0 too; a security out of range is kept as read (so that it
// is saved back unchanged), and the check refuses the account, rather than
// taking a typing slip for clear text.
TEST(LoadSettings, AccountSecurityKeptAsReadAndPortInRangeElseZero) {
  const struct {
    const char* name;
    std::vector<std::string> keys;
    std::int32_t security, port;
  } rows[] = {
      {"Absent", {}, 0, 0},
      {"Tls", {"Mail3Security=1", "Mail3Port=10995"}, 1, 10995},
      {"StlsHighestPort", {"Mail3Security=2", "Mail3Port=65535"}, 2, 65535},
      {"SecurityTooHigh", {"Mail3Security=3", "Mail3Port=65536"}, 3, 0},
      {"Negative", {"Mail3Security=-1", "Mail3Port=-110"}, -1, 0},
      {"NotNumbers", {"Mail3Security=tls", "Mail3Port=pop3s"}, 0, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string bytes = Lines({"[MailPopSetting]", "Mail3AccountData=1	h	u	p	"});
    for (const std::string& key : row.keys) bytes += key + "\r\n";
    Loaded l = LoadFrom(bytes);
    EXPECT_EQ(row.security, l.state->accounts[2].security);
    EXPECT_EQ(row.port, l.state->accounts[2].port);
    EXPECT_EQ(0, l.state->accounts[1].security + l.state->accounts[1].port) << "other slots";
  }
}

TEST(LoadSettings, CheckListHoldsEnabledAccountsInOrder) {
  const std::string accounts = Lines({"Mail2AccountData=1\tb\tu\tp\t", "Mail4AccountData=1\td\tu\tp\t",
                                      "Mail1AccountData=0\ta\tu\tp\t", "Mail2PrevMailData=12,<b@x>",
                                      "Mail4PrevMailData=3", "Mail1PrevMailData=9,<a@x>"});
  const struct {
    const char* name;
    const char* save_status;
    int count2, count4;
    std::string key2;
  } rows[] = {{"Kept", "1", 12, 3, "<b@x>"}, {"NotKept", "0", 0, 0, ""}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Loaded l = LoadFrom("[MailPopSetting]\r\nSavePreviousMailStatus=" + std::string(row.save_status) +
                        "\r\n" + accounts);
    const MailCheckList& list = l.state->check_list;
    ASSERT_EQ(2, list.count);
    EXPECT_EQ(1, list.entries[0].account);
    EXPECT_EQ(row.count2, list.entries[0].message_count);
    EXPECT_EQ(row.key2, list.entries[0].key_text.View());
    EXPECT_EQ(3, list.entries[1].account);
    EXPECT_EQ(row.count4, list.entries[1].message_count);
    EXPECT_TRUE(list.entries[1].key_text.Empty());
  }
}

TEST(LoadSettings, EnabledAccountWithoutPreviousStateStartsEmpty) {
  Loaded l = LoadFrom(Lines({"[MailPopSetting]", "SavePreviousMailStatus=1", "Mail1AccountData=1\th\tu\tp\t"}));
  ASSERT_EQ(1, l.state->check_list.count);
  EXPECT_EQ(0, l.state->check_list.entries[0].account);
  EXPECT_EQ(0, l.state->check_list.entries[0].message_count);
  EXPECT_TRUE(l.state->check_list.entries[0].key_text.Empty());
}

// A negative count would make the new-mail count's subtraction overflow.
TEST(LoadSettings, KeyTextIsCutToItsFieldAndACountIsNeverNegative) {
  Loaded l = LoadFrom(Lines({"[MailPopSetting]", "SavePreviousMailStatus=1", "Mail1AccountData=1\th\tu\tp\t",
                             "Mail1PrevMailData=5," + std::string(900, 'k'), "Mail2AccountData=1\th\tu\tp\t",
                             "Mail2PrevMailData=-2147483648,<k@x>"}));
  EXPECT_EQ(5, l.state->check_list.entries[0].message_count);
  EXPECT_EQ(std::string(127, 'k'), l.state->check_list.entries[0].key_text.View());
  EXPECT_EQ(0, l.state->check_list.entries[1].message_count);
  EXPECT_EQ("<k@x>", l.state->check_list.entries[1].key_text.View());
}

TEST(LoadSettings, ReloadReplacesTheCheckList) {
  SettingsFolder folder;
  auto state = std::make_unique<SettingsState>();
  SettingsLoadInputs inputs;
  folder.WriteSettings(Lines({"[MailPopSetting]", "Mail1AccountData=1\th\tu\tp\t", "Mail2AccountData=1\th\tu\tp\t"}));
  LoadSettingsFile(*state, folder.Load(), inputs);
  EXPECT_EQ(2, state->check_list.count);
  folder.WriteSettings(Lines({"[MailPopSetting]", "Mail2AccountData=1\th\tu\tp\t"}));
  LoadSettingsFile(*state, folder.Load(), inputs);
  ASSERT_EQ(1, state->check_list.count);
  EXPECT_EQ(1, state->check_list.entries[0].account);
}

TEST(LoadSettings, StringsAreCutAtTheirReadLength) {
  Loaded l = LoadFrom(Lines({"[UserWindowData]", "SkinBitmapPath=" + std::string(300, 'b'),
                             "CommandLauncherCmbBxFont=ＭＳ ゴシック", "[MailPopSetting]",
                             "MailLauncherCommand=" + std::string(300, 'm'), "[OtherSettings]",
                             "LeaveRoomPassword=" + std::string(40, 'w'), "UsingDropFile=2",
                             "LeaveRoomMode=1"}));
  const SettingsState& s = *l.state;
  EXPECT_EQ(std::string(259, 'b'), s.skin_bitmap_path.View());
  EXPECT_EQ("ＭＳ ゴシック", s.command_launcher_cmb_bx_font.View());
  EXPECT_EQ(std::string(255, 'm'), s.mail_launcher_command.View());
  EXPECT_EQ(std::string(31, 'w'), s.leave_room_password.View());
  EXPECT_EQ(2, s.using_drop_file);
  EXPECT_EQ(1, s.leave_room_mode);
}

}  // namespace
}  // namespace vsmr::test
