# A second start hands its command line to the running copy, which shows it in a box
# captioned "OK" and runs it once the box is closed; the second copy waits for that and
# exits 0. A second start without arguments exits 0 at once and changes nothing.
from probe import Probe
from vesmira_case import VesmiraCase


class SecondStart(VesmiraCase):
    def test_hand_off(self):
        probe = Probe(self)
        self.write_commands([('greet', probe.windows_path, '')])
        _, window = self.start_main_window()
        before = self.desktop.geometry(window)

        with self.subTest('without arguments'):
            quiet = self.start()
            self.assertEqual(quiet.wait(15), 0)
            self.assertIsNone(self.desktop.wait_window('^OK$', timeout=1))
            self.assertEqual(self.desktop.geometry(window), before)
            self.assertEqual(probe.runs(), [])

        with self.subTest('with arguments'):
            second = self.start('greet', 'two')
            box = self.desktop.wait_window('^OK$', timeout=15)
            self.desktop.screenshot('ok-box')
            self.assertIsNotNone(box, 'no box captioned "OK" appeared')
            self.assertIsNone(second.wait(1), 'the second copy ended before the box was closed')
            self.assertEqual(probe.runs(), [], 'the text ran before the box was closed')
            self.desktop.focus(box)
            self.desktop.key('Return')
            self.assertEqual(second.wait(15), 0)
            self.assertEqual(probe.wait_args(1), [['two']])
            self.assertTrue(self.desktop.wait_gone('^OK$', 5))
