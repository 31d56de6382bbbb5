"""A first start on a Wayland desktop with no tray, with an argument: the
interface is English and the window stays on the screen, as there is no tray
to come back from; F9 switches to Russian (the second press: the Russian
interface box starts ticked whatever the language) and the choice is kept."""

import pyatspi
from wayland_e2e import Program, main_window, key, type_text, wait_focused, wait_for, windows
from veltrix_e2e import editor, find, text_of


def main():
    with Program(args=["to-tray"]) as program:
        frame = main_window(program)
        find(frame, pyatspi.ROLE_MENU_ITEM, "File")
        type_text("typed")
        wait_for(lambda: text_of(editor(frame)) == "typed", "the typed text")
        assert "Veltrix 3.0" in windows(program), windows(program)
        key("F9", "F9")
        find(frame, pyatspi.ROLE_MENU_ITEM, "Файл")
        key("Escape")  # Exit, then no to saving the typed text
        wait_focused(program, "Warning")
        key("n")
        wait_focused(program, "Confirm")
        key("n")
        assert program.wait_exit() == 0
        assert "Lang=0" in program.settings(), program.settings()


main()
