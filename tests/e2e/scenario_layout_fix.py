"""A user with the US and Russian keyboard layouts types a Russian greeting
with the US layout active and presses Pause: "Привет, мир!" comes out and the
Russian layout is active; Pause again brings back what was typed. And the
reverse, English typed with the Russian layout. On a desktop whose Russian layout is the
phonetic one, the keys of that layout are followed. The text is read as a
screen reader reads it, the active layout from the X server."""

import ctypes

from veltrix_e2e import Program, descendants, editor, key, run, text_of, type_text, wait_for
import pyatspi

XKB_USE_CORE_KBD = 0x0100
US, RUSSIAN = 0, 1  # the XKB groups of "us,ru"


class XkbState(ctypes.Structure):
    _fields_ = [("group", ctypes.c_ubyte), ("locked_group", ctypes.c_ubyte), ("base_group", ctypes.c_ushort),
                ("latched_group", ctypes.c_ushort), ("mods", ctypes.c_ubyte), ("base_mods", ctypes.c_ubyte),
                ("latched_mods", ctypes.c_ubyte), ("locked_mods", ctypes.c_ubyte), ("compat_state", ctypes.c_ubyte),
                ("grab_mods", ctypes.c_ubyte), ("compat_grab_mods", ctypes.c_ubyte), ("lookup_mods", ctypes.c_ubyte),
                ("compat_lookup_mods", ctypes.c_ubyte), ("ptr_buttons", ctypes.c_ushort)]


class Keyboard:
    """The X server's keyboard, asked for its active layout group."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XkbGetState.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.POINTER(XkbState)]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(None)
        assert self.display, "no X display"

    def group(self):
        state = XkbState()
        assert self.x11.XkbGetState(self.display, XKB_USE_CORE_KBD, ctypes.byref(state)) == 0
        return state.group

    def close(self):
        self.x11.XCloseDisplay(self.display)


def layout_panel(frame):
    names = [label.name for bar in descendants(frame, pyatspi.ROLE_STATUS_BAR)
             for label in descendants(bar, pyatspi.ROLE_LABEL)]
    return next((name for name in names if name in ("RUS.", "ENG.")), None)


def started(program, keyboard):
    """The main window's editor, once it has the keyboard focus and the
    program has made the Russian layout active."""
    frame = program.window("Veltrix 3.0")
    program.wait_x_title("Veltrix 3.0")
    text = editor(frame)
    wait_for(lambda: text.getState().contains(pyatspi.STATE_FOCUSED), "the keyboard focus in the editor")
    wait_for(lambda: keyboard.group() == RUSSIAN, "the Russian layout active at start")
    return frame, text


def standard_layouts(keyboard):
    run(["setxkbmap", "-layout", "us,ru"])  # before the start: the program reads the layouts once
    with Program() as program:
        frame, text = started(program, keyboard)

        def expect(wanted, group, panel):
            wait_for(lambda: text_of(text) == wanted, f"the text {wanted!r} (it is {text_of(text)!r})")
            wait_for(lambda: keyboard.group() == group, f"layout group {group}")
            wait_for(lambda: layout_panel(frame) == panel, f"panel 4 reading {panel}")

        # The key E as the Russian layout gives it, as a user's key press
        # does: xdotool, asked for a letter of another group, switches the
        # group to press it and back after, undoing the program's switch.
        key("ctrl+alt+Cyrillic_u")
        wait_for(lambda: keyboard.group() == US, "the US layout")
        type_text("Ghbdtn? vbh!")
        wait_for(lambda: text_of(text) == "Ghbdtn? vbh!", "the typed text")

        key("Pause")  # nothing selected: the words typed in the wrong layout
        expect("Привет, мир!", RUSSIAN, "RUS.")
        key("Pause")  # the result stayed selected: back as typed
        expect("Ghbdtn? vbh!", US, "ENG.")
        key("End", "Pause")
        expect("Привет, мир!", RUSSIAN, "RUS.")

        # The reverse: English typed with the Russian layout active.
        key("ctrl+a", "Delete")
        wait_for(lambda: text_of(text) == "", "an empty text")
        type_text("руддщ цщкдв")
        wait_for(lambda: text_of(text) == "руддщ цщкдв", "the typed text")
        key("Pause")
        expect("hello world", US, "ENG.")


def phonetic_layout(keyboard):
    run(["setxkbmap", "-layout", "us,ru", "-variant", ",phonetic"])
    with Program() as program:
        _, text = started(program, keyboard)
        key("ctrl+alt+Cyrillic_ie")  # the key E of the phonetic layout
        wait_for(lambda: keyboard.group() == US, "the US layout")
        type_text("Priwet, mir!")
        wait_for(lambda: text_of(text) == "Priwet, mir!", "the typed text")
        key("shift+Home", "Pause")
        wait_for(lambda: text_of(text) == "Привет, мир!", f"the phonetic conversion (it is {text_of(text)!r})")
        wait_for(lambda: keyboard.group() == RUSSIAN, "the Russian layout")


def main():
    keyboard = Keyboard()
    try:
        standard_layouts(keyboard)
        phonetic_layout(keyboard)
    finally:
        keyboard.close()


main()
