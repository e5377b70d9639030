// The built-in commands and command menus against a recording host: results,
// the state they change, and the host calls they make, in order.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "command/builtins.h"
#include "command/recording_host.h"
#include "recording_fakes.h"

namespace vsmr {
namespace {

struct BuiltinsTest : ::testing::Test {
  CommandList commands;
  StatusWord status;
  test::RecordingShell shell;
  RecordingHost host;
  std::unique_ptr<SettingsState> settings = std::make_unique<SettingsState>();
  bool keep = false;
  bool shutdown = false;
  MenuSlots slots;
  Builtins builtins{BuiltinState{*settings, keep, shutdown, slots}, host};
  Interpreter in{commands, status, shell, builtins};

  int Run(std::string_view line, int context = -1) {
    in.nesting_depth = 0;
    return RunCommandLine(in, nullptr, line, context);
  }
  // The host's records since the last call, one tab-joined line each.
  std::string Ui() {
    std::string out;
    for (const auto& r : host.records) {
      for (std::size_t i = 0; i < r.size(); ++i) out += (i ? "\t" : "") + r[i];
      out += "\n";
    }
    host.records.clear();
    return out;
  }
  std::string Shown() {
    std::string out;
    for (int i = 0; i < kLauncherItemCount; ++i) {
      if (settings->launcher_items[i].shown) out += std::to_string(i + 1) + ",";
    }
    return out;
  }
};

TEST_F(BuiltinsTest, WindowCommandsBoxesAndUnknownNumbers) {
  EXPECT_EQ(Run("#101 & #102 & #103 & #108 & #104 & #501 & #2002"), 1);
  EXPECT_EQ(Ui(), "ui\tclose\nui\tcommand\t103\t0\nui\tcommand\t104\t0\nui\tcommand\t306\t0\n"
                  "ui\tsave\nui\tmailcheck\nui\tsuspend\n");
  EXPECT_EQ(Run("#107 Title"), 1);  // no text: the box says -1
  EXPECT_EQ(Ui(), "ui\tmessagebox\tTitle\t-1\t0\n");
  EXPECT_EQ(Run("#504"), 1);
  EXPECT_EQ(Run("#999"), 0);
  EXPECT_EQ(Run("#0"), 0);
  EXPECT_EQ(Ui(), "");
}

TEST_F(BuiltinsTest, StatusWordSoundAndLength) {
  Run("#109");
  EXPECT_EQ(status.Read().View(), "-1");
  Run("#109 \"\"");
  EXPECT_TRUE(status.Empty());
  Run("#109 ab\x82\xa0\x82\xa2\x82\xa4\x82\xa6");  // the 4th character would end past byte 8
  EXPECT_EQ(status.Read().View(), "ab\x82\xa0\x82\xa2\x82\xa4");
  test::AddCommand(commands, "snd", "#105");
  Run("snd \"C:\\a b.wav\"");
  Run("#105 \"C:\\c.wav\"");
  EXPECT_EQ(Ui(), "ui\tsound\tC:\\a b.wav\nui\tsound\tC:\\c.wav\n");
  settings->command_line_launcher_length = 100;
  EXPECT_EQ(Run("#301 29"), 0);
  EXPECT_EQ(settings->command_line_launcher_length, 100);
  EXPECT_EQ(Run("#301 30"), 1);
  EXPECT_EQ(settings->command_line_launcher_length, 30);
  EXPECT_EQ(Run("#301 2147483647"), 1);  // held where the strip's widths cannot overflow
  EXPECT_EQ(settings->command_line_launcher_length, 4096);
  Run("#302");
  EXPECT_TRUE(keep);
}

TEST_F(BuiltinsTest, ShowAndHideItems) {
  settings->launcher_items[9].comment.Set("web");
  settings->launcher_items[11].comment.Set("web");
  Run("#202 3 5 70 8");
  EXPECT_EQ(Shown(), "3,5,");
  EXPECT_EQ(Ui(), "ui\tcommand\t307\t2\n");
  Run("#202 r 2 4 & #202 n web & #202 r 64 70");
  EXPECT_EQ(Shown(), "2,3,4,5,10,12,64,");
  Run("#203 b 2 & #203 n web & #203 r 5 4");  // button 2 shows item 3; a range either way
  EXPECT_EQ(Shown(), "2,64,");
  Run("#203 b 9 & #203 0 2");  // no such button; the list ends at 0 at once
  EXPECT_EQ(Shown(), "2,64,");
  Run("#202 all & #203 a");
  EXPECT_EQ(Shown(), "");
}

TEST_F(BuiltinsTest, RunItemsByNumberAndButton) {
  settings->launcher_items[1].path.Set("two.exe");
  settings->launcher_items[4].path.Set("five.exe");
  settings->launcher_items[4].shown = 1;
  EXPECT_EQ(Run("#201 2", 7), 1);
  EXPECT_EQ(Run("#201 b 1"), 1);
  EXPECT_EQ(Run("#201 65"), 0);
  EXPECT_EQ(Run("#201 b 2"), 0);
  EXPECT_EQ(Run("#201 b -2147483648 & #201 -2147483648"), 0);
  EXPECT_EQ(Run("#201 \"\" 1"), 0);  // an empty option is none
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].file, "two.exe");
  EXPECT_EQ(shell.calls[1].file, "five.exe");
}

TEST_F(BuiltinsTest, Conditions) {
  struct Row {
    const char* condition;
    int outcome;
  } rows[] = {{"3>=3", 1}, {"3<3", 0},  {"2==2", 1}, {"4!=4", 0}, {"-1<0", 1},
              {"5>4", 1},  {"5<=4", 0}, {"==3", 0},  {"3==", 0},  {"==", 1},
              {"abc", -1}, {"3=>3", 0}};
  for (const Row& r : rows) EXPECT_EQ(EvaluateCondition(r.condition), r.outcome) << r.condition;

  EXPECT_EQ(Run("#701 3>=3 yes.exe no.exe & #701 3<3 yes.exe no.exe"), 1);
  EXPECT_EQ(Run("#701 33 yes.exe no.exe"), 0);
  Run("#711 a a same.exe other.exe & #711 a b same.exe & #712 abc b in.exe out.exe");
  Run("#712 abc x in.exe out.exe");
  std::string files;
  for (const auto& call : shell.calls) files += call.file + " ";
  EXPECT_EQ(files, "yes.exe no.exe same.exe in.exe out.exe ");
}

TEST_F(BuiltinsTest, LeaveRoomLocksOnlyWithAPassword) {
  test::AddCommand(commands, "_onleave", " #109 away");
  test::AddCommand(commands, "lock", " #106");
  // Without a password nothing could unlock: refused, with where to set one.
  EXPECT_EQ(Run("#106"), 0);
  EXPECT_EQ(settings->leave_room_mode, 0);
  EXPECT_EQ(status.Read().View(), "");
  EXPECT_EQ(Ui(), "ui\tmessagebox\t注意\t離席パスワードが設定されていないため、離席モードにできません。\n"
                  "オプション設定の「一般設定」タブにある「離席パスワード」で設定してください。\t48\n");

  settings->leave_room_password.Set("Secret");
  EXPECT_EQ(Run("lock"), 1);
  EXPECT_EQ(settings->leave_room_mode, 1);
  EXPECT_EQ(status.Read().View(), "away");
  EXPECT_EQ(Ui(), "ui\tkilltimer\t109\n");
}

TEST_F(BuiltinsTest, MoveKeepsAnAbsentCoordinate) {
  host.window = {100, 200};
  Run("#401 -1 10 & #401 5");
  EXPECT_EQ(Ui(), "ui\tmove\t100\t10\nui\tmove\t5\t10\n");
}

TEST_F(BuiltinsTest, MailSwitches) {
  settings->mail_launcher_command.Set("old!!");
  Run("#502 four");
  EXPECT_EQ(settings->mail_launcher_or_not, 1);
  Run("#502 & #502 fresh & #503 & #503");
  EXPECT_EQ(settings->mail_launcher_command.View(), "fresh");
  EXPECT_EQ(settings->delete_mail_permission, 0);
  EXPECT_EQ(Ui(),
            "ui\tmessagebox\tMailLauncher\tMailLauncherをコマンド\"old!! %s\"で有効にします。\t0\n"
            "ui\tmessagebox\tMailLauncher\tMailLauncherを無効にします\t0\n"
            "ui\tmessagebox\tMailLauncher\tMailLauncherをコマンド\"fresh %s\"で有効にします。\t0\n"
            "ui\tmessagebox\tメール\tメール削除有効化\t0\n"
            "ui\tmessagebox\tメール\tメール削除無効化\t0\n");
}

TEST_F(BuiltinsTest, AddCommandThroughTheEditor) {
  EXPECT_EQ(Run("#303 calc.exe calc"), 1);
  host.answers = {"cancel"};
  EXPECT_EQ(Run("#303 x.exe"), 0);
  EXPECT_EQ(Ui(), "ui\teditcommand\tcalc\tcalc.exe\t\nui\teditcommand\t\tx.exe\t\n");
  ASSERT_EQ(commands.count, 1);
  EXPECT_EQ(Run("calc"), 1);  // usable at once
  std::string name = "x";
  for (int i = 0; i < 70; ++i) name += "\x95\x5c";  // 141 bytes, trail bytes that are backslashes
  Run("#303 y.exe " + name);
  EXPECT_EQ(commands.entries[1].name.View(), name.substr(0, 127));  // 63 whole characters
  Run("#303 z.exe x" + name);
  EXPECT_EQ(commands.entries[2].name.View(), "x" + name.substr(0, 125));  // not half of one
  Ui();
  commands.count = kMaxCommands;
  EXPECT_EQ(Run("#303 y.exe y"), 0);
  EXPECT_EQ(Ui(), "ui\tmessagebox\tERROR\t追加できません\t16\n");
  // A timer line or the options dialog fills the list while the editor is open.
  commands.count = kMaxCommands - 1;
  host.while_editing = [this] { test::AddCommand(commands, "late", "late.exe"); };
  EXPECT_EQ(Run("#303 z.exe z"), 0);
  EXPECT_EQ(Ui(), "ui\teditcommand\tz\tz.exe\t\nui\tmessagebox\tERROR\t追加できません\t16\n");
  EXPECT_EQ(commands.count, kMaxCommands);
  EXPECT_EQ(commands.entries[kMaxCommands - 1].name.View(), "late");
}

TEST_F(BuiltinsTest, ChooseFileOpensTheChoice) {
  host.answers = {"C:\\a.exe", "cancel"};
  Run("#601 & #601");
  EXPECT_EQ(Ui(), "ui\tchoosefile\nopen\tC:\\a.exe\t\t\nui\tchoosefile\n");
}

TEST_F(BuiltinsTest, ShutdownAsksAndYesCancels) {
  Run("#2001");
  EXPECT_FALSE(shutdown);
  EXPECT_EQ(Ui(), "ui\tsave\nui\ttimer\t105\t30000\n"
                  "ui\tmessagebox\tウィンドウズ終了確認\tまもなくウィンドウズが終了します。\n"
                  "中止しますか？\t36\nui\tkilltimer\t105\n");
  host.answers = {"no", "no", "no"};
  Run("#2001 q 1 & #2001 q 2 & #2001 quick");
  EXPECT_TRUE(shutdown);
  std::string ui = Ui();
  EXPECT_NE(ui.find("ui\texitwindows\t2\n"), std::string::npos);
  EXPECT_NE(ui.find("ui\texitwindows\t4\n"), std::string::npos);
  EXPECT_NE(ui.find("ui\texitwindows\t1\n"), std::string::npos);
  FinishShutdownCountdown(shutdown, host);
  EXPECT_FALSE(shutdown);
  EXPECT_EQ(Ui(), "ui\tkilltimer\t105\nui\texitwindows\t1\n");
}

TEST_F(BuiltinsTest, AFailedSaveFailsTheSaveAndTheShutdownGoesOnOnlyIfTheUserSaysSo) {
  host.save_fails = true;
  EXPECT_EQ(Run("#104"), 0);
  EXPECT_EQ(Ui(), "ui\tsave\n");

  const std::string asked =
      "ui\tsave\nui\tmessagebox\t注意\t設定を保存できませんでした。\nこのままウィンドウズを終了しますか？\t52\n";
  host.answers = {"no"};
  EXPECT_EQ(Run("#2001 q 1"), 0);
  EXPECT_FALSE(shutdown);
  EXPECT_EQ(Ui(), asked);

  host.answers = {"yes", "no"};
  EXPECT_EQ(Run("#2001 q 1"), 0);  // it went on, but nothing was saved
  EXPECT_TRUE(shutdown);
  const std::string then = asked + "ui\texitwindows\t2\nui\ttimer\t105\t30000\n";
  EXPECT_EQ(Ui().substr(0, then.size()), then);
}

TEST_F(BuiltinsTest, MenuEntriesLabelsAndPlacement) {
  test::AddCommand(commands, "Note", "notepad.exe", "メモ帳");
  host.pointer = {5, 6};
  Run("#801 note\\x.txt \"Note a\" -separator- calc \"a&b\" \x88\xa0.exe");
  EXPECT_EQ(Ui(), "ui\tmenu\t5\t6\n"
                  "ui\tmenuitem\t0\t2601\tnote\\x.txt(&N)\n"
                  "ui\tmenuitem\t1\t2602\tメモ帳(&N)\n"
                  "ui\tseparator\t2\n"
                  "ui\tmenuitem\t3\t2604\tcalc(&C)\n"
                  "ui\tmenuitem\t4\t2605\ta&b\n"
                  "ui\tmenuitem\t5\t2606\t\x88\xa0.exe\n");
  EXPECT_EQ(RunMenuChoice(2602, slots, in, nullptr), 1);
  EXPECT_EQ(shell.calls.back().file, "notepad.exe");
  EXPECT_EQ(shell.calls.back().parameters, "\"a\"");

  host.window = {100, 50};
  host.button_client_x = [](int p) { return 80 + 22 * p; };
  host.launcher_box_x = 74;
  Run("#802 a", 2);
  Run("#802 a", -1);
  std::string ui = Ui();
  EXPECT_NE(ui.find("ui\tmenu\t224\t50\n"), std::string::npos);
  EXPECT_NE(ui.find("ui\tmenu\t174\t50\n"), std::string::npos);
}

TEST_F(BuiltinsTest, MenuCascadesLongLabelsAndFullMenus) {
  Run("#801 \"-subitem- calc.exe\" " + std::string(300, 'x'));
  std::string ui = Ui();
  EXPECT_NE(ui.find("ui\tsubmenu\t0\tcalc.exe\nui\tmenuitem\t0\t2601\tcalc.exe\n"),
            std::string::npos);
  EXPECT_NE(ui.find("\t2602\t" + std::string(251, 'x') + "(&X)\n"), std::string::npos);
  EXPECT_EQ(slots.text[1].size(), 300u);  // the whole argument runs
  RunMenuChoice(2601, slots, in, nullptr);
  EXPECT_EQ(shell.calls.back().file, "calc.exe");

  std::string line = "#801 \"-subitem- sub\"";
  for (int k = 2; k <= 33; ++k) line += " e" + std::to_string(k);
  Run(line);
  EXPECT_EQ(host.menu_ids.size(), 32u);
  EXPECT_EQ(host.menu_ids[0], IDM_MENU_CASCADE_INNER);
  RunMenuChoice(IDM_MENU_CASCADE_INNER, slots, in, nullptr);
  EXPECT_EQ(shell.calls.back().file, "e31");
}

}  // namespace
}  // namespace vsmr
