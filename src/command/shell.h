// The platform's shell "open" for the interpreter (Windows builds only).
#pragma once
#include "command/interpreter.h"

namespace vsmr {

// ShellExecuteA(NULL, "open", file, parameters, directory, SW_SHOWNORMAL).
class WindowsShell : public Shell {
 public:
  int Open(const char* file, const char* parameters, const char* directory) override;
};

}  // namespace vsmr
