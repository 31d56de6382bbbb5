"""A Russian user on a Wayland desktop: the program comes up as a Wayland
client, the compositor shows its titles; typed text is saved through the
Save As dialog and opened again; F9 switches the interface to English; Pause
turns text typed in the wrong layout into Russian; the clipboard works both
ways with another Wayland client; the settings are written at exit, with no
made-up window position."""

import os

import pyatspi
from wayland_e2e import Copied, Program, main_window, clipboard, key, type_text, wait_focused, wait_for, wait_title
from veltrix_e2e import editor, find, text_of


def main():
    folder = os.path.join(os.environ["HOME"], "docs")
    os.mkdir(folder)
    path = os.path.join(folder, "note.txt")
    with Program(settings="[LANGUAGE]\nLang=0\n") as program:
        frame = main_window(program)
        find(frame, pyatspi.ROLE_MENU_ITEM, "Файл")
        type_text("Ghbdtn? vbh!")
        wait_for(lambda: text_of(editor(frame)) == "Ghbdtn? vbh!", "the typed text")
        key("Pause")
        wait_for(lambda: text_of(editor(frame)) == "Привет, мир!", "the text put into the Russian layout")

        key("ctrl+s")  # never saved: Save As
        wait_focused(program, "Save As")
        type_text(path)
        key("Return")
        wait_title(program, "note.txt - Veltrix 3.0")
        with open(path, "rb") as file:
            assert file.read().decode("cp1251") == "Привет, мир!", "the saved text"

        key("F9")
        find(frame, pyatspi.ROLE_MENU_ITEM, "File")

        # From another client into the text, and back out.
        with Copied(" и ещё"):
            key("End", "ctrl+v")
            wait_for(lambda: text_of(editor(frame)) == "Привет, мир! и ещё", "the pasted text")
        key("ctrl+a", "ctrl+c")
        wait_for(lambda: clipboard() == "Привет, мир! и ещё", "the copied text for another client")

        key("ctrl+s")
        wait_for(lambda: open(path, "rb").read().decode("cp1251") == "Привет, мир! и ещё", "the text saved again")
        key("ctrl+a", "Delete", "ctrl+o")
        wait_focused(program, "Confirm")
        key("n")  # the emptied text is not wanted
        wait_focused(program, "Open")
        type_text(path)
        key("Return")
        wait_for(lambda: text_of(editor(frame)) == "Привет, мир! и ещё", "the file opened again")
        wait_title(program, "note.txt - Veltrix 3.0")

        key("Escape")  # Exit: nothing modified since the open
        assert program.wait_exit() == 0
        settings = program.settings()
        assert "Lang=1" in settings and f"OpenFile={path}" in settings, settings
        # The size is the window's; where it is, only the compositor knows.
        assert "Width=" in settings and "Left=" not in settings, settings


main()
