#include "command/events.h"

namespace vsmr {
namespace {

constexpr EventRow kEvents[] = {
    {"_startup", kContextEvent, true},
    {"_onclose", kContextEvent, false},
    {"_oncmdopn", kContextEvent, true},
    {"_oncmdcls", kContextEvent, true},
    {"_onleave", kContextLauncher, false},
    {"_onrecover", kContextEvent, true},
    {"_onrightdown", kContextMenu, false},
};

}  // namespace

const EventRow& EventOf(Event event) { return kEvents[static_cast<int>(event)]; }

int RunEvent(Interpreter& interpreter, WindowRef window, Event event) {
  const EventRow& row = EventOf(event);
  if (row.fresh_run) return RunTopLevel(interpreter, window, row.line, row.context);
  return RunCommandLine(interpreter, window, row.line, row.context);
}

int RunTopLevel(Interpreter& interpreter, WindowRef window, const MarkedLine& line, int context) {
  const int outer_depth = interpreter.nesting_depth;
  interpreter.nesting_depth = 0;
  const int result = RunCommandLine(interpreter, window, line, context);
  interpreter.nesting_depth = outer_depth;
  return result;
}

int RunTopLevel(Interpreter& interpreter, WindowRef window, std::string_view line, int context) {
  return RunTopLevel(interpreter, window, MarkedLine::Written(line), context);
}

}  // namespace vsmr
