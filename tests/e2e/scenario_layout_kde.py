"""On KDE Plasma the layout commands switch through Plasma's keyboard service:
Ctrl+Alt+E and Ctrl+Alt+R ask it for the US and the Russian layout, and
panel 4 says which is active, also after the user switches with Plasma's own
key. Plasma is played by a stand-in on the session bus that records what it
was asked."""

import os
import subprocess
import sys

from veltrix_e2e import Program, descendants, key, run, wait_for
import pyatspi

HERE = os.path.dirname(os.path.abspath(__file__))


def layout_panel(frame):
    names = [label.name for bar in descendants(frame, pyatspi.ROLE_STATUS_BAR)
             for label in descendants(bar, pyatspi.ROLE_LABEL)]
    return next((name for name in names if name in ("RUS.", "ENG.")), None)


def service_running():
    reply = run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                 "org.freedesktop.DBus.NameHasOwner", "string:org.kde.keyboard"], check=False)
    return "boolean true" in reply


def main():
    record = os.path.join(os.getcwd(), "set-layout.txt")
    open(record, "w").close()
    plasma = subprocess.Popen([sys.executable, os.path.join(HERE, "kde_keyboard.py"), record],
                              start_new_session=True)
    try:
        wait_for(service_running, "the keyboard service on the bus")
        asked = lambda: open(record).read().split()  # noqa: E731
        with Program(env={"XDG_CURRENT_DESKTOP": "KDE"}) as program:
            frame = program.window("Veltrix 3.0")
            # At start: English, then Russian, as on any desktop.
            wait_for(lambda: asked() == ["0", "1"], f"US then Russian asked at start (asked {asked()})")
            wait_for(lambda: layout_panel(frame) == "RUS.", "panel 4 reading RUS.")

            key("ctrl+alt+e")
            wait_for(lambda: asked()[-1:] == ["0"], f"the US layout asked (asked {asked()})")
            wait_for(lambda: layout_panel(frame) == "ENG.", "panel 4 reading ENG.")
            key("ctrl+alt+r")
            wait_for(lambda: asked()[-1:] == ["1"], f"the Russian layout asked (asked {asked()})")
            wait_for(lambda: layout_panel(frame) == "RUS.", "panel 4 reading RUS.")

            # The user switches with Plasma's key: the panel follows, nothing is asked.
            run(["dbus-send", "--session", "--print-reply", "--dest=org.kde.keyboard", "/Layouts",
                 "org.veltrix.e2e.Keyboard.userSwitch", "uint32:0"])
            wait_for(lambda: layout_panel(frame) == "ENG.", "panel 4 following Plasma to ENG.")
            assert len(asked()) == 4, f"asked {asked()}"
    finally:
        plasma.terminate()
        plasma.wait(timeout=10)


main()
