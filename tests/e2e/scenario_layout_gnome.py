"""On GNOME, which lets no program switch the layout, panel 4 shows GNOME's
current input source, Ctrl+Alt+R says once that GNOME does not let programs
switch, and a switch the user makes in GNOME shows in the panel.

GNOME's input sources live in GSettings; here its keyfile backend keeps them
in the desktop's own config folder, so the scenario and the program share them
without a dconf service, with the schema of gsettings-desktop-schemas. The
scenario plays GNOME Shell, which writes the source it switched to first in
mru-sources."""

import os

os.environ["GSETTINGS_BACKEND"] = "keyfile"

from gi.repository import Gio, GLib  # noqa: E402

from veltrix_e2e import Program, descendants, editor, key, text_of, type_text, wait_for  # noqa: E402
import pyatspi  # noqa: E402

US, RUSSIAN = ("xkb", "us"), ("xkb", "ru")
REFUSAL = "This desktop does not let programs switch the keyboard layout. " \
          "Switch it with the desktop's own shortcut or its layout indicator."


def layout_panel(frame):
    names = [label.name for bar in descendants(frame, pyatspi.ROLE_STATUS_BAR)
             for label in descendants(bar, pyatspi.ROLE_LABEL)]
    return next((name for name in names if name in ("RUS.", "ENG.")), None)


def shell_switches_to(settings, source):
    """What GNOME Shell writes when the user switches input source."""
    others = [s for s in (US, RUSSIAN) if s != source]
    settings.set_value("mru-sources", GLib.Variant("a(ss)", [source, *others]))
    Gio.Settings.sync()


def main():
    settings = Gio.Settings.new("org.gnome.desktop.input-sources")
    settings.set_value("sources", GLib.Variant("a(ss)", [US, RUSSIAN]))
    shell_switches_to(settings, US)
    # NO_AT_BRIDGE: GTK, which Qt loads for GNOME's look, would put a second,
    # empty accessible application of the program's process on the bus.
    with Program(settings="[LANGUAGE]\nLang=1\n", env={"XDG_CURRENT_DESKTOP": "GNOME", "NO_AT_BRIDGE": "1"}) as program:
        frame = program.window("Veltrix 3.0")
        text = editor(frame)
        wait_for(lambda: text.getState().contains(pyatspi.STATE_FOCUSED), "the keyboard focus in the editor")
        # Not the Russian layout the program would have chosen: GNOME's.
        wait_for(lambda: layout_panel(frame) == "ENG.", f"panel 4 reading ENG. (it reads {layout_panel(frame)})")

        key("ctrl+alt+r")
        box = program.window("Veltrix 3.0", role=pyatspi.ROLE_ALERT)
        labels = lambda: [label.name for label in descendants(box, pyatspi.ROLE_LABEL)]  # noqa: E731
        wait_for(lambda: REFUSAL in labels(), f"the refusal, not {labels()}")
        key("Return")
        wait_for(lambda: not box.getState().contains(pyatspi.STATE_SHOWING), "the message to close")
        assert layout_panel(frame) == "ENG.", layout_panel(frame)

        # Once only: with no message in the way, what is typed next reaches the text.
        wait_for(lambda: text.getState().contains(pyatspi.STATE_FOCUSED), "the focus back in the editor")
        key("ctrl+alt+r")
        type_text("x")
        wait_for(lambda: text_of(text) == "x", f"the typed text in the editor (it is {text_of(text)!r})")

        shell_switches_to(settings, RUSSIAN)
        wait_for(lambda: layout_panel(frame) == "RUS.", "panel 4 following GNOME to RUS.")


main()
