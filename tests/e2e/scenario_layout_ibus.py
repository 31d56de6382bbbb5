"""Where IBus owns the layouts, the layout commands switch IBus's global
engine: Ctrl+Alt+E and Ctrl+Alt+R choose its US and Russian xkb engines, and
panel 4 says which is active, also after the user switches with IBus itself.
A real ibus-daemon runs on this desktop's session, without its panel."""

import os
import subprocess

from veltrix_e2e import Program, descendants, key, run, wait_for
import pyatspi

ENGINES = "['xkb:us::eng', 'xkb:ru::rus']"


def layout_panel(frame):
    names = [label.name for bar in descendants(frame, pyatspi.ROLE_STATUS_BAR)
             for label in descendants(bar, pyatspi.ROLE_LABEL)]
    return next((name for name in names if name in ("RUS.", "ENG.")), None)


def engine():
    return run(["ibus", "engine"], check=False).strip()


def main():
    run(["gsettings", "set", "org.freedesktop.ibus.general", "preload-engines", ENGINES])
    daemon = subprocess.Popen(["ibus-daemon", "--panel=disable", "--emoji-extension=disable", "--config=disable"],
                              start_new_session=True)
    try:
        def daemon_answering():
            run(["ibus", "engine", "xkb:us::eng"], check=False)
            return engine() == "xkb:us::eng"
        wait_for(daemon_answering, "ibus-daemon answering")
        with Program(env={"XDG_CURRENT_DESKTOP": ""}) as program:
            frame = program.window("Veltrix 3.0")
            # At start: English, then Russian, as on any desktop.
            wait_for(lambda: engine() == "xkb:ru::rus", f"the Russian engine chosen at start (now {engine()})")
            wait_for(lambda: layout_panel(frame) == "RUS.", "panel 4 reading RUS.")

            key("ctrl+alt+e")
            wait_for(lambda: engine() == "xkb:us::eng", f"the US engine chosen (now {engine()})")
            wait_for(lambda: layout_panel(frame) == "ENG.", "panel 4 reading ENG.")

            # The user switches with IBus: the panel follows.
            run(["ibus", "engine", "xkb:ru::rus"])
            wait_for(lambda: layout_panel(frame) == "RUS.", "panel 4 following IBus to RUS.")
            key("ctrl+alt+e")
            wait_for(lambda: engine() == "xkb:us::eng", f"the US engine chosen again (now {engine()})")
    finally:
        daemon.terminate()
        daemon.wait(timeout=10)


main()
