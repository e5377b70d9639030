// Command timers: which timers a clock tick fires, over a day of ticks that
// drift past second 0, runs that change the table and ticks inside a run.
#include <gtest/gtest.h>

#include <vector>

#include "command/timer_check.h"

namespace vsmr {
namespace {

struct Timer {
  int hour, minute, enabled;
};

LocalTime At(int day, int hour, int minute, int second) {
  return {2024, 5, day, hour, minute, second};
}

std::vector<int> Tick(const Timer (&timers)[8], TimerFirings<8>& fired, LocalTime now) {
  std::vector<int> runs;
  RunDueTimers(timers, fired, now, [&](int i) { runs.push_back(i); });
  return runs;
}

TEST(CommandTimers, EachFiresOnceOnTheFirstTickOfItsMinuteEveryDay) {
  const Timer timers[8] = {{7, 30, 1}, {7, 30, 0}, {7, 30, 1}, {7, 31, 1}, {19, 30, 1}};
  TimerFirings<8> fired;
  struct Row {
    const char* name;
    LocalTime now;
    std::vector<int> runs;
  } ticks[] = {
      {"the tick before the minute", At(1, 7, 29, 59), {}},
      // Entry order; the disabled entry 1 never fires.
      {"a late tick that missed second 0", At(1, 7, 30, 1), {0, 2}},
      {"a second tick in that minute", At(1, 7, 30, 2), {}},
      {"its last second", At(1, 7, 30, 59), {}},
      {"the next minute at second 0", At(1, 7, 31, 0), {3}},
      {"the same minute in the evening", At(1, 19, 30, 0), {4}},
      // Unused entries (disabled, 00:00) do not fire at midnight.
      {"midnight", At(2, 0, 0, 0), {}},
      {"the next day, late again", At(2, 7, 30, 3), {0, 2}},
      {"a month on, same day and time", {2024, 6, 2, 7, 30, 0}, {0, 2}},
  };
  for (const Row& r : ticks) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(Tick(timers, fired, r.now), r.runs);
  }
}

TEST(CommandTimers, RunsSeeTheTableAsTheEarlierRunsLeftIt) {
  Timer timers[8] = {{7, 30, 1}, {7, 30, 0}, {7, 30, 1}};
  TimerFirings<8> fired;
  std::vector<int> runs;
  RunDueTimers(timers, fired, At(1, 7, 30, 0), [&](int i) {
    runs.push_back(i);
    if (i == 0) {
      timers[1].enabled = 1;  // a later entry switched on for this minute runs now
      timers[2].enabled = 0;  // and one switched off does not
    }
  });
  EXPECT_EQ(runs, (std::vector<int>{0, 1}));
}

TEST(CommandTimers, TickDuringARunDoesNotFireItAgain) {
  const Timer timers[8] = {{7, 30, 1}, {7, 30, 1}};
  TimerFirings<8> fired;
  std::vector<int> runs;
  auto run = [&](auto& self, int i) -> void {
    runs.push_back(i);
    // The first run waits in a message box, whose loop delivers the next tick.
    if (runs.size() == 1) RunDueTimers(timers, fired, At(1, 7, 30, 1), [&](int j) { self(self, j); });
  };
  RunDueTimers(timers, fired, At(1, 7, 30, 0), [&](int i) { run(run, i); });
  EXPECT_EQ(runs, (std::vector<int>{0, 1}));
}

}  // namespace
}  // namespace vsmr
