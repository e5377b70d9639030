# The item editors under real input: the command editor that #303 opens from the
# launcher box adds a command that runs at once and is saved at exit; the account
# editor refuses OK while the password is empty or the port is out of range, and
# keeps the security chosen from its list; the launcher item dialog previews
# the icon of the program that a typed command name stands for. The account and
# item editors are opened by editor_host.exe (tests/programs) with the
# program's own dialogs, as the options dialog will open them.
import os
import shutil
import sys

from geometry import CLOSED, OPEN
from probe import Probe
from wine import WIN64_BIN, WineProcess
from vesmira_case import COMMAND_EDITOR, VesmiraCase

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', '..', 'resources'))
import make_images  # noqa: E402  the program's icon, drawn as the build draws it

EDITOR_HOST = os.path.join(WIN64_BIN, 'editor_host.exe')


def icon_at(image, left, top, icon):
    """True when the opaque pixels of `icon` (a make_images canvas) are on the screen
    with the icon's top-left corner at (left, top)."""
    for y, row in enumerate(icon.pixels):
        for x, colour in enumerate(row):
            if colour is not None and image.pixel(left + x, top + y) != colour:
                return False
    return True


def find_icon(image, area, icon):
    """Top-left corner of `icon` inside area = (left, top, right, bottom), or None."""
    left, top, right, bottom = area
    first = next((x, y, c) for y, row in enumerate(icon.pixels)
                 for x, c in enumerate(row) if c is not None)
    for y in range(max(top, 0), min(bottom, image.height) - icon.height + 1):
        for x in range(max(left, 0), min(right, image.width) - icon.width + 1):
            if image.pixel(x + first[0], y + first[1]) == first[2] and \
                    icon_at(image, x, y, icon):
                return (x, y)
    return None


class ItemEditors(VesmiraCase):
    def start_editor_host(self, title, *args):
        """Starts editor_host.exe with args; (process, the editor window titled `title`)."""
        shutil.copy(EDITOR_HOST, self.folder)
        return self.start_with_window(lambda: self.start_program('editor_host.exe', *args), title)

    def start_program(self, name, *args):
        process = WineProcess(self.path(name), list(args), self.folder, self.desktop.display,
                              os.path.join(self.shots, 'wine.log'))
        self.addCleanup(process.kill)
        return process

    def editor_out(self, process):
        self.assertEqual(process.wait(20), 0, 'the editor host did not end')
        return self.read('editor_out.txt').decode('cp932').split('\n')

    def test_add_command_from_the_launcher_box(self):
        probe = Probe(self)
        self.write_commands([])
        process, window = self.start_main_window()
        self.toggle_launcher(window, OPEN)
        self.click_edit_field(window)
        self.desktop.type_text('#303')
        self.desktop.key('Return')
        self.fill_command_editor(probe.windows_path, 'added note', 'hako')
        self.desktop.screenshot('command-editor')
        self.desktop.key('Return')
        self.assertTrue(self.desktop.wait_gone(COMMAND_EDITOR, 5),
                        'OK left the command editor open')
        self.desktop.wait_geometry(window, lambda g: g[2] == CLOSED, timeout=10)

        self.toggle_launcher(window, OPEN)
        self.click_edit_field(window)
        self.desktop.type_text('hako word')
        self.desktop.key('Return')
        self.assertEqual(probe.wait_args(1), [['word']])
        self.desktop.wait_geometry(window, lambda g: g[2] == CLOSED, timeout=10)
        self.close_with_button(process, window)
        self.assertIn(f'hako\t{probe.windows_path}\tadded note\r\n'.encode('cp932'),
                      self.read('vsmrcmd.dat'))

    def test_account_editor_refuses_an_empty_password_and_a_bad_port(self):
        title = '^メール個別設定$'
        process, editor = self.start_editor_host(title, 'account')
        self.desktop.focus(editor)
        self.desktop.type_text('pop.example')  # the server field has the focus
        self.desktop.key('Tab')
        self.desktop.type_text('taro')
        self.desktop.key('Return')
        warning = self.desktop.wait_window('^注意$', timeout=10)
        self.assertIsNotNone(warning, 'OK with an empty password showed no warning')
        self.desktop.screenshot('password-warning')
        self.assertTrue(process.running() and self.desktop.find_windows(title),
                        'the editor closed although the password is empty')
        self.desktop.focus(warning)
        self.desktop.key('Return')
        self.assertTrue(self.desktop.wait_gone('^注意$', 5))
        self.desktop.focus(editor)
        self.desktop.key('Tab')  # from the user name to the password
        self.desktop.type_text('secret')
        self.desktop.key('Tab', 'Down', 'Tab')  # security: the second choice, SSL/TLS
        self.desktop.type_text('99999')
        self.desktop.screenshot('account-editor')
        self.desktop.key('Return')
        warning = self.desktop.wait_window('^注意$', timeout=10)
        self.assertIsNotNone(warning, 'OK with port 99999 showed no warning')
        self.desktop.screenshot('port-warning')
        self.desktop.focus(warning)
        self.desktop.key('Return')
        self.assertTrue(self.desktop.wait_gone('^注意$', 5))
        self.desktop.focus(editor)
        self.desktop.type_text('8995')  # the refused port is selected: typing replaces it
        self.desktop.key('Return')
        self.assertEqual(self.editor_out(process)[:7],
                         ['1', 'pop.example', 'taro', 'secret', '', '1', '8995'])

    def test_typed_command_name_previews_the_program_icon(self):
        self.write_commands([('vz', self.folder_windows + '\\vesmira.exe', 'the clock')])
        title = '^ボタンランチャーアイテム\\[3\\]$'
        process, editor = self.start_editor_host(title, 'item',
                                                 'C:\\windows\\system32\\shell32.dll', '3')
        x, y, width, height = self.desktop.geometry(editor)
        area = (x, y, x + width, y + height)
        icon = make_images.draw_icon(32, False)
        before = self.desktop.screenshot('opening-icon')
        self.assertIsNone(find_icon(before, area, icon), 'the program icon shows before typing')

        self.desktop.focus(editor)
        self.desktop.type_text('vz')
        shown = self.desktop.wait_screen('typed-name', lambda i: find_icon(i, area, icon))
        self.assertIsNotNone(find_icon(shown, area, icon),
                             f'no program icon in the dialog: {shown.path}')
        self.desktop.type_text(' more words')
        after = self.desktop.wait_screen('name-and-words', lambda i: find_icon(i, area, icon))
        self.assertIsNotNone(find_icon(after, area, icon), 'only the first word should count')

        self.desktop.key('Tab', 'Tab', 'Tab', 'Return')  # from the path to the comment, OK
        out = self.editor_out(process)
        self.assertEqual(out[:5], ['1', 'vz more words', self.folder_windows + '\\vesmira.exe',
                                   '0', ''])
