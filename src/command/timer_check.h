// Command timers: which of the eight daily timers fire on a clock tick. The
// local time is passed in, so the rule is tested without a clock.
#pragma once

namespace vsmr {

// A timer fires on every tick that falls within second 0 of its minute.
constexpr bool TimerIsDue(int enabled, int timer_hour, int timer_minute, int hour, int minute,
                          int second) {
  return enabled != 0 && timer_hour == hour && timer_minute == minute && second == 0;
}

// Calls run(index) for each due timer of `timers` (anything with enabled, hour
// and minute fields), in entry order; each run finishes before the next test.
template <class Timer, int N, class Run>
void RunDueTimers(const Timer (&timers)[N], int hour, int minute, int second, Run&& run) {
  for (int i = 0; i < N; ++i) {
    if (TimerIsDue(timers[i].enabled, timers[i].hour, timers[i].minute, hour, minute, second)) {
      run(i);
    }
  }
}

}  // namespace vsmr
