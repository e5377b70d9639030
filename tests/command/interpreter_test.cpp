// The interpreter end to end over a recording shell and built-in runner:
// segments, lookup, folder aliases, expansion, the shell fallbacks, status
// codes and the nesting limit.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "command/events.h"
#include "recording_fakes.h"

namespace vsmr {
namespace {

using test::AddCommand;
using test::Harness;
using test::ShellCall;

constexpr const char* kNull = "(null)";

struct Row {
  const char* what;
  std::vector<std::pair<const char*, const char*>> commands;  // name, body
  const char* line;
  std::map<std::string, int> answers;  // shell result per file (default 42)
  std::vector<ShellCall> calls;
  int result;
  const char* status = "";
};

void RunRows(const std::vector<Row>& rows) {
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    auto h = std::make_unique<Harness>();
    for (const auto& [name, body] : row.commands) AddCommand(h->commands, name, body);
    h->shell.answers = row.answers;
    EXPECT_EQ(h->Run(row.line), row.result);
    EXPECT_EQ(h->shell.calls, row.calls);
    EXPECT_EQ(h->status.Read().View(), row.status);
    EXPECT_EQ(h->interpreter.nesting_depth, 0);
  }
}

TEST(InterpreterTest, SegmentsAndComments) {
  RunRows({
      {"space-ampersand-space runs both", {}, "a.exe & b.exe", {},
       {{"a.exe", kNull, ""}, {"b.exe", kNull, ""}}, 1},
      {"bare ampersand is one segment", {}, "a.exe&b.exe", {}, {{"a.exe&b.exe", kNull, ""}}, 1},
      {"quotes do not protect the separator", {}, "x \"a & b\"", {},
       {{"x", "\"a", ""}, {"b\"", kNull, ""}}, 1},
      {"comment segment skipped", {}, "// note & b.exe", {}, {{"b.exe", kNull, ""}}, 1},
      {"leading spaces and empty segments skipped", {}, "   & //c &   b.exe", {},
       {{"b.exe", kNull, ""}}, 1},
      {"nothing ran", {}, "// only a comment", {}, {}, 0},
      {"empty line", {}, "", {}, {}, 0},
      {"result of the last segment: failure", {}, "good & bad", {{"bad", 2}},
       {{"good", kNull, ""}, {"bad", kNull, ""}}, 0},
      {"result of the last segment: success", {}, "bad & good", {{"bad", 2}},
       {{"bad", kNull, ""}, {"good", kNull, ""}}, 1},
      {"a trailing comment keeps the result", {}, "good & // c", {}, {{"good", kNull, ""}}, 1},
  });
}

TEST(InterpreterTest, UnknownLinesGoToTheShell) {
  RunRows({
      {"opened as it stands, folder before the last backslash", {},
       "C:\\Tools\\bin\\a.exe", {}, {{"C:\\Tools\\bin\\a.exe", kNull, "C:\\Tools\\bin"}}, 1},
      {"space-quote splits file and parameters", {}, "C:\\p\\x.exe \"a b\" c", {},
       {{"C:\\p\\x.exe", "\"a b\" c", "C:\\p"}}, 1},
      {"a space alone does not split", {}, "C:\\p\\x.exe a b", {},
       {{"C:\\p\\x.exe a b", kNull, "C:\\p"}}, 1},
      {"URL", {}, "http://example.com/a", {},
       {{"http://example.com/a", kNull, ""}}, 1},
      {"result 32 is a failure", {}, "x", {{"x", kShellLastError}}, {{"x", kNull, ""}}, 0},
      {"result 33 is success", {}, "x", {{"x", kShellLastError + 1}}, {{"x", kNull, ""}}, 1},
      {"access denied with parameters", {}, "x \"p\"", {{"x", kShellAccessDenied}},
       {{"x", "\"p\"", ""}}, 0, "CmdErrAD"},
      {"out of resources with parameters", {}, "x \"p\"", {{"x", kShellOutOfResources}},
       {{"x", "\"p\"", ""}}, 0, "CmdErrMR"},
      {"no code without parameters", {}, "x", {{"x", kShellAccessDenied}}, {{"x", kNull, ""}}, 0},
      {"undefined event command: no code", {}, "_startup", {{"_startup", 2}},
       {{"_startup", kNull, ""}}, 0},
      // 表 and ソ end in byte 0x5C; it is not a backslash.
      {"folder name ending in a trail byte 0x5C", {}, "C:\\表示\\ソフト\\a.exe", {},
       {{"C:\\表示\\ソフト\\a.exe", kNull, "C:\\表示\\ソフト"}}, 1},
      {"trail byte 0x5C is never the last backslash", {}, "C:\\表", {},
       {{"C:\\表", kNull, "C:"}}, 1},
  });
}

TEST(InterpreterTest, CommandsExpandAndRun) {
  RunRows({
      {"body without %: arguments appended in quotes",
       {{"ed", "C:\\bin\\ed.exe"}}, "ed one two", {},
       {{"C:\\bin\\ed.exe", "\"one\" \"two\"", "C:\\bin"}}, 1},
      {"%** takes the rest of the line", {{"np", "notepad.exe \"%**\""}}, "np   w1 w2", {},
       {{"notepad.exe", "\"w1 w2\"", ""}}, 1},
      {"placeholders beyond the count stay", {{"c", "x.exe \"%01\" \"%03\""}}, "c a b", {},
       {{"x.exe", "\"a\" \"%03\"", ""}}, 1},
      {"% without placeholder gets no arguments", {{"u", "http://h/%7Euser"}}, "u a b", {},
       {{"http://h/%7Euser", kNull, ""}}, 1},
      {"names are case-sensitive", {{"Edit", "C:\\e.exe"}}, "edit", {},
       {{"edit", kNull, ""}}, 1},
      {"name followed by other text is not a match", {{"ed", "C:\\e.exe"}}, "editor", {},
       {{"editor", kNull, ""}}, 1},
      {"first entry wins", {{"a", "first.exe"}, {"a", "second.exe"}}, "a", {},
       {{"first.exe", kNull, ""}}, 1},
      {"body is a line of its own", {{"both", "a.exe & b.exe"}}, "both", {},
       {{"a.exe", kNull, ""}, {"b.exe", kNull, ""}}, 1},
      {"commands nest", {{"outer", "inner \"%01\""}, {"inner", "C:\\i.exe %01"}}, "outer v", {},
       {{"C:\\i.exe v", kNull, "C:"}}, 1},
      {"failed body without %: opened with the rest quoted", {{"ed", "C:\\ed.exe"}},
       "ed a  b", {{"C:\\ed.exe", 2}},
       {{"C:\\ed.exe", "\"a\" \"b\"", "C:"}, {"C:\\ed.exe", "\"a  b\"", kNull}}, 0},
      {"failed body with %: opened expanded", {{"x", "bad.exe %01"}}, "x a", {{"bad.exe a", 2}},
       {{"bad.exe a", kNull, ""}, {"bad.exe a", kNull, kNull}}, 0},
  });
}

TEST(InterpreterTest, FolderAlias) {
  std::string long_rest(300, 'r');
  RunRows({
      {"opens the path inside the folder", {{"docs", "C:\\Users\\me\\Docs"}},
       "docs\\notes\\a.txt", {}, {{"C:\\Users\\me\\Docs\\notes\\a.txt", kNull, kNull}}, 1},
      {"shell failure", {{"docs", "C:\\D"}}, "docs\\x", {{"C:\\D\\x", 2}},
       {{"C:\\D\\x", kNull, kNull}}, 0},
      {"an earlier alias wins over a later exact name", {{"d", "C:\\D"}, {"d\\x", "y.exe"}},
       "d\\x", {}, {{"C:\\D\\x", kNull, kNull}}, 1},
      {"folder name with a trail byte 0x5C", {{"soft", "C:\\ソフト"}}, "soft\\表\\a.txt", {},
       {{"C:\\ソフト\\表\\a.txt", kNull, kNull}}, 1},
  });
  // The path is built in a 260-byte buffer: it is cut at 259 bytes.
  auto h = std::make_unique<Harness>();
  AddCommand(h->commands, "d", "C:\\D");
  h->Run("d\\" + long_rest);
  ASSERT_EQ(h->shell.calls.size(), 1u);
  EXPECT_EQ(h->shell.calls[0].file, "C:\\D\\" + long_rest.substr(0, 259 - 5));
}

TEST(InterpreterTest, NestingLimit) {
  // A command whose body is its own name: eight runs, the ninth refused, and
  // every level then tries the shell with the body.
  auto h = std::make_unique<Harness>();
  AddCommand(h->commands, "loop", "loop");
  h->shell.Answer(2);
  EXPECT_EQ(h->Run("loop"), 0);
  EXPECT_EQ(h->status.Read().View(), "CmndErrN");
  EXPECT_EQ(h->shell.calls, std::vector<ShellCall>(8, {"loop", kNull, kNull}));
  EXPECT_EQ(h->interpreter.nesting_depth, 0);

  // When the deepest fallback succeeds, every enclosing level succeeds too.
  h->shell.calls.clear();
  h->shell.Answer(42);
  EXPECT_EQ(h->Run("loop"), 1);
  EXPECT_EQ(h->shell.calls.size(), 1u);

  // The limit counts runs in progress, not runs made: a long chain of
  // segments at one level is fine.
  h->status.Clear();
  std::string many = "a";
  for (int i = 0; i < 20; ++i) many += " & a";
  h->shell.calls.clear();
  EXPECT_EQ(h->Run(many), 1);
  EXPECT_EQ(h->shell.calls.size(), 21u);
  EXPECT_TRUE(h->status.Empty());

  // Fan-out is bounded per outermost run: twenty segments on each of five
  // levels would be 3.2 million opens; the run stops at the segment budget,
  // and the next outermost run starts with a fresh one.
  h = std::make_unique<Harness>();
  std::string fan = "l0";
  for (int i = 0; i < 19; ++i) fan += " & l0";
  for (int level = 0; level < 5; ++level) {
    std::string body = fan;
    for (std::size_t at = 0; (at = body.find("l0", at)) != std::string::npos; at += 2) {
      body[at + 1] = static_cast<char>('1' + level);
    }
    AddCommand(h->commands, "l" + std::to_string(level), level == 4 ? "x.exe" : body);
  }
  h->shell.Answer(42);
  h->Run("l0");
  EXPECT_EQ(h->status.Read().View(), "CmndErrN");
  EXPECT_LT(h->shell.calls.size(), static_cast<std::size_t>(kMaxSegmentsPerRun));
  EXPECT_EQ(h->interpreter.nesting_depth, 0);
  h->status.Clear();
  h->shell.calls.clear();
  EXPECT_EQ(h->Run("l4 & l4"), 1);
  EXPECT_EQ(h->shell.calls.size(), 2u);
  EXPECT_TRUE(h->status.Empty());
}

TEST(InterpreterTest, EventsStartFreshOrNestAsTheirTableSays) {
  // Raised from inside a run three deep: a fresh event starts at depth 0, a
  // nested one goes on from 3; the built-in in the event's body sees the
  // depth of the event line.
  struct Row {
    Event event;
    const char* line;
    int context;
    bool fresh;
  };
  const Row rows[] = {
      {Event::kStartup, "_startup", kContextEvent, true},
      {Event::kClose, "_onclose", kContextEvent, false},
      {Event::kLauncherOpened, "_oncmdopn", kContextEvent, true},
      {Event::kLauncherClosed, "_oncmdcls", kContextEvent, true},
      {Event::kLeave, "_onleave", kContextLauncher, false},
      {Event::kRecover, "_onrecover", kContextEvent, true},
      {Event::kRightDown, "_onrightdown", kContextMenu, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    auto h = std::make_unique<Harness>();
    AddCommand(h->commands, row.line, "#1");
    h->interpreter.nesting_depth = 3;
    RunEvent(h->interpreter, nullptr, row.event);
    ASSERT_EQ(h->builtins.calls.size(), 1u);
    EXPECT_EQ(h->builtins.calls[0].context, row.context);
    EXPECT_EQ(h->builtins.calls[0].depth, row.fresh ? 1 : 4);
    EXPECT_EQ(h->interpreter.nesting_depth, 3);
  }
}

TEST(InterpreterTest, FreshRunsInsideRunsAreBounded) {
  // An event whose command raises the same event: each fresh run starts at
  // depth 0, so only the count of runs on the stack stops the recursion.
  struct Recursing : BuiltinRunner {
    int RunBuiltin(Interpreter& in, WindowRef, int, std::string_view, std::size_t,
                   const ArgumentVector&, int) override {
      ++calls;
      return RunTopLevel(in, nullptr, "#1", kContextEvent);
    }
    int calls = 0;
  } builtins;
  auto h = std::make_unique<Harness>();
  Interpreter in{h->commands, h->status, h->shell, builtins};
  EXPECT_EQ(RunTopLevel(in, nullptr, "#1", kContextEvent), 0);
  EXPECT_EQ(builtins.calls, kMaxRunsInProgress);
  EXPECT_EQ(h->status.Read().View(), "CmndErrN");
  EXPECT_EQ(in.nesting_depth, 0);
  EXPECT_EQ(in.runs_in_progress, 0);
}

TEST(InterpreterTest, BuiltinsGetNumberLineArgumentsAndContext) {
  auto h = std::make_unique<Harness>();
  AddCommand(h->commands, "say", "#7 ignored text");
  AddCommand(h->commands, "Edit", "C:\\e.exe");
  AddCommand(h->commands, "hop", "say %01");

  EXPECT_EQ(h->Run("#12 a \"b c\" & // next", kContextMenu), 1);
  EXPECT_EQ(h->Run("say hi #EDIT", ButtonContext(17)), 1);
  EXPECT_EQ(h->Run("hop x", kContextTimer), 1);
  h->builtins.result = 0;
  EXPECT_EQ(h->Run("#"), 0);
  EXPECT_EQ(h->Run("#-3x"), 0);
  EXPECT_TRUE(h->shell.calls.empty());

  auto& calls = h->builtins.calls;
  ASSERT_EQ(calls.size(), 5u);
  // Written directly: the line and the name length are the whole segment.
  EXPECT_EQ(calls[0].number, 12);
  EXPECT_EQ(calls[0].line, "#12 a \"b c\"");
  EXPECT_EQ(calls[0].name_length, calls[0].line.size());
  EXPECT_EQ(calls[0].arguments, (std::vector<std::string>{"a", "b c"}));
  EXPECT_EQ(calls[0].slot_after, "-1");
  EXPECT_EQ(calls[0].context, kContextMenu);
  // In a body: typed arguments (a reference in other letter case resolved),
  // the name's length, the rest of the body ignored.
  EXPECT_EQ(calls[1].number, 7);
  EXPECT_EQ(calls[1].line, "say hi #EDIT");
  EXPECT_EQ(calls[1].name_length, 3u);
  EXPECT_EQ(calls[1].arguments, (std::vector<std::string>{"hi", "C:\\e.exe"}));
  EXPECT_EQ(calls[1].context, ButtonContext(17));
  // Through a nested run: context unchanged, one level deeper.
  EXPECT_EQ(calls[2].line, "say x");
  EXPECT_EQ(calls[2].context, kContextTimer);
  EXPECT_EQ(calls[2].depth, 2);
  EXPECT_EQ(calls[3].number, 0);
  EXPECT_TRUE(calls[3].arguments.empty());
  EXPECT_EQ(calls[4].number, -3);
  for (const auto& call : calls) EXPECT_TRUE(call.line_is_c_string) << call.line;
}

// Text the program inserted is never a command, a built-in or a reference,
// wherever a body places it; the user's own separators still cut the body.
TEST(InterpreterTest, InsertedTextNeverNamesACommand) {
  auto h = std::make_unique<Harness>();
  AddCommand(h->commands, "ev", "%01 & #7 %01 & // %01");
  AddCommand(h->commands, "Edit", "C:\\e.exe");
  MarkedLine line = MarkedLine::Written("ev \"");
  line.AddInserted("#edit a & b.exe");
  line.AddWritten("\"");
  h->interpreter.nesting_depth = 0;
  EXPECT_EQ(RunCommandLine(h->interpreter, nullptr, line, kContextLauncher), 1);
  EXPECT_TRUE(h->shell.calls.empty());
  ASSERT_EQ(h->builtins.calls.size(), 1u);
  EXPECT_EQ(h->builtins.calls[0].arguments, (std::vector<std::string>{"#edit a & b.exe"}));
  EXPECT_EQ(h->interpreter.nesting_depth, 0);

  // Handed to a program, inserted quotes and the backslashes before a quote are
  // escaped as the C runtime reads them; a trail byte 0x5C is left alone.
  MarkedLine open = MarkedLine::Written("prog.exe \"");
  open.AddInserted("say \"hi\" \\\"\\ 表 tail\\");
  open.AddWritten("\" \"C:\\dir\\\"");
  EXPECT_EQ(RunCommandLine(h->interpreter, nullptr, open, kContextLauncher), 1);
  ASSERT_EQ(h->shell.calls.size(), 1u);
  EXPECT_EQ(h->shell.calls[0].parameters, "\"say \\\"hi\\\" \\\\\\\"\\ 表 tail\\\\\" \"C:\\dir\\\"");
}

TEST(InterpreterTest, OverlongLinesAreCutNotOverrun) {
  auto h = std::make_unique<Harness>();
  std::string line(10000, 'x');
  h->Run(line);
  ASSERT_EQ(h->shell.calls.size(), 1u);
  EXPECT_EQ(h->shell.calls[0].file.size(), kLineMax);

  // Arguments appended to a body grow past the buffer: cut at kLineMax bytes.
  AddCommand(h->commands, "p", "prog.exe");
  h->shell.calls.clear();
  std::string args;
  for (int i = 0; i < 32; ++i) args += " " + std::string(300, 'a' + i % 26);
  h->Run("p" + args);
  ASSERT_FALSE(h->shell.calls.empty());
  EXPECT_EQ(h->shell.calls[0].file, "prog.exe");
  EXPECT_LE(h->shell.calls[0].parameters.size(), kLineMax);
}

}  // namespace
}  // namespace vsmr
