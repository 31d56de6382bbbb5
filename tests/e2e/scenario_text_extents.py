"""Where a screen reader is told the editor's characters are: each line
below the one before it by a line's height, a click at a character's place
puts the caret at that character, and the character at a point is the one
painted there, also once the text has scrolled."""

import pyatspi

from veltrix_e2e import Program, click, editor, key, type_text, wait_for

SCREEN = pyatspi.DESKTOP_COORDS
LINES_ADDED = 40


def type_lines(lines):
    for number, line in enumerate(lines):
        if number:
            key("Return")
        type_text(line)


def extents(text, offset):
    x, y, width, height = text.getCharacterExtents(offset, SCREEN)
    assert width > 0 and height > 0, (offset, x, y, width, height)
    return x, y, width, height


def check_painted_there(text, offset):
    """The character is found at its middle, and a click at its left half
    puts the caret before it."""
    x, y, width, height = extents(text, offset)
    found = text.getOffsetAtPoint(x + width // 2, y + height // 2, SCREEN)
    assert found == offset, f"the character at the middle of {offset} is {found}"
    click(x + max(1, width // 4), y + height // 2)
    wait_for(lambda: text.caretOffset == offset, f"the caret at {offset} after a click there, not {text.caretOffset}")


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        frame = program.window("Veltrix 3.0")
        area = editor(frame)
        text = area.queryText()
        typed = "first\nsecond\nthird"
        type_lines(typed.split("\n"))
        wait_for(lambda: text.getText(0, -1) == typed, "the three typed lines")

        offsets = [typed.index(word) + 2 for word in ("first", "second", "third")]
        tops = [extents(text, offset)[1] for offset in offsets]
        step = tops[1] - tops[0]
        assert step > 0 and abs(tops[2] - tops[1] - step) <= 1, f"lines at {tops}"
        check_painted_there(text, offsets[2])

        # Enough lines to scroll; the end of the text is shown at the bottom.
        added = [f"line {n:02d}" for n in range(LINES_ADDED)]
        key("Return")
        type_lines(added)
        wait_for(lambda: text.characterCount == len(typed) + len("\n".join([""] + added)), "the added lines")
        key("ctrl+End")
        box_x, box_y, box_width, box_height = area.queryComponent().getExtents(SCREEN)
        last = text.characterCount - 2
        x, y, width, height = extents(text, last)
        assert box_x <= x and x + width <= box_x + box_width and box_y <= y and y + height <= box_y + box_height, \
            f"the last line's character at {(x, y, width, height)}, the editor at {(box_x, box_y, box_width, box_height)}"
        first_top = extents(text, offsets[0])[1]
        assert first_top < box_y, f"the first line, scrolled away, at {first_top} under the editor's top {box_y}"
        lines_apart = len(typed.split("\n")) - 1 + LINES_ADDED
        assert abs(y - first_top - lines_apart * step) <= 2, f"{lines_apart} lines {y - first_top} px apart, not {step} each"
        check_painted_there(text, last)


main()
