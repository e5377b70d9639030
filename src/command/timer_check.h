// Command timers: which of the eight daily timers fire on a clock tick. The
// local time is passed in, so the rule is tested without a clock.
#pragma once
#include <cstdint>

namespace vsmr {

// A local date and time of day, as the clock tick reads it.
struct LocalTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

// Where the clock tick reads the local time; tests put a clock of their own in
// place of the system's.
class LocalClock {
 public:
  virtual ~LocalClock() = default;
  virtual LocalTime Now() const = 0;
};

// A number that differs for every minute of every date.
constexpr std::int64_t MinuteStamp(const LocalTime& t) {
  return ((std::int64_t{t.year} * 12 + t.month - 1) * 31 + t.day - 1) * 1440 + t.hour * 60 +
         t.minute;
}

// The minute in which each timer last fired. The tick drifts, so a timer may
// see no tick within second 0 of its minute; remembering the minute lets it
// fire on the first tick anywhere in that minute, once, and again the next day.
template <int N>
struct TimerFirings {
  std::int64_t last[N];
  TimerFirings() {
    for (std::int64_t& stamp : last) stamp = -1;
  }
};

// Calls run(index) for each enabled timer of `timers` (anything with enabled,
// hour and minute fields) whose hour and minute are now and which has not
// fired in this minute, in entry order; each run finishes before the next
// entry is looked at, so a run that changes the table is seen by the entries
// after it. A timer counts as fired before its run starts: a tick that comes
// while the run waits in a message box does not fire it again.
template <class Timer, int N, class Run>
void RunDueTimers(const Timer (&timers)[N], TimerFirings<N>& fired, const LocalTime& now,
                  Run&& run) {
  const std::int64_t stamp = MinuteStamp(now);
  for (int i = 0; i < N; ++i) {
    const Timer& t = timers[i];
    if (t.enabled == 0 || t.hour != now.hour || t.minute != now.minute) continue;
    if (fired.last[i] == stamp) continue;
    fired.last[i] = stamp;
    run(i);
  }
}

}  // namespace vsmr
