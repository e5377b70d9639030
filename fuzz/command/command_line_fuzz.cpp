// Fuzzes the interpreter with the real built-ins (conditions, command menus,
// button marks, sound paths...) over a recording host: the input is a command
// list file, two NUL bytes and a line to run. The shell answers from a fixed
// cycle of results.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "command/builtins.h"
#include "command/command_file.h"
#include "command/interpreter.h"
#include "command/recording_host.h"

namespace {

class CyclingShell : public vsmr::Shell {
 public:
  int Open(const char* file, const char* parameters, const char* directory) override {
    if (std::strlen(file) > vsmr::kLineMax) std::abort();
    if (parameters && std::strlen(parameters) > vsmr::kLineMax) std::abort();
    if (directory && std::strlen(directory) >= vsmr::kPathBuffer) std::abort();
    static const int kResults[] = {42, 2, vsmr::kShellAccessDenied, vsmr::kShellOutOfResources,
                                   vsmr::kShellLastError + 1};
    return kResults[calls_++ % 5];
  }

 private:
  unsigned calls_ = 0;
};

// Checks what every built-in receives, then runs the real one.
class CheckedBuiltins : public vsmr::BuiltinRunner {
 public:
  explicit CheckedBuiltins(vsmr::BuiltinRunner& real) : real_(real) {}
  int RunBuiltin(vsmr::Interpreter& interpreter, vsmr::WindowRef window, int number,
                 std::string_view line, std::size_t name_length,
                 const vsmr::ArgumentVector& arguments, int context) override {
    if (arguments.count < 0 || arguments.count > vsmr::ArgumentVector::kSlots) std::abort();
    for (int k = 1; k <= vsmr::ArgumentVector::kSlots; ++k) {
      if (std::strlen(arguments.Get(k)) > vsmr::kLineMax) std::abort();
    }
    if (name_length > line.size() || line.data()[line.size()] != '\0') std::abort();
    return real_.RunBuiltin(interpreter, window, number, line, name_length, arguments, context);
  }

 private:
  vsmr::BuiltinRunner& real_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t cut = input.find(std::string_view("\0\0", 2));
  std::string_view file = cut == std::string_view::npos ? std::string_view() : input.substr(0, cut);
  std::string_view line = cut == std::string_view::npos ? input : input.substr(cut + 2);

  auto commands = std::make_unique<vsmr::CommandList>();
  vsmr::ParseCommandFile(file, *commands);
  auto settings = std::make_unique<vsmr::SettingsState>();
  auto slots = std::make_unique<vsmr::MenuSlots>();
  bool keep_open = false;
  bool shutdown = false;
  vsmr::RecordingHost host;
  vsmr::Builtins real(vsmr::BuiltinState{*settings, keep_open, shutdown, *slots}, host);
  vsmr::StatusWord status;
  CyclingShell shell;
  CheckedBuiltins builtins(real);
  vsmr::Interpreter interpreter{*commands, status, shell, builtins};
  int result = vsmr::RunCommandLine(interpreter, nullptr, line, vsmr::kContextLauncher);
  if (result != 0 && result != 1) std::abort();
  if (interpreter.nesting_depth != 0 || interpreter.runs_in_progress != 0) std::abort();
  if (status.Read().View().size() > vsmr::StatusWord::kMaxLength) std::abort();
  if (commands->count < 0 || commands->count > vsmr::kMaxCommands) std::abort();
  return 0;
}
