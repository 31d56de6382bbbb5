"""A whole line cut and pasted at the start of another line, as a user does
it with the keyboard: the lines stay apart, in rich text and in plain text."""

from veltrix_e2e import Program, editor, key, text_of, type_text, wait_for


def lines_of(frame):
    return text_of(editor(frame)).replace("\u2029", "\n").replace("\r", "").split("\n")


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        frame = program.window("Veltrix 3.0")
        for plain in (False, True):
            if plain:
                key("ctrl+a", "Delete", "F8")  # plain-text mode
            type_text("first")
            key("Return")
            type_text("second")
            key("Return")
            type_text("third")
            wait_for(lambda: lines_of(frame) == ["first", "second", "third"], "the three typed lines")
            key("ctrl+Home", "shift+Down", "ctrl+x")
            wait_for(lambda: lines_of(frame) == ["second", "third"], "the first line cut")
            key("Down", "ctrl+v")
            wait_for(lambda: lines_of(frame) == ["second", "first", "third"],
                     f"the line pasted apart from the next ({'plain' if plain else 'rich'} text)")


main()
