"""Find and Replace through the real dialogs: Find Next goes on from the
selection, with Whole word, Up and round the end; a text not there is said so;
Replace only takes an occurrence, Replace All takes them all and says how many
in either language, and one Ctrl+Z brings them back."""

import pyatspi
from veltrix_e2e import Program, center, click, descendants, editor, find, key, text_of, type_text, wait_for

WHOLE_WORD = (pyatspi.ROLE_CHECK_BOX, "Match whole word only")
UP = (pyatspi.ROLE_RADIO_BUTTON, "Up")
REPLACE = (pyatspi.ROLE_PUSH_BUTTON, "Replace")
REPLACE_ALL = (pyatspi.ROLE_PUSH_BUTTON, "Replace All")
CANCEL = (pyatspi.ROLE_PUSH_BUTTON, "Cancel")

TEXT = "cat Cat cats CAT"


def dialog(program, title):
    """The dialog once it has the keyboard: keys pressed before would reach the main window."""
    window = program.window(title)
    wait_for(lambda: window.getState().contains(pyatspi.STATE_ACTIVE), f"the {title} dialog to be active")
    return window


def closed(program, title):
    wait_for(lambda: title not in program.x_windows().values(), f"the {title} dialog to close")


def press(window, control):
    click(*center(find(window, *control)))


def find_next(program, frame, *options, selected):
    """Ctrl+F, the options clicked, Find Next: the dialog closes on the occurrence."""
    key("ctrl+f")
    window = dialog(program, "Find")
    for option in options:
        press(window, option)
    key("Return")
    closed(program, "Find")
    text = editor(frame).queryText()
    try:
        wait_for(lambda: text.getSelection(0) == selected, f"{selected} selected", seconds=5)
    except Exception:
        raise AssertionError(f"{text.getSelection(0)} selected, not {selected}; windows {program.x_windows()}")


def message(program, expected):
    box = program.window("Veltrix 3.0", role=pyatspi.ROLE_ALERT)
    labels = lambda: [label.name for label in descendants(box, pyatspi.ROLE_LABEL)]  # noqa: E731
    wait_for(lambda: expected in labels(), f"the message {expected!r}, not {labels()}")
    key("Return")
    wait_for(lambda: not box.getState().contains(pyatspi.STATE_SHOWING), "the message to close")


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        frame = program.window("Veltrix 3.0")
        type_text(TEXT)
        wait_for(lambda: text_of(editor(frame)) == TEXT, "the typed text")
        key("ctrl+Home")

        key("ctrl+f")
        dialog(program, "Find")
        type_text("cat")
        key("Return")
        closed(program, "Find")
        text = editor(frame).queryText()
        wait_for(lambda: text.getSelection(0) == (0, 3), "the first occurrence")
        find_next(program, frame, selected=(4, 7))
        find_next(program, frame, WHOLE_WORD, selected=(13, 16))  # Whole word: past "cats"
        find_next(program, frame, selected=(0, 3))             # round the end
        find_next(program, frame, UP, selected=(13, 16))  # Up, round the start

        key("ctrl+f")
        find_dialog = dialog(program, "Find")
        click(*center(find(find_dialog, pyatspi.ROLE_TEXT, "Find what")))
        key("ctrl+a")
        type_text("dog")
        key("Return")
        message(program, "String dog isn*t found!")
        assert find_dialog.getState().contains(pyatspi.STATE_SHOWING), "the Find dialog closed on a failure"
        press(find_dialog, CANCEL)
        closed(program, "Find")

        # Replace leaves a selection that is not an occurrence: it finds one.
        key("ctrl+Home")
        key("ctrl+h")
        replace = dialog(program, "Replace")
        type_text("cat")
        key("Tab")
        type_text("dog")
        press(replace, REPLACE)
        wait_for(lambda: text.getSelection(0) == (0, 3), "Replace to select an occurrence first")
        assert text_of(editor(frame)) == TEXT, text_of(editor(frame))
        press(replace, REPLACE)
        closed(program, "Replace")
        wait_for(lambda: text_of(editor(frame)) == "dog Cat cats CAT", "Replace to take the occurrence")
        assert text.getSelection(0) == (0, 3), text.getSelection(0)

        key("ctrl+h")
        press(dialog(program, "Replace"), REPLACE_ALL)
        message(program, "Replaced: 3")
        closed(program, "Replace")
        wait_for(lambda: text_of(editor(frame)) == "dog dog dogs dog", "Replace All")
        key("ctrl+z")
        wait_for(lambda: text_of(editor(frame)) == "dog Cat cats CAT", "one Ctrl+Z to undo all of it")

        # Russian: the switch starts ticked whatever the language, so a start
        # in English takes two presses.
        key("F9", "F9")
        find(frame, pyatspi.ROLE_MENU_ITEM, "Файл")
        key("ctrl+h")
        replace = dialog(program, "Replace")
        press(replace, WHOLE_WORD)
        press(replace, REPLACE_ALL)
        message(program, "Заменено: 2")
        wait_for(lambda: text_of(editor(frame)) == "dog dog cats dog", "Replace All of whole words")
        key("ctrl+h")
        replace = dialog(program, "Replace")
        press(replace, REPLACE_ALL)
        message(program, "Текст не найден!")
        assert replace.getState().contains(pyatspi.STATE_SHOWING), "the Replace dialog closed on a failure"
        press(replace, CANCEL)
        closed(program, "Replace")
        assert program.running()


main()
