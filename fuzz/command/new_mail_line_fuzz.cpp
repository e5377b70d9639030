// Fuzzes the new-mail event line: whatever bytes the sender's From text holds,
// running the line calls the event's command exactly once, with the count, the
// address and the name as its three arguments, and runs nothing else. The
// first input byte picks how the event's body places them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "command/interpreter.h"
#include "mail/jobs/mail_notify.h"

namespace {

class NoShell : public vsmr::Shell {
 public:
  int Open(const char*, const char*, const char*) override { std::abort(); }
};

class HookOnly : public vsmr::BuiltinRunner {
 public:
  int RunBuiltin(vsmr::Interpreter&, vsmr::WindowRef, int number, std::string_view,
                 std::size_t, const vsmr::ArgumentVector& arguments, int) override {
    if (number != 7 || ++calls > 1) std::abort();
    for (int k = 1; k <= arguments.count; ++k) received.emplace_back(arguments.Get(k));
    return 1;
  }
  int calls = 0;
  std::vector<std::string> received;
};

void Add(vsmr::CommandList& list, std::string_view name, std::string_view body) {
  vsmr::CommandEntry& entry = list.entries[list.count++];
  entry.name.Set(name);
  entry.body.Set(body);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const char* const kBodies[] = {"hook", "hook %**", "hook \"%01\" \"%02\" \"%03\"",
                                        "hook \"%01\" \"%02\" \"%03\" & // done"};
  const char* body = kBodies[data[0] % 4];
  // A From text is a C string; twice its length stays within the line's limit, so the
  // line is never cut.
  std::string_view sender(reinterpret_cast<const char*>(data + 1), size - 1);
  sender = sender.substr(0, sender.find('\0'));
  if (sender.size() > 480) sender = sender.substr(0, 480);

  // What the event must receive: the address is what the last "<" encloses,
  // the name what stands before it; without one, both are the whole text.
  std::string address(sender);
  std::string name(sender);
  if (std::size_t open = sender.rfind('<'); open != std::string_view::npos) {
    name = sender.substr(0, open);
    address = sender.substr(open + 1);
    address = address.substr(0, address.find('>'));
  }

  auto commands = std::make_unique<vsmr::CommandList>();
  Add(*commands, "_onnewmail3", body);
  Add(*commands, "hook", "#7");
  // Names the sender might try to reach.
  Add(*commands, "a", "#8");
  Add(*commands, "x", "#9");
  vsmr::StatusWord status;
  NoShell shell;
  HookOnly hook;
  vsmr::Interpreter interpreter{*commands, status, shell, hook};
  vsmr::RunCommandLine(interpreter, nullptr, vsmr::NewMailHookLine(2, 12, sender),
                       vsmr::kContextLauncher);
  const std::vector<std::string> expected = {"12", address, name};
  if (hook.calls != 1 || hook.received != expected) std::abort();
  return 0;
}
