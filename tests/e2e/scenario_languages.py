"""A new user starts the program in Russian, types, reads the status bar as
a screen reader does, switches to English with F9, and exits without
saving: every window titled exactly as it should be, the settings written."""

from veltrix_e2e import Program, descendants, editor, find, key, text_of, type_text, wait_for
import pyatspi


def panel_names(frame):
    return [label.name for bar in descendants(frame, pyatspi.ROLE_STATUS_BAR)
            for label in descendants(bar, pyatspi.ROLE_LABEL)]


def main():
    with Program(settings="[LANGUAGE]\nLang=0\n") as program:
        frame = program.window("Veltrix 3.0")
        program.wait_x_title("Veltrix 3.0")
        find(frame, pyatspi.ROLE_MENU_ITEM, "Файл")

        type_text("abc")
        wait_for(lambda: text_of(editor(frame)).startswith("abc"), "the typed text in the editor")
        # The status panels speak their texts, and follow every change.
        wait_for(lambda: "Стр:   1   Кол:   4" in panel_names(frame), "the caret panel's name")
        wait_for(lambda: "Изменён" in panel_names(frame), "the modified panel's name")
        assert not any(name.startswith("Panel ") for name in panel_names(frame)), panel_names(frame)

        key("F9")
        find(frame, pyatspi.ROLE_MENU_ITEM, "File")
        key("Escape")  # Exit
        # The exit prompt, then the close prompt: the window manager shows
        # each dialog's own title and nothing more.
        program.window("Warning")
        program.wait_x_title("Warning")
        key("n")
        program.window("Confirm")
        program.wait_x_title("Confirm")
        key("n")  # No: close without saving
        program.wait_exit()
        settings = program.settings()
        assert "Lang=1" in settings, settings
        assert "[FORM]" in settings and "Width=" in settings, settings


main()
