// Process id for TempDir names, so parallel test programs never share a folder.
#include "support/temp_dir.h"

#ifdef _WIN32
#include <process.h>
long vsmr::TempDir::Pid() { return _getpid(); }
#else
#include <unistd.h>
long vsmr::TempDir::Pid() { return getpid(); }
#endif
