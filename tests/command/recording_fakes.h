// Recording stand-ins for the interpreter's seams: a shell that answers a
// chosen result and a built-in runner that answers a chosen result, both
// keeping every call in order.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "command/interpreter.h"

namespace vsmr::test {

struct ShellCall {
  std::string file;
  std::string parameters;  // "(null)" when none was passed
  std::string directory;   // "(null)" when none was passed
  bool operator==(const ShellCall&) const = default;
};

class RecordingShell : public Shell {
 public:
  explicit RecordingShell(int result = 42) : result_(result) {}
  int Open(const char* file, const char* parameters, const char* directory) override {
    calls.push_back({file, parameters ? parameters : "(null)", directory ? directory : "(null)"});
    auto it = answers.find(file);
    return it == answers.end() ? result_ : it->second;
  }
  void Answer(int result) { result_ = result; }
  std::vector<ShellCall> calls;
  std::map<std::string, int> answers;  // per file; others get the default result

 private:
  int result_;
};

struct BuiltinCall {
  int number;
  std::string line;
  std::size_t name_length;
  std::vector<std::string> arguments;  // the filled slots
  std::string slot_after;              // the first unfilled slot ("-1" unless all 32 are filled)
  int context;
  int depth;
  bool line_is_c_string;  // a NUL right after the line
};

class RecordingBuiltins : public BuiltinRunner {
 public:
  int RunBuiltin(Interpreter& interpreter, WindowRef, int number, std::string_view line,
                 std::size_t name_length, const ArgumentVector& arguments, int context) override {
    BuiltinCall call{number, std::string(line), name_length, {}, {}, context,
                     interpreter.nesting_depth, line.data()[line.size()] == '\0'};
    for (int k = 1; k <= arguments.count; ++k) call.arguments.push_back(arguments.Get(k));
    call.slot_after = arguments.count < ArgumentVector::kSlots ? arguments.Get(arguments.count + 1)
                                                               : "-1";
    calls.push_back(call);
    return result;
  }
  int result = 1;
  std::vector<BuiltinCall> calls;
};

// A command list built from name, body pairs.
inline void AddCommand(CommandList& list, std::string_view name, std::string_view body,
                       std::string_view comment = "") {
  CommandEntry& e = list.entries[list.count++];
  e.name.Set(name);
  e.body.Set(body);
  e.comment.Set(comment);
}

// An interpreter over fresh state, with the fakes above.
struct Harness {
  CommandList commands;
  StatusWord status;
  RecordingShell shell;
  RecordingBuiltins builtins;
  Interpreter interpreter{commands, status, shell, builtins};

  int Run(std::string_view line, int context = kContextLauncher) {
    interpreter.nesting_depth = 0;
    return RunCommandLine(interpreter, nullptr, line, context);
  }
};

}  // namespace vsmr::test
