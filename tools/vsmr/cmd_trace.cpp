// vsmr trace: a dry run of a line. The command list and the settings are
// loaded from a folder as the program's start-up does; the line runs through
// the real interpreter and built-ins on a shell and a host that only record,
// and every effect is printed in order, then the state the run changed.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/shell_layout.h"
#include "command/builtins.h"
#include "command/interpreter.h"
#include "command/recording_host.h"
#include "console_text.h"
#include "settings_tool.h"
#include "subcommand.h"

namespace vsmr::tool {
namespace {

constexpr char kUsage[] =
    "trace [--dir DIR] [--context N] [--shell-result R] [--answer A]... [--choose ID] [--save] LINE";

class TraceShell : public Shell {
 public:
  TraceShell(RecordingHost& out, int result) : out_(out), result_(result) {}
  int Open(const char* file, const char* parameters, const char* directory) override {
    out_.Add({"open", file, parameters ? parameters : "", directory ? directory : ""});
    return result_;
  }

 private:
  RecordingHost& out_;
  int result_;
};

// Names every built-in as it is reached, then runs it.
class TraceBuiltins : public BuiltinRunner {
 public:
  TraceBuiltins(RecordingHost& out, BuiltinRunner& real) : out_(out), real_(real) {}
  int RunBuiltin(Interpreter& in, WindowRef window, int number, std::string_view line,
                 std::size_t name_length, const ArgumentVector& arguments, int context) override {
    RecordingHost::Record record{"builtin", std::to_string(number), std::to_string(context),
                                 std::to_string(arguments.count)};
    for (int k = 1; k <= arguments.count; ++k) record.push_back(arguments.Get(k));
    out_.Add(std::move(record));
    return real_.RunBuiltin(in, window, number, line, name_length, arguments, context);
  }

 private:
  RecordingHost& out_;
  BuiltinRunner& real_;
};

// The values `state` lines report, by name, in the order they are printed.
std::vector<std::pair<const char*, std::string>> StateOf(const SettingsState& s, bool keep,
                                                         bool shutdown, const CommandList& c) {
  std::string shown;
  for (int i = 0; i < kLauncherItemCount; ++i) {
    if (s.launcher_items[i].shown == 0) continue;
    if (!shown.empty()) shown += ",";
    shown += std::to_string(i + 1);
  }
  return {{"KeepLauncherOpen", keep ? "1" : "0"},
          {"CommandLineLauncherLength", std::to_string(s.command_line_launcher_length)},
          {"LeaveRoomMode", std::to_string(s.leave_room_mode)},
          {"MailLauncherOrNot", std::to_string(s.mail_launcher_or_not)},
          {"MailLauncherCommand", std::string(s.mail_launcher_command.View())},
          {"DeleteMailPermission", std::to_string(s.delete_mail_permission)},
          {"Shutdown", shutdown ? "1" : "0"},
          {"Shown", shown},
          {"Commands", std::to_string(c.count)}};
}

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

void Print(const RecordingHost::Record& record) {
  std::string line;
  for (std::size_t i = 0; i < record.size(); ++i) line += (i ? "\t" : "") + EscapeField(record[i]);
  std::printf("%s\n", line.c_str());
}

int RunTrace(const std::vector<std::string>& args) {
  std::vector<std::string> folder_args;
  int context = kContextLauncher;
  int shell_result = 42;
  int choose = 0;
  bool save = false;
  RecordingHost host;
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool has_value = i + 1 < args.size();
    if (a == "--dir" && has_value) {
      folder_args = {a, args[++i]};
    } else if (a == "--context" && has_value) {
      if (!ParseInt(args[++i], context)) return Fail("--context needs a whole number");
    } else if (a == "--shell-result" && has_value) {
      if (!ParseInt(args[++i], shell_result)) return Fail("--shell-result needs a whole number");
    } else if (a == "--answer" && has_value) {
      host.answers.push_back(FromConsole(args[++i]));
    } else if (a == "--choose" && has_value) {
      if (!ParseInt(args[++i], choose)) return Fail("--choose needs a menu entry's id");
    } else if (a == "--save") {
      save = true;
    } else if (a.rfind("--", 0) == 0 && a != "--") {
      return Fail("unknown or incomplete option " + a);
    } else {
      if (a == "--" && i + 1 < args.size()) ++i;
      rest.push_back(args[i]);
    }
  }
  if (rest.size() != 1) return Fail("give exactly one LINE (quote it)");

  LoadedProgram program;
  if (!LoadFolder("trace", folder_args, program)) return 2;
  SettingsState& settings = *program.settings;
  CommandList& commands = *program.commands;

  // The traced window stands where the settings put it, the launcher box open
  // as they say, the pointer at the window's top-left corner.
  ShellLayout layout;
  layout.launcher_open = settings.command_line_launcher != 0;
  layout.opened_length = settings.command_line_launcher_length;
  layout.button_count = ShownItemCount(settings.launcher_items);
  host.window = {settings.window_position_x, settings.window_position_y};
  host.pointer = host.window;
  host.button_client_x = [layout](int position) { return layout.ButtonX(position); };
  host.launcher_box_x = kClockFaceWidth;

  bool keep = false;
  bool shutdown = false;
  auto slots = std::make_unique<MenuSlots>();
  const auto before = StateOf(settings, keep, shutdown, commands);

  StatusWord status;
  TraceShell shell(host, shell_result);
  Builtins real(BuiltinState{settings, keep, shutdown, *slots}, host);
  TraceBuiltins builtins(host, real);
  Interpreter interpreter{commands, status, shell, builtins};
  int result = RunCommandLine(interpreter, nullptr, FromConsole(rest[0]), context);

  int exit_code = 0;
  if (choose != 0) {
    bool offered = false;
    for (int id : host.menu_ids) offered = offered || id == choose;
    if (offered) {
      RunMenuChoice(choose, *slots, interpreter, nullptr);
    } else {
      std::fprintf(stderr, "vsmr trace: no menu offered the entry %d\n", choose);
      exit_code = 1;
    }
  }

  for (const auto& record : host.records) Print(record);
  const auto after = StateOf(settings, keep, shutdown, commands);
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (after[i].second != before[i].second) Print({"state", after[i].first, after[i].second});
  }
  std::printf("status\t%s\n", EscapeField(status.Read().View()).c_str());
  std::printf("result\t%d\n", result);

  if (save) {
    // What closing the program now would write.
    LiveSettings live;
    live.command_line_launcher = layout.launcher_open && keep ? 1 : 0;
    live.window_position_x = host.window.x;
    live.window_position_y = host.window.y;
    live.in_task_or_not = settings.in_task_or_not;
    if (!SaveProgramSettings(settings, commands, live, program.files, program.loaded).Ok()) {
      std::fprintf(stderr, "vsmr trace: the files could not be written\n");
      exit_code = 1;
    }
  }
  return exit_code;
}

const Subcommand kTrace("trace", kUsage, RunTrace);

}  // namespace
}  // namespace vsmr::tool
