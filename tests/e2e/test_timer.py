# A command timer set to the coming minute runs its command once, at second 0 of it.
import time

from probe import Probe
from program_files import settings_file
from vesmira_case import VesmiraCase


class Timer(VesmiraCase):
    def test_timer_fires_at_second_zero(self):
        probe = Probe(self)
        # Leave the program at least 8 s to start before the minute turns.
        target = time.localtime(time.time() + 68 if time.localtime().tm_sec > 52 else
                                time.time() + 60)
        value = f'1,{target.tm_hour:02d}:{target.tm_min:02d},{probe.windows_path} "timer"'
        self.write('vsmrsys.ini', settings_file({'TimerAlarmData': [('CommandTimer01', value)]}))
        self.start_main_window()
        turn = time.mktime(target[:5] + (0,) + target[6:])

        self.assertEqual(probe.runs(), [], 'the timer ran before its minute')
        seen = None
        while time.time() < turn + 6:
            if probe.runs():
                seen = seen or time.time()
                if seen < turn:
                    self.fail(f'the timer ran {turn - seen:.1f} s before its minute')
            time.sleep(0.1)
        self.assertIsNotNone(seen, 'the timer did not run within 6 s of its minute')
        # The tick that falls within second 0 runs it; starting the probe takes a moment.
        self.assertLess(seen - turn, 3.0)
        self.assertEqual(probe.args(), [['timer']], 'the timer ran more than once')
