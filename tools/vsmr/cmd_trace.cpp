// vsmr trace: runs a line through the interpreter against a command list file
// with a recording shell and built-in runner, and prints every effect in order.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "command/command_file.h"
#include "command/interpreter.h"
#include "console_text.h"
#include "folder_files.h"
#include "subcommand.h"

namespace vsmr::tool {
namespace {

constexpr char kUsage[] = "trace [--dir DIR] [--context N] [--shell-result R] LINE";

class TraceShell : public Shell {
 public:
  TraceShell(std::vector<std::string>& out, int result) : out_(out), result_(result) {}
  int Open(const char* file, const char* parameters, const char* directory) override {
    out_.push_back("open\t" + EscapeField(file) + "\t" + EscapeField(parameters ? parameters : "") +
                   "\t" + EscapeField(directory ? directory : ""));
    return result_;
  }

 private:
  std::vector<std::string>& out_;
  int result_;
};

class TraceBuiltins : public BuiltinRunner {
 public:
  explicit TraceBuiltins(std::vector<std::string>& out) : out_(out) {}
  int RunBuiltin(Interpreter&, WindowRef, int number, std::string_view, std::size_t,
                 const ArgumentVector& arguments, int context) override {
    std::string line = "builtin\t" + std::to_string(number) + "\t" + std::to_string(context) +
                       "\t" + std::to_string(arguments.count);
    for (int k = 1; k <= arguments.count; ++k) line += "\t" + EscapeField(arguments.Get(k));
    out_.push_back(line);
    return 0;
  }

 private:
  std::vector<std::string>& out_;
};

bool ParseInt(const std::string& text, int& value) {
  errno = 0;
  char* end = nullptr;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || parsed < INT_MIN || parsed > INT_MAX) {
    return false;
  }
  value = static_cast<int>(parsed);
  return true;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "vsmr trace: %s\nusage: vsmr %s\n", message.c_str(), kUsage);
  return 2;
}

int RunTrace(const std::vector<std::string>& args) {
  std::string dir = ".";
  int context = -1;
  int shell_result = 42;
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool has_value = i + 1 < args.size();
    if (a == "--dir" && has_value) {
      dir = args[++i];
    } else if (a == "--context" && has_value) {
      if (!ParseInt(args[++i], context)) return Fail("--context needs a whole number");
    } else if (a == "--shell-result" && has_value) {
      if (!ParseInt(args[++i], shell_result)) return Fail("--shell-result needs a whole number");
    } else if (a.rfind("--", 0) == 0 && a != "--") {
      return Fail("unknown or incomplete option " + a);
    } else {
      if (a == "--" && i + 1 < args.size()) ++i;
      rest.push_back(args[i]);
    }
  }
  if (rest.size() != 1) return Fail("give exactly one LINE (quote it)");

  const std::string path = FolderFiles(dir).command_file_path;
  auto commands = std::make_unique<CommandList>();
  std::string bytes;
  if (ReadWholeFile(path, bytes)) {
    ParseCommandFile(bytes, *commands);
  } else {
    std::fprintf(stderr, "vsmr trace: cannot read %s: the command list is empty\n", path.c_str());
  }

  std::vector<std::string> out;
  StatusWord status;
  TraceShell shell(out, shell_result);
  TraceBuiltins builtins(out);
  Interpreter interpreter{*commands, status, shell, builtins};
  int result = RunCommandLine(interpreter, nullptr, FromConsole(rest[0]), context);

  for (const std::string& line : out) std::printf("%s\n", line.c_str());
  std::printf("status\t%s\n", EscapeField(status.Read().View()).c_str());
  std::printf("result\t%d\n", result);
  return 0;
}

const Subcommand kTrace("trace", kUsage, RunTrace);

}  // namespace
}  // namespace vsmr::tool
