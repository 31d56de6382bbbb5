"""One window per file: a file opened from the command line that a running
copy already has open brings that copy's window to the front, also from the
tray, and the new copy ends without a window. The file is in the desktop's
recent files."""

TRAY = "xembed"

import os
import signal
import subprocess
import tempfile
import urllib.parse
import xml.etree.ElementTree as ElementTree

from veltrix_e2e import Program, key, run, wait_for

TITLE = "my letter.rtf - Veltrix 3.0"
BOOKMARK = "{http://www.freedesktop.org/standards/desktop-bookmarks}"


def active_window():
    return int(run(["xdotool", "getactivewindow"], check=False).strip() or 0)


def open_again(letter):
    """The same file from the command line, as a file manager opens it."""
    with Program(args=[letter]) as second:
        assert second.wait_exit(seconds=20) == 0, second.output()


def recent_entry(letter):
    path = os.path.join(os.environ["HOME"], ".local", "share", "recently-used.xbel")
    href = "file://" + urllib.parse.quote(letter)
    for bookmark in ElementTree.parse(path).getroot().iter("bookmark"):
        if bookmark.get("href") == href:
            return bookmark
    raise AssertionError(f"no bookmark for {href} in {open(path).read()}")


def main():
    home = tempfile.mkdtemp(prefix="veltrix-one-window-")
    letter = os.path.join(home, "my letter.rtf")
    with open(letter, "w", encoding="ascii") as file:
        file.write("{\\rtf1\\ansi Dear reader\\par}")

    with Program(settings="[LANGUAGE]\nLang=1\n", args=[letter]) as first:
        first.window(TITLE, seconds=20)
        window = wait_for(lambda: [w for w, t in first.x_windows().items() if t == TITLE], "the window")[0]
        wait_for(lambda: active_window() == window, "the window to be active")

        # Another program has the focus; the second copy brings the first forward.
        other = subprocess.Popen(["xlogo"], start_new_session=True)
        try:
            wait_for(lambda: active_window() not in (0, window), "the other program to take the focus")
            open_again(letter)
            wait_for(lambda: active_window() == window, "the first copy's window to be active", seconds=10)
        finally:
            os.killpg(other.pid, signal.SIGTERM)
            other.wait()

        # Hidden in the tray, it is shown and active again.
        run(["xdotool", "windowminimize", str(window)])
        wait_for(lambda: window not in first.x_windows(), "the window to go to the tray")
        open_again(letter)
        wait_for(lambda: window in first.x_windows(), "the window back from the tray")
        wait_for(lambda: active_window() == window, "the window back from the tray to be active")
        assert first.running()

        bookmark = recent_entry(letter)
        application = bookmark.find(f"info/metadata/{BOOKMARK}applications/{BOOKMARK}application[@name='veltrix']")
        assert application is not None and application.get("exec") == "veltrix %u", ElementTree.tostring(bookmark)
        assert bookmark.get("added") and bookmark.get("modified") and bookmark.get("visited")

        key("Escape")  # Exit: nothing modified
        assert first.wait_exit() == 0


main()
