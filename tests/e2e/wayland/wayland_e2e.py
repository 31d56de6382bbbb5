"""What a scenario needs on the Wayland desktop beyond veltrix_e2e: real key
presses through the virtual keyboard (wtype), the titles the compositor shows
(sway's tree), and the clipboard as another Wayland client sees it."""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from veltrix_e2e import Deadline, Program, run, wait_for  # noqa: E402,F401

WTYPE_MODIFIERS = {"ctrl": "ctrl", "shift": "shift", "alt": "alt", "super": "logo"}


def key(*names):
    """Presses keys, named as xdotool names them ("ctrl+s", "F9"), on the
    focused window."""
    for name in names:
        *modifiers, last = name.split("+")
        argv = ["wtype"]
        for modifier in modifiers:
            argv += ["-M", WTYPE_MODIFIERS[modifier.lower()]]
        argv += ["-k", last]
        for modifier in reversed(modifiers):
            argv += ["-m", WTYPE_MODIFIERS[modifier.lower()]]
        run(argv)


def type_text(text):
    run(["wtype", "-d", "20", "--", text])


def _windows(node):
    if node.get("type") in ("con", "floating_con") and node.get("pid"):
        yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from _windows(child)


def windows(program):
    """The program's windows the compositor shows: title -> whether focused."""
    tree = json.loads(run(["swaymsg", "-r", "-t", "get_tree"]))
    return {node.get("name"): node.get("focused", False) for node in _windows(tree)
            if node["pid"] == program.process.pid and node.get("visible", True)}


def wait_title(program, title, seconds=10):
    return wait_for(lambda: title in windows(program), f"a window titled {title!r}", seconds)


def wait_focused(program, title, seconds=10):
    """Keys go to the focused window: wait until it is this one."""
    try:
        return wait_for(lambda: windows(program).get(title), f"the window {title!r} focused", seconds)
    except Deadline as failure:
        raise Deadline(f"{failure}; shown: {windows(program)}")


def main_window(program):
    """The main window, once it is shown and has the keyboard focus."""
    frame = program.window("Veltrix 3.0")
    wait_focused(program, "Veltrix 3.0")
    return frame


def clipboard():
    return run(["wl-paste", "--no-newline"], check=False)


class Copied:
    """Text another Wayland client holds on the clipboard while it lives."""

    def __init__(self, text):
        self.process = subprocess.Popen(["wl-copy", "--foreground", "--", text], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        wait_for(lambda: clipboard() == text, "the other client's text on the clipboard")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait(timeout=10)
        return False
