"""The font dialog on text in fonts a stock Debian lacks (Arial, Times New
Roman): it shows the text's own family, OK without a change leaves the text
and the saved file naming that family, and one Esc cancels the whole dialog."""

import os
import tempfile

import pyatspi
from veltrix_e2e import Program, descendants, editor, key, text_of, wait_for

DOCUMENT = (r"{\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\froman\fcharset204 Times New Roman;}"
            r"{\f1\fswiss\fcharset204 Arial;}}\f1\fs28 Arial text\par\f0 Times text\par}")


def texts(root):
    """What the single-line text fields under root read."""
    found = []
    for field in descendants(root, pyatspi.ROLE_TEXT):
        if not field.getState().contains(pyatspi.STATE_MULTI_LINE):
            text = field.queryText()
            found.append(text.getText(0, text.characterCount))
    return found


def confirm_unchanged(program, family):
    key("shift+Insert")
    dialog = program.window("Font")
    wait_for(lambda: family in texts(dialog), f"the dialog to show {family}")
    key("Return")  # in the family list, where the dialog opens: OK
    wait_for(lambda: "Font" not in program.x_windows().values(), "the font dialog to close")


def main():
    folder = tempfile.mkdtemp(prefix="veltrix-fonts-")
    path = os.path.join(folder, "fonts.rtf")
    with open(path, "w", encoding="ascii") as file:
        file.write(DOCUMENT)

    with Program(settings="[LANGUAGE]\nLang=1\n", args=[path]) as program:
        frame = program.window("fonts.rtf - Veltrix 3.0")
        wait_for(lambda: text_of(editor(frame)).startswith("Arial text"), "the document")
        key("ctrl+Home")
        confirm_unchanged(program, "Arial")
        # The font name box follows the dialog.
        assert "Arial" in texts(frame), texts(frame)

        key("Down")
        confirm_unchanged(program, "Times New Roman")
        assert "Times New Roman" in texts(frame), texts(frame)

        key("ctrl+s")
        wait_for(lambda: b"Arial" in open(path, "rb").read() and open(path, "rb").read() != DOCUMENT.encode(),
                 "the file saved")
        saved = open(path, "rb").read()
        assert b"Times New Roman" in saved and b"Sans" not in saved, saved

        key("shift+Insert")
        program.window("Font")
        key("Escape")
        wait_for(lambda: "Font" not in program.x_windows().values(), "one Esc to close the whole dialog")
        assert "Veltrix 3.0" in " ".join(program.x_windows().values()), program.x_windows()
        assert program.running()


main()
