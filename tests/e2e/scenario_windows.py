"""Every window a screen reader can find and use: the calculator and the
Find dialog are windows named by their titles, the window manager shows
those titles exactly, and the style buttons with a drop-down can be pressed
without a mouse."""

import pyatspi
from veltrix_e2e import Program, descendants, editor, find, key, press, text_of, type_text, wait_for

WINDOW_ROLES = (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW)


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        frame = program.window("Veltrix 3.0")
        type_text("word")
        wait_for(lambda: text_of(editor(frame)) == "word", "the typed text")
        key("ctrl+a")

        # Bold: a button with a drop-down menu, pressed over AT-SPI.
        bold = find(frame, pyatspi.ROLE_PUSH_BUTTON, "Bold")
        press(bold)

        def is_bold():
            attributes = editor(frame).queryText().getAttributeRun(1, False)[0]
            return "weight:bold" in [a.replace(" ", "") for a in attributes]
        wait_for(is_bold, "the selection to turn bold")

        key("ctrl+F1")
        calculator = program.window("Calculator")
        assert calculator.getRole() in WINDOW_ROLES, calculator.getRoleName()
        program.wait_x_title("Calculator")
        key("alt+F4")

        key("ctrl+f")
        found = program.window("Find")
        assert found.getRole() in WINDOW_ROLES, found.getRoleName()
        program.wait_x_title("Find")
        for button in descendants(found, pyatspi.ROLE_PUSH_BUTTON):
            if not button.getState().contains(pyatspi.STATE_ENABLED):
                continue
            actions = button.queryAction()
            names = [actions.getName(i) for i in range(actions.nActions)]
            assert "Press" in names, (button.name, names)
        key("Escape")

        titles = set(program.x_windows().values())
        assert not any(title.endswith("— Veltrix 3.0") for title in titles), titles


main()
