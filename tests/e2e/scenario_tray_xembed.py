"""The tray round trip on an XEmbed tray (trayer): minimizing hides the window
to an icon; a double click brings it back; a single click opens the context
menu; windows closed while the main one is in the tray do not end the
program; the tray menu's Exit does, and the icon goes."""

TRAY = "xembed"

import time

import pyatspi
from desktop import Deadline
from veltrix_e2e import (Events, Program, center, click, find, item_path, key, menu_shown, minimize_to_tray, press,
                         run, wait_for)


def tray_icon(program):
    """Where the program's icon is, once the tray at the screen's bottom
    right has embedded it."""
    def look():
        for window in program.x_windows():
            geometry = run(["xdotool", "getwindowgeometry", "--shell", str(window)])
            values = dict(item.split("=") for item in geometry.split())
            x, y, width, height = (int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
            if x > 1000 and y > 900 and width < 64:
                return x + width // 2, y + height // 2
        return None
    return wait_for(look, "the icon in the XEmbed tray")


def to_tray(program):
    minimize_to_tray(program)
    return tray_icon(program)


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        program.window("Veltrix 3.0")
        x, y = to_tray(program)

        # A double click brings the window back, and opens no menu on the way.
        events = Events("object:state-changed:showing")
        click(x, y, repeat=2)
        program.window("Veltrix 3.0", role=pyatspi.ROLE_FRAME)
        time.sleep(1)  # longer than a double-click interval: a menu would be up by now
        try:
            menu_shown(events, seconds=0)
            raise AssertionError("a double click on the icon opened the menu")
        except Deadline:
            pass

        # The calculator and the About window closed while the main window is
        # in the tray: the program goes on.
        key("ctrl+F1")
        program.window("Calculator")
        x, y = to_tray(program)
        calculator = program.window("Calculator")
        click(*center(find(calculator, pyatspi.ROLE_PUSH_BUTTON, "/")))  # empty fields: an error box
        box = program.window("Veltrix 3.0", role=pyatspi.ROLE_ALERT)
        key("Return")
        wait_for(lambda: not box.getState().contains(pyatspi.STATE_SHOWING), "the error box to close")
        program.window("Calculator")
        key("alt+F4")
        wait_for(lambda: "Calculator" not in program.x_windows().values(), "the calculator to close")
        assert program.running(), "closing the calculator ended the program"

        # One click opens the context menu; its Exit ends the program.
        events = Events("object:state-changed:showing")
        click(x, y)
        menu = menu_shown(events)
        press(item_path(menu, "File", "Exit"))
        assert program.wait_exit() == 0
        assert "[FORM]" in program.settings(), program.settings()


main()
