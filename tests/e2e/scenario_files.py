"""Type, open, edit, save as, open again, exit: Open asks before it replaces
typed text, the title names each file, the modified marker waits for the
first edit, a screen reader hears that the text was replaced, and the next
Open starts in the folder last browsed."""

import os
import tempfile

import pyatspi
from veltrix_e2e import Events, Program, descendants, editor, key, text_of, type_text, wait_for


def panel_names(frame):
    return [label.name for bar in descendants(frame, pyatspi.ROLE_STATUS_BAR)
            for label in descendants(bar, pyatspi.ROLE_LABEL)]


def write(path, text):
    with open(path, "wb") as file:
        file.write(text.encode("cp1251"))


def choose_file(program, dialog_title, path):
    wait_for(lambda: dialog_title in program.x_windows().values(), f"the {dialog_title} dialog")
    type_text(path)
    key("Return")


def main():
    home = tempfile.mkdtemp(prefix="veltrix-files-")
    a, b = os.path.join(home, "A"), os.path.join(home, "B")
    os.mkdir(a)
    os.mkdir(b)
    write(os.path.join(a, "first.txt"), "Привет из A\r\n")
    write(os.path.join(a, "same.txt"), "same in A\r\n")
    write(os.path.join(b, "same.txt"), "same in B\r\n")

    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        frame = program.window("Veltrix 3.0")
        # Typed text is never replaced without a question: Esc (Cancel) keeps
        # it and opens no dialog; No lets the file replace it.
        type_text("draft")
        wait_for(lambda: text_of(editor(frame)) == "draft", "the typed draft")
        key("ctrl+o")
        program.window("Confirm")
        key("Escape")
        wait_for(lambda: "Confirm" not in program.x_windows().values(), "the question to close")
        assert "Open" not in program.x_windows().values() and text_of(editor(frame)) == "draft"
        key("ctrl+o")
        program.window("Confirm")
        heard = Events("object:text-changed")
        key("n")
        choose_file(program, "Open", os.path.join(a, "first.txt"))
        program.wait_x_title("first.txt - Veltrix 3.0")
        wait_for(lambda: text_of(editor(frame)).startswith("Привет из A"), "the file's text")
        heard.wait(lambda kind, detail, role, name: kind.startswith("object:text-changed") and role == pyatspi.ROLE_TEXT,
                   "a screen reader to hear the text change")
        assert "Изменён" not in panel_names(frame), panel_names(frame)

        key("ctrl+Home")
        type_text("X")
        wait_for(lambda: "Изменён" in panel_names(frame), "the modified marker after the first edit")

        key("ctrl+w")  # Save As, into the other folder
        choose_file(program, "Save As", os.path.join(b, "saved.txt"))
        program.wait_x_title("saved.txt - Veltrix 3.0")
        with open(os.path.join(b, "saved.txt"), "rb") as file:
            assert file.read().decode("cp1251").startswith("XПривет из A"), "the saved text"

        # A bare name: the dialog starts where the user last browsed, B.
        key("ctrl+o")
        choose_file(program, "Open", "same.txt")
        program.wait_x_title("same.txt - Veltrix 3.0")
        wait_for(lambda: text_of(editor(frame)).startswith("same in "), "the second file's text")
        assert text_of(editor(frame)).startswith("same in B"), text_of(editor(frame))

        key("Escape")  # Exit: nothing modified, so no prompt
        assert program.wait_exit() == 0
        assert f"OpenFile={os.path.join(b, 'same.txt')}" in program.settings(), program.settings()


main()
