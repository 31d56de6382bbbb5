"""What a scenario needs to use the real program on the private desktop:
start it from a fresh folder, press keys and click through XTest, and read
what a screen reader reads over AT-SPI. Scenarios run inside the desktop's
environment (run.py starts them), so pyatspi reaches its accessibility bus."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Deadline, wait_for  # noqa: E402

import pyatspi  # noqa: E402

PROGRAM = os.environ["VELTRIX_PROGRAM"]


def run(argv, check=True):
    result = subprocess.run(argv, capture_output=True, text=True, timeout=30)
    if check and result.returncode != 0:
        raise RuntimeError(f"{argv[0]} failed: {result.stderr.strip()}")
    return result.stdout


def key(*names):
    """Presses keys on whatever window has the focus, as a user does."""
    for name in names:
        run(["xdotool", "key", "--clearmodifiers", name])


def type_text(text):
    run(["xdotool", "type", "--delay", "20", text])


def click(x, y, button=1, repeat=1):
    run(["xdotool", "mousemove", "--sync", str(x), str(y)])
    run(["xdotool", "click", "--repeat", str(repeat), "--delay", "80", str(button)])


def window_title(window_id):
    out = run(["xprop", "-id", str(window_id), "_NET_WM_NAME"])
    # _NET_WM_NAME(UTF8_STRING) = "title"
    value = out.split("=", 1)[1].strip()
    return value[1:-1].encode("latin-1", "backslashreplace").decode("unicode_escape").encode("latin-1").decode("utf-8")


class Events:
    """What a screen reader hears: AT-SPI events of the given kinds, kept from
    the moment this listener is made."""

    def __init__(self, *kinds):
        from gi.repository import GLib
        self._context = GLib.MainContext.default()
        self.heard = []
        self._kinds = kinds
        pyatspi.Registry.registerEventListener(self._hear, *kinds)

    def _hear(self, event):
        try:
            self.heard.append((event.type, event.detail1, event.source, event.source.getRole(), event.source.name))
        except Exception:  # the source may be gone already
            pass

    def wait(self, matches, what, seconds=10):
        """The source of the first event heard for which matches(type, detail1,
        role, name) holds."""
        def look():
            while self._context.iteration(False):
                pass
            for kind, detail, source, role, name in self.heard:
                if matches(kind, detail, role, name):
                    return source
            return None
        return wait_for(look, what, seconds)

    def hear_pending(self, quiet_seconds=0.3):
        """Hears what has been sent so far, as a listener does that keeps up,
        until nothing more comes for quiet_seconds."""
        quiet_since = time.monotonic()
        while time.monotonic() - quiet_since < quiet_seconds:
            if self._context.iteration(False):
                quiet_since = time.monotonic()
            else:
                time.sleep(0.01)

    def close(self):
        pyatspi.Registry.deregisterEventListener(self._hear, *self._kinds)


def minimize_to_tray(program):
    """Minimizes the main window as the window manager does; returns once
    the window has left the screen."""
    window = wait_for(lambda: [w for w, t in program.x_windows().items() if t == "Veltrix 3.0"], "the main window")[0]
    run(["xdotool", "windowminimize", str(window)])
    wait_for(lambda: window not in program.x_windows(), "the window to leave the screen")


def menu_shown(events, seconds=10):
    """The popup menu that showed after the listener was made."""
    return events.wait(lambda kind, detail, role, name: kind == "object:state-changed:showing" and detail == 1
                       and role == pyatspi.ROLE_POPUP_MENU, "a popup menu to show", seconds)


def item_path(menu, *names):
    """A menu item reached through submenus by its captions."""
    item = None
    for name in names:
        item = find(menu, pyatspi.ROLE_MENU_ITEM, name)
        menu = item
    return item


def recording_opener(folder):
    """A stand-in for the desktop's xdg-open that notes what it was asked to
    open; returns the environment that puts it first, and the notes' path."""
    notes = os.path.join(folder, "opened.txt")
    script = os.path.join(folder, "xdg-open")
    with open(script, "w") as file:
        file.write(f'#!/bin/sh\necho "$@" >> "{notes}"\n')
    os.chmod(script, 0o755)
    return {"PATH": folder + os.pathsep + os.environ["PATH"]}, notes


class Program:
    """The program copied into a fresh folder of its own, with the settings
    file it is given beside it, started on the desktop."""

    def __init__(self, settings=None, args=(), env=None):
        self.folder = tempfile.mkdtemp(prefix="veltrix-run-")
        self.binary = os.path.join(self.folder, "veltrix")
        shutil.copy2(PROGRAM, self.binary)
        if settings is not None:
            with open(self.settings_path, "w", encoding="cp1251", newline="\r\n") as file:
                file.write(settings)
        self.log = open(os.path.join(self.folder, "output.log"), "w+")
        self.process = subprocess.Popen([self.binary, *args], cwd=self.folder, stdout=self.log,
                                        stderr=subprocess.STDOUT, start_new_session=True,
                                        env=dict(os.environ, **(env or {})))
        self._app = None

    @property
    def settings_path(self):
        return os.path.join(self.folder, "Veltrix.ini")

    def settings(self):
        if not os.path.exists(self.settings_path):
            return ""
        with open(self.settings_path, encoding="cp1251") as file:
            return file.read()

    def output(self):
        self.log.flush()
        self.log.seek(0)
        return self.log.read()

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, seconds=10):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            raise Deadline(f"the program still runs {seconds} s later")

    def close(self):
        if self.running():
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        self.log.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if exc[0] is not None:
            sys.stderr.write("--- program output ---\n" + self.output() + "\n")
        self.close()
        return False

    # AT-SPI

    def app(self):
        def find():
            desktop = pyatspi.Registry.getDesktop(0)
            for index in range(desktop.childCount):
                child = desktop.getChildAtIndex(index)
                if child is not None and child.get_process_id() == self.process.pid:
                    return child
            return None
        if self._app is None:
            self._app = wait_for(find, "the program on the accessibility bus", seconds=20)
        return self._app

    def windows(self):
        app = self.app()
        return [app.getChildAtIndex(i) for i in range(app.childCount)]

    def window(self, name, seconds=10, role=None):
        """A top-level window by its accessible name, once it is showing."""
        def find():
            for window in self.windows():
                if window is not None and window.name == name and (role is None or window.getRole() == role) and \
                        window.getState().contains(pyatspi.STATE_SHOWING):
                    return window
            return None
        return wait_for(find, f"a window named {name!r}", seconds)

    def x_windows(self):
        """The program's mapped X windows and the titles the window manager has."""
        out = run(["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)], check=False)
        return {int(w): window_title(w) for w in out.split()}

    def wait_x_title(self, title, seconds=10):
        return wait_for(lambda: title in self.x_windows().values(), f"an X window titled {title!r}", seconds)


def descendants(root, role=None, name=None):
    def match(acc):
        return (role is None or acc.getRole() == role) and (name is None or acc.name == name)
    return pyatspi.findAllDescendants(root, match)


def find(root, role=None, name=None, seconds=10):
    def look():
        found = descendants(root, role, name)
        return found[0] if found else None
    return wait_for(look, f"a {role or 'descendant'} named {name!r}", seconds)


def editor(frame):
    """The document's editor: the one multi-line text in the window."""
    def look():
        found = [t for t in descendants(frame, pyatspi.ROLE_TEXT) if t.getState().contains(pyatspi.STATE_MULTI_LINE)]
        return found[0] if found else None
    return wait_for(look, "the editor")


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


def press(accessible, action_name="Press"):
    action = accessible.queryAction()
    for index in range(action.nActions):
        if action.getName(index) == action_name:
            return action.doAction(index)
    names = [action.getName(i) for i in range(action.nActions)]
    raise AssertionError(f"{accessible.name!r} offers no {action_name!r}, only {names}")


def screen_pixel(x, y):
    """The colour (r, g, b) shown on the screen at x, y, from a dump of the
    root window (XWD: a big-endian header, then the pixels)."""
    import struct
    data = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, timeout=30, check=True).stdout
    header = struct.unpack(">25I", data[:100])
    header_size, bits_per_pixel, bytes_per_line, ncolors = header[0], header[11], header[12], header[19]
    byte_order = header[7]
    size = bits_per_pixel // 8
    assert size in (3, 4), f"{bits_per_pixel} bits per pixel"
    start = header_size + ncolors * 12 + y * bytes_per_line + x * size
    pixel = int.from_bytes(data[start:start + size], "little" if byte_order == 0 else "big")
    return (pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF


def center(accessible):
    component = accessible.queryComponent()
    x, y, w, h = component.getExtents(pyatspi.DESKTOP_COORDS)
    return x + w // 2, y + h // 2


# The StatusNotifierItem tray: the items its watcher holds, and a call of one.
def registered_items():
    out = run(["dbus-send", "--session", "--print-reply", "--dest=org.kde.StatusNotifierWatcher",
               "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties.Get",
               "string:org.kde.StatusNotifierWatcher", "string:RegisteredStatusNotifierItems"])
    return [line.split('"')[1] for line in out.splitlines() if line.strip().startswith("string ")]


def call_item(service, method):
    run(["dbus-send", "--session", "--print-reply", f"--dest={service}", "/StatusNotifierItem",
         f"org.kde.StatusNotifierItem.{method}", "int32:600", "int32:500"])


def exit_from_tray_menu(program, item):
    """Exit from the item's context menu: the program ends, the item leaves
    the tray and the settings are written."""
    events = Events("object:state-changed:showing")
    call_item(item, "ContextMenu")
    press(item_path(menu_shown(events), "File", "Exit"))
    assert program.wait_exit() == 0
    wait_for(lambda: not registered_items(), "the item to leave the tray")
    assert "[FORM]" in program.settings(), program.settings()
