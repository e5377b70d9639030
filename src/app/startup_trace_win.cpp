// Start-up trace: see startup_trace_win.h. The offset from the process's
// creation is taken once from the system clock; the steps after it from the
// performance counter, which is finer.
#include "app/startup_trace_win.h"

#include <windows.h>

#include <cstdio>

namespace vsmr {

namespace {

struct Trace {
  bool started = false;
  bool ended = false;
  bool painted = false;
  FILE* file = nullptr;
  double offset_ms = 0;  // creation to the first step
  LARGE_INTEGER first{};
  LARGE_INTEGER frequency{};
};

Trace& TheTrace() {
  static Trace trace;
  return trace;
}

double FileTimeMs(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return static_cast<double>(v.QuadPart) / 10000.0;
}

void Start(Trace& trace) {
  trace.started = true;
  char path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("VSMR_STARTUP_TRACE", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  trace.file = std::fopen(path, "a");
  if (!trace.file) return;
  QueryPerformanceFrequency(&trace.frequency);
  QueryPerformanceCounter(&trace.first);
  FILETIME creation, exit_time, kernel, user, now;
  GetSystemTimeAsFileTime(&now);
  if (GetProcessTimes(GetCurrentProcess(), &creation, &exit_time, &kernel, &user)) {
    trace.offset_ms = FileTimeMs(now) - FileTimeMs(creation);
  }
}

}  // namespace

void TraceStartup(const char* step) {
  Trace& trace = TheTrace();
  if (trace.ended) return;
  if (!trace.started) Start(trace);
  if (!trace.file) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const double since_first =
      static_cast<double>(now.QuadPart - trace.first.QuadPart) * 1000.0 / static_cast<double>(trace.frequency.QuadPart);
  std::fprintf(trace.file, "%.2f %s\n", trace.offset_ms + since_first, step);
  std::fflush(trace.file);  // the benchmark ends the process soon after the first paint
}

void TraceFirstPaint() {
  Trace& trace = TheTrace();
  if (trace.painted) return;
  trace.painted = true;
  TraceStartup("clock face painted (first paint)");
}

void EndStartupTrace() {
  Trace& trace = TheTrace();
  if (trace.ended) return;
  trace.ended = true;
  if (trace.file) std::fclose(trace.file);
  trace.file = nullptr;
}

}  // namespace vsmr
