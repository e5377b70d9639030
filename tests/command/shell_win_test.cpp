// The interpreter over the real ShellExecuteA: probe.exe records the command
// line and working directory it was started with, and the test compares them
// with what the command list asked for.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "command/shell.h"
#include "support/temp_dir.h"
#include "support/win_files.h"

namespace vsmr {
namespace {

struct Record {
  std::string command_line;
  std::string directory;
};

// Waits (at most 30 s) until the log holds `count` records; the shell starts
// programs without waiting for them.
std::vector<Record> WaitForRecords(const std::string& log, std::size_t count) {
  std::vector<Record> records;
  for (int i = 0; i < 300; ++i) {
    records.clear();
    std::string text = ReadFileText(log);
    std::size_t pos = 0;
    for (std::size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2) {
      std::string line = text.substr(pos, end - pos);
      std::size_t tab = line.rfind('\t');
      records.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
    }
    if (records.size() >= count) break;
    Sleep(100);
  }
  return records;
}

// The command line as the shell forms it: the program's path (which Wine
// quotes) and the parameters after one space.
std::string Started(const std::string& program, const std::string& parameters) {
  std::string line = "\"" + program + "\"";
  if (!parameters.empty()) line += " " + parameters;
  return line;
}

class ShellWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = dir_.Path();
    log_ = root_ + "\\probe.log";
    ASSERT_TRUE(SetEnvironmentVariableA("VSMR_PROBE_LOG", log_.c_str()));
    const std::string probe = ProgramFolder() + "\\probe.exe";
    // ソ and 表 end in byte 0x5C.
    for (const char* folder : {"bin", "ソフト", "表示"}) {
      std::string path = root_ + "\\" + folder;
      ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
      ASSERT_TRUE(CopyFileA(probe.c_str(), (path + "\\probe.exe").c_str(), FALSE)) << probe;
    }
    const std::string named = root_ + "\\ソフト\\表.exe";
    ASSERT_TRUE(CopyFileA(probe.c_str(), named.c_str(), FALSE));
  }
  void TearDown() override { SetEnvironmentVariableA("VSMR_PROBE_LOG", nullptr); }

  int Run(const std::string& line) {
    interpreter_.nesting_depth = 0;
    return RunCommandLine(interpreter_, nullptr, line, kContextLauncher);
  }
  void Add(const std::string& name, const std::string& body) {
    CommandEntry& e = commands_->entries[commands_->count++];
    e.name.Set(name);
    e.body.Set(body);
  }

  TempDir dir_;
  std::string root_, log_;
  std::unique_ptr<CommandList> commands_ = std::make_unique<CommandList>();
  StatusWord status_;
  WindowsShell shell_;
  NullBuiltinRunner builtins_;
  Interpreter interpreter_{*commands_, status_, shell_, builtins_};
};

TEST_F(ShellWinTest, ProgramsStartWithTheirParametersAndFolder) {
  const std::string bin = root_ + "\\bin\\probe.exe";
  const std::string soft = root_ + "\\ソフト\\probe.exe";
  const std::string hyoji = root_ + "\\表示\\probe.exe";
  Add("pr", bin);
  Add("all", bin + " \"%**\"");
  Add("sj", root_ + "\\ソフト");
  Add("hy", hyoji);

  char current[MAX_PATH];
  GetCurrentDirectoryA(sizeof current, current);

  // One at a time, so that the records come in a known order.
  const std::vector<std::pair<std::string, Record>> runs = {
      // Body without "%": each argument quoted, the path's folder as directory.
      {"pr one \"two words\"", {Started(bin, "\"one\" \"two words\""), root_ + "\\bin"}},
      {"all  x  y", {Started(bin, "\"x  y\""), root_ + "\\bin"}},
      // Folder alias: no directory, so the program inherits ours.
      {"sj\\probe.exe", {Started(soft, ""), current}},
      // The folder's name ends in a trail byte 0x5C: the directory is the
      // whole folder, not a cut through the character.
      {"hy a", {Started(hyoji, "\"a\""), root_ + "\\表示"}},
      {soft + " \"p q\"", {Started(soft, "\"p q\""), root_ + "\\ソフト"}},
      // The program's own name holds the trail byte: the last backslash is
      // the one before it.
      {root_ + "\\ソフト\\表.exe \"k\"",
       {Started(root_ + "\\ソフト\\表.exe", "\"k\""), root_ + "\\ソフト"}},
  };
  for (std::size_t i = 0; i < runs.size(); ++i) {
    SCOPED_TRACE(runs[i].first);
    EXPECT_EQ(Run(runs[i].first), 1);
    std::vector<Record> records = WaitForRecords(log_, i + 1);
    ASSERT_EQ(records.size(), i + 1);
    EXPECT_EQ(records[i].command_line, runs[i].second.command_line);
    EXPECT_EQ(records[i].directory, runs[i].second.directory);
  }
  EXPECT_TRUE(status_.Empty());
}

TEST_F(ShellWinTest, MissingProgramFailsWithoutStarting) {
  EXPECT_EQ(Run(root_ + "\\bin\\absent.exe"), 0);
  EXPECT_EQ(Run("_startup"), 0);
  EXPECT_TRUE(status_.Empty());
  // A missing program with parameters: the shell's result (2) is a plain failure.
  EXPECT_EQ(Run(root_ + "\\bin\\absent.exe \"x\""), 0);
  EXPECT_TRUE(status_.Empty());
}

}  // namespace
}  // namespace vsmr
