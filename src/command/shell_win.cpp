// The shell's "open" operation through ShellExecuteA.
#include <windows.h>
#include <shellapi.h>

#include "command/shell.h"

namespace vsmr {

int WindowsShell::Open(const char* file, const char* parameters, const char* directory) {
  HINSTANCE result = ShellExecuteA(nullptr, "open", file, parameters, directory, SW_SHOWNORMAL);
  // The result is an error code dressed as a handle; it always fits an int.
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace vsmr
