# A drag source speaking the X drag-and-drop protocol (XDND), as a file manager does
# when a person drags files onto a window: it offers the files as text/uri-list and
# drops them at a point of the screen, without moving the pointer.
import os
import select
import sys
import time
import urllib.parse

try:
    import Xlib  # noqa: F401
except ImportError:
    # Debian's python3-xlib lives in the system's dist-packages, which a python3 of
    # another installation (pyenv, a virtual environment) does not search.
    sys.path.append('/usr/lib/python3/dist-packages')
from Xlib import X, Xatom, display as xdisplay
from Xlib.protocol import event

XDND_VERSION = 5
URI_LIST = 'text/uri-list'


class XdndError(Exception):
    pass


def uri_list(paths):
    """The text/uri-list of the files: one file:// URI a line, each line ending in CR LF."""
    return b''.join(b'file://' + urllib.parse.quote(os.path.abspath(p)).encode() + b'\r\n'
                    for p in paths)


class XdndSource:
    """One drag source on an X display; drop() runs a whole drag, close() frees it."""

    def __init__(self, display_name):
        self.display = xdisplay.Display(display_name)
        self.root = self.display.screen().root
        # The source's window only names the drag and owns the selection: never mapped.
        self.window = self.root.create_window(0, 0, 1, 1, 0, 0, window_class=X.InputOnly)
        self.atom = {name: self.display.intern_atom(name) for name in (
            'XdndAware', 'XdndSelection', 'XdndEnter', 'XdndPosition', 'XdndStatus',
            'XdndLeave', 'XdndDrop', 'XdndFinished', 'XdndActionCopy', 'TARGETS', URI_LIST)}
        self.data = b''

    def close(self):
        # With its owner gone, XdndSelection has no owner any more.
        self.window.destroy()
        self.display.close()

    # --- the target ------------------------------------------------------------------

    def target_at(self, x, y):
        """(window, XDND version) of the XDND-aware window under the root point, or None.

        Goes down from the root through the topmost viewable window containing the point
        at each level, until a window carries XdndAware."""
        parent, origin_x, origin_y = self.root, 0, 0
        while True:
            under = None
            for child in reversed(parent.query_tree().children):  # top of the stack first
                if child.get_attributes().map_state != X.IsViewable:
                    continue
                g = child.get_geometry()
                left, top = origin_x + g.x, origin_y + g.y
                if (left <= x < left + g.width + 2 * g.border_width and
                        top <= y < top + g.height + 2 * g.border_width):
                    under = child
                    break
            if under is None:
                return None
            aware = under.get_full_property(self.atom['XdndAware'], Xatom.ATOM)
            if aware is not None and aware.value:
                return under, min(int(aware.value[0]), XDND_VERSION)
            parent = under
            origin_x, origin_y = left + g.border_width, top + g.border_width

    # --- the drag ----------------------------------------------------------------------

    def drop(self, x, y, paths, timeout=10):
        """Drags the files to root point (x, y) and drops them there.

        Returns True when the target reports the drop done (XdndFinished). Raises XdndError
        when no aware window is there, the target refuses the files, or does not answer
        within timeout seconds."""
        found = self.target_at(x, y)
        if found is None:
            raise XdndError(f'no XdndAware window at ({x}, {y})')
        target, version = found
        self.data = uri_list(paths)
        self.window.set_selection_owner(self.atom['XdndSelection'], X.CurrentTime)
        if self.display.get_selection_owner(self.atom['XdndSelection']).id != self.window.id:
            raise XdndError('could not own XdndSelection')
        deadline = time.monotonic() + timeout
        self.send(target, 'XdndEnter', [version << 24, self.atom[URI_LIST], 0, 0])
        self.send(target, 'XdndPosition',
                  [0, (x << 16) | y, X.CurrentTime, self.atom['XdndActionCopy']])
        status = self.wait_message(target, 'XdndStatus', deadline)
        if not status[1] & 1:
            self.send(target, 'XdndLeave', [0, 0, 0, 0])
            raise XdndError(f'window 0x{target.id:x} refuses the drop at ({x}, {y})')
        self.send(target, 'XdndDrop', [0, X.CurrentTime, 0, 0])
        finished = self.wait_message(target, 'XdndFinished', deadline)
        # Before version 5 XdndFinished carries no result: finishing is success.
        return version < 5 or bool(finished[1] & 1)

    def send(self, target, name, rest):
        """Sends the XDND client message `name` with the source window and four more longs."""
        message = event.ClientMessage(window=target, client_type=self.atom[name],
                                      data=(32, [self.window.id] + rest))
        target.send_event(message, event_mask=0)
        self.display.flush()

    def wait_message(self, target, name, deadline):
        """Handles events until the target's client message `name` comes; its longs."""
        while True:
            while self.display.pending_events():
                e = self.display.next_event()
                if e.type == X.SelectionRequest:
                    self.answer(e)
                elif (e.type == X.ClientMessage and e.client_type == self.atom[name] and
                      e.data[1][0] == target.id):
                    return e.data[1]
            left = deadline - time.monotonic()
            if left <= 0:
                raise XdndError(f'no {name} from window 0x{target.id:x} in time')
            select.select([self.display], [], [], left)

    def answer(self, request):
        """Gives the file list to a target that asks for the selection as text/uri-list
        (or asks which forms there are); refuses any other form."""
        prop = request.property or request.target  # an obsolete requestor names none
        if request.selection != self.atom['XdndSelection']:
            prop = X.NONE
        elif request.target == self.atom[URI_LIST]:
            request.requestor.change_property(prop, request.target, 8, self.data)
        elif request.target == self.atom['TARGETS']:
            request.requestor.change_property(prop, Xatom.ATOM, 32, [self.atom[URI_LIST]])
        else:
            prop = X.NONE
        reply = event.SelectionNotify(time=request.time, requestor=request.requestor,
                                      selection=request.selection, target=request.target,
                                      property=prop)
        request.requestor.send_event(reply, event_mask=0)
        self.display.flush()


def drop_files(display_name, x, y, paths, timeout=10):
    """One drag of the files onto root point (x, y) of the display; see XdndSource.drop."""
    source = XdndSource(display_name)
    try:
        return source.drop(x, y, paths, timeout)
    finally:
        source.close()
