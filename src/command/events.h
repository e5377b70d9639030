// The lines the program runs by itself, and the two ways a line can start:
// a fresh top-level run (nesting depth 0, for lines a person or a timer
// starts) or inside whatever run is in progress (events that a run can
// raise itself, such as a close or a lock, so that a command raising its own
// event stops at the nesting limit instead of starting over).
#pragma once
#include <string_view>

#include "command/interpreter.h"
#include "command/marked_line.h"

namespace vsmr {

enum class Event : unsigned char {
  kStartup,         // "_startup": the main window is set up
  kClose,           // "_onclose": the main window closes, before the files are saved
  kLauncherOpened,  // "_oncmdopn"
  kLauncherClosed,  // "_oncmdcls"
  kLeave,           // "_onleave": leave-room mode starts
  kRecover,         // "_onrecover": the leave-room password was typed
  kRightDown,       // "_onrightdown": right button on the strip; nonzero keeps the menu shut
};

struct EventRow {
  std::string_view line;
  int context = 0;
  bool fresh_run = false;  // depth 0 for the run; otherwise it nests in the current one
};

const EventRow& EventOf(Event event);

// Runs the event's line as its row says; returns the run's result.
int RunEvent(Interpreter& interpreter, WindowRef window, Event event);

// A fresh top-level run: depth 0 while it runs, the caller's depth restored
// after, so a run started from a modal loop inside another run leaves that
// run's count as it was.
int RunTopLevel(Interpreter& interpreter, WindowRef window, const MarkedLine& line, int context);
int RunTopLevel(Interpreter& interpreter, WindowRef window, std::string_view line, int context);

}  // namespace vsmr
