"""A minified JSON file of one 2 MB line: the window shows it and takes keys
at once; Down goes a display line at a time, End to the end of the line
shown; Ctrl+End shows the caret at the end of the line, not the line's top;
Ctrl+S writes the file back with the three edits and every other byte as it
was."""

import os
import shutil
import tempfile

import pyatspi

from veltrix_e2e import Program, editor, key, type_text, wait_for

SIZE = 2_000_000


def main():
    home = tempfile.mkdtemp(prefix="veltrix-long-line-")
    path = os.path.join(home, "dump.json")
    item = '{"key":[1,2.5,"text"],"name":"value"},'
    original = ("[" + item * (SIZE // len(item)) + "{}]").encode()
    with open(path, "wb") as file:
        file.write(original)
    before = os.stat(path).st_mtime_ns

    with Program(settings="[LANGUAGE]\nLang=1\n", args=[path]) as program:
        frame = program.window("dump.json - Veltrix 3.0", seconds=30)
        text = editor(frame).queryText()
        key("ctrl+Home")
        key("Down", "Down", "Down")
        third = wait_for(lambda: text.caretOffset or None, "the caret three lines down")
        assert 0 < third < 1000, third
        top = text.getCharacterExtents(0, pyatspi.DESKTOP_COORDS)
        line = text.getCharacterExtents(third, pyatspi.DESKTOP_COORDS)
        assert line[1] - top[1] >= 2 * top[3], (top, line)
        type_text("ABC")
        key("End")
        wait_for(lambda: text.caretOffset > third + 3, "End on the line shown")
        end_of_line = text.caretOffset
        assert end_of_line < third + 300, (third, end_of_line)
        type_text("Z")

        key("ctrl+End")
        type_text("!")
        wait_for(lambda: text.caretOffset == len(original) + 5, "the caret after the last edit")
        # The caret is shown where it is, inside the window.
        x, y, width, height = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        caret = text.getCharacterExtents(text.caretOffset - 1, pyatspi.DESKTOP_COORDS)
        assert y <= caret[1] <= y + height, (caret, (x, y, width, height))

        key("ctrl+s")
        wait_for(lambda: os.stat(path).st_mtime_ns != before, "the file saved", seconds=60)
        with open(path, "rb") as file:
            saved = file.read()
    shutil.rmtree(home)
    edited = original[:third] + b"ABC" + original[third:]
    edited = edited[:end_of_line] + b"Z" + edited[end_of_line:] + b"!"
    assert len(saved) == len(edited), (len(saved), len(edited))
    assert saved == edited, "the saved file differs from the file with the three edits"


main()
