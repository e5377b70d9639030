// Fuzzes the interpreter: the input is a command list file, two NUL bytes and
// a line to run. The shell answers from a fixed cycle of results; built-in 1
// runs its rest-of-line as a nested line, as condition built-ins do.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "command/command_file.h"
#include "command/interpreter.h"

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

class NestingBuiltins : public vsmr::BuiltinRunner {
 public:
  int RunBuiltin(vsmr::Interpreter& interpreter, vsmr::WindowRef window, int number,
                 std::string_view line, std::size_t name_length,
                 const vsmr::ArgumentVector& arguments, int context) override {
    if (arguments.count < 0 || arguments.count > vsmr::ArgumentVector::kSlots) std::abort();
    for (int k = 1; k <= vsmr::ArgumentVector::kSlots; ++k) {
      if (std::strlen(arguments.Get(k)) > vsmr::kLineMax) std::abort();
    }
    if (number != 1 || name_length > line.size()) return number & 1;
    return vsmr::RunCommandLine(interpreter, window, line.substr(name_length), context);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t cut = input.find(std::string_view("\0\0", 2));
  std::string_view file = cut == std::string_view::npos ? std::string_view() : input.substr(0, cut);
  std::string_view line = cut == std::string_view::npos ? input : input.substr(cut + 2);

  auto commands = std::make_unique<vsmr::CommandList>();
  vsmr::ParseCommandFile(file, *commands);
  vsmr::StatusWord status;
  CyclingShell shell;
  NestingBuiltins builtins;
  vsmr::Interpreter interpreter{*commands, status, shell, builtins};
  int result = vsmr::RunCommandLine(interpreter, nullptr, line, vsmr::kContextLauncher);
  if (result != 0 && result != 1) std::abort();
  if (interpreter.nesting_depth != 0) std::abort();
  if (status.Read().View().size() > vsmr::StatusWord::kMaxLength) std::abort();
  return 0;
}
