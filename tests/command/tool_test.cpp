// The console companion's trace and check subcommands, run as the built
// program: exact output lines and exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

// Text as the console shows it off Windows (UTF-8), whatever the literal charset.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string ShellQuote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct Outcome {
  int exit_code;
  std::string out;
};

Outcome RunVsmr(const std::vector<std::string>& args) {
  std::string command = VSMR_TOOL;
  for (const auto& a : args) command += " " + ShellQuote(a);
  command += " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, {}};
  std::string out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

class ToolTest : public ::testing::Test {
 protected:
  void Write(const std::string& bytes) {
    ASSERT_TRUE(WriteFileAtomically(dir_.File("vsmrcmd.dat"), bytes));
  }
  TempDir dir_;
};

TEST_F(ToolTest, TracePrintsEveryEffectInOrder) {
  Write("ed\tC:\\bin\\ed.exe\tEditor\r\nsay\t#7\t\r\nweb\thttp://h/x\r\n");
  Outcome r = RunVsmr({"trace", "--dir", dir_.Path(), "--context", "3",
                       "ed a \"b c\" & say q #ED & // skipped & web 1"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out,
            "open\tC:\\\\bin\\\\ed.exe\t\"a\" \"b c\"\tC:\\\\bin\n"
            "builtin\t7\t3\t2\tq\tC:\\\\bin\\\\ed.exe\n"
            "open\thttp://h/x\\n\t\"1\"\t\n"  // the body kept its line end
            "status\t\n"
            "result\t1\n");  // of the last segment
}

TEST_F(ToolTest, TraceShellResultAndStatus) {
  Write("");
  Outcome r = RunVsmr({"trace", "--dir", dir_.Path(), "--shell-result", "5", "x.exe \"p\""});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "open\tx.exe\t\"p\"\t\nstatus\tCmdErrAD\nresult\t0\n");

  r = RunVsmr({"trace", "--dir", dir_.Path(), Utf8(u8"C:\\ソフト\\表.exe \"表\\\"")});
  EXPECT_EQ(r.out, Utf8(u8"open\tC:\\\\ソフト\\\\表.exe\t\"表\\\\\"\tC:\\\\ソフト\nstatus\t\nresult\t1\n"));
}

TEST_F(ToolTest, TraceRunsBuiltinsOnARecordingHost) {
  Write("calc\tcalc.exe\tCalculator\r\n");
  ASSERT_TRUE(WriteFileAtomically(dir_.File("vsmrsys.ini"),
                                  "[UserWindowData]\r\nWindowPositionX=300\r\n"));
  Outcome r = RunVsmr({"trace", "--dir", dir_.Path(), "--choose", "2602", "--answer", "no",
                       "#801 x.exe \"CALC 2\" & #2001 & #302"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out,
            "builtin\t801\t-1\t2\tx.exe\tCALC 2\n"
            "ui\tmenu\t300\t0\n"
            "ui\tmenuitem\t0\t2601\tx.exe(&X)\n"
            "ui\tmenuitem\t1\t2602\tCalculator(&C)\n"
            "builtin\t2001\t-1\t0\n"
            "ui\tsave\n"
            "ui\ttimer\t105\t30000\n" +
                Utf8(u8"ui\tmessagebox\tウィンドウズ終了確認\tまもなくウィンドウズが終了します。"
                     u8"\\n中止しますか？\t36\n") +
                "builtin\t302\t-1\t0\n"
                "open\tCALC 2\t\t\n"  // the choice, run after the line; names match by case
                "state\tKeepLauncherOpen\t1\n"
                "state\tShutdown\t1\n"
                "status\t\n"
                "result\t1\n");
  EXPECT_EQ(RunVsmr({"trace", "--dir", dir_.Path(), "--choose", "2603", "#801 a"}).exit_code, 1);
}

TEST_F(ToolTest, TraceSavesOnlyWhenAsked) {
  Write("");
  RunVsmr({"trace", "--dir", dir_.Path(), "#303 calc.exe calc"});
  std::string bytes;
  EXPECT_FALSE(ReadWholeFile(dir_.File("vsmrsys.ini"), bytes));
  Outcome r = RunVsmr({"trace", "--dir", dir_.Path(), "--save", "#303 calc.exe calc & #202 2"});
  EXPECT_EQ(r.out,
            "builtin\t303\t-1\t2\tcalc.exe\tcalc\n"
            "ui\teditcommand\tcalc\tcalc.exe\t\n"
            "builtin\t202\t-1\t1\t2\n"
            "ui\tcommand\t307\t1\n"
            "state\tShown\t2\n"
            "state\tCommands\t1\n"
            "status\t\n"
            "result\t1\n");
  ASSERT_TRUE(ReadWholeFile(dir_.File("vsmrcmd.dat"), bytes));
  EXPECT_EQ(bytes, "calc\tcalc.exe\t\r\n");
  ASSERT_TRUE(ReadWholeFile(dir_.File("vsmrsys.ini"), bytes));
  EXPECT_NE(bytes.find("Launcher02Data=1\t"), std::string::npos);
}

TEST_F(ToolTest, TraceRefusesBadArguments) {
  EXPECT_EQ(RunVsmr({"trace"}).exit_code, 2);
  EXPECT_EQ(RunVsmr({"trace", "a", "b"}).exit_code, 2);
  EXPECT_EQ(RunVsmr({"trace", "--context", "x1", "a"}).exit_code, 2);
  EXPECT_EQ(RunVsmr({"trace", "--bogus", "a"}).exit_code, 2);
}

TEST_F(ToolTest, CheckReportsEachLine) {
  Write("a\tb\tc\r\n\r\n");
  Outcome r = RunVsmr({"check", "--dir", dir_.Path()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out,
            "line 1: entry 1 \"a\"\n"
            "line 2: blank line: reading stops here\n"
            "1 entries loaded, 0 lines with surprises\n");

  Write("ed\tx\t\r\nweb\thttp://h\r\ned\ty\t\r\ned z\tw\t\r\n" + std::string(200, 'n') +
        "\tv\t\r\nstop here\r\nlate\tx\t\r\n");
  r = RunVsmr({"check", "--dir", dir_.Path()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out,
            "line 1: entry 1 \"ed\"\n"
            "line 2: entry 2 \"web\"\n"
            "  no TAB after the body: the body ends with the line end (a save keeps the line as written while the entry is unchanged)\n"
            "line 3: entry 3 \"ed\"\n"
            "  never reached by name: entry 1 \"ed\" matches first\n"
            "line 4: entry 4 \"ed z\"\n"
            "  never reached by name: entry 1 \"ed\" matches first\n"
            "line 5: entry 5 \"" + std::string(127, 'n') + "\"\n"
            "  name cut to 127 bytes\n"
            "line 6: no name and body separated by a TAB: reading stops here\n"
            "  this and every later line are ignored (a save keeps them as they are)\n"
            "line 7: ignored: after the stop at line 6\n"
            "5 entries loaded, 6 lines with surprises\n");
}

TEST_F(ToolTest, CheckCountsPastCapacityAndMissingFiles) {
  std::string bytes;
  for (int i = 0; i < 257; ++i) bytes += "n" + std::to_string(i) + "\tb\t\r\n";
  Write(bytes);
  Outcome r = RunVsmr({"check", "--dir", dir_.Path()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.out.find("line 257: ignored: the list already holds 256 entries\n"),
            std::string::npos);
  EXPECT_EQ(RunVsmr({"check", "--dir", dir_.File("absent")}).exit_code, 1);
}

}  // namespace
}  // namespace vsmr
