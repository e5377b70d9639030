// Start-up trace: when the environment variable VSMR_STARTUP_TRACE names a file,
// each step of the start-up (the first paint of the clock face among them) is
// appended to it as the milliseconds since the process was created and its name.
#pragma once

namespace vsmr {

void TraceStartup(const char* step);
// The first paint of the clock face (later paints are not steps).
void TraceFirstPaint();
// Once the start-up has finished: the trace is closed and later calls cost nothing.
void EndStartupTrace();

}  // namespace vsmr
