"""A double click on a word selects it and the caret panel follows the
selection, not the first click; Ctrl+Y redoes what Ctrl+Z undid."""

import pyatspi
from veltrix_e2e import Program, click, descendants, editor, key, text_of, type_text, wait_for


def caret_panel(frame):
    for bar in descendants(frame, pyatspi.ROLE_STATUS_BAR):
        for label in descendants(bar, pyatspi.ROLE_LABEL):
            if label.name.startswith("Стр:"):
                return label.name
    return None


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        frame = program.window("Veltrix 3.0")
        type_text("one two three")
        text = editor(frame).queryText()
        wait_for(lambda: text_of(editor(frame)) == "one two three", "the typed text")

        # The middle of "three": the first press puts the caret there, the
        # double click selects the word from its start, column 9.
        x, y, width, height = text.getCharacterExtents(10, pyatspi.DESKTOP_COORDS)
        click(x + width // 2, y + height // 2, repeat=2)
        wait_for(lambda: text.getSelection(0) == (8, 13), "the word selected")
        wait_for(lambda: caret_panel(frame) == "Стр:   1   Кол:   9", "the panel at the word's start")

        key("End")
        type_text("!")
        wait_for(lambda: text_of(editor(frame)) == "one two three!", "the typed mark")
        key("ctrl+z")
        wait_for(lambda: text_of(editor(frame)) != "one two three!", "Ctrl+Z to undo")
        key("ctrl+y")
        wait_for(lambda: text_of(editor(frame)) == "one two three!", "Ctrl+Y to redo")


main()
