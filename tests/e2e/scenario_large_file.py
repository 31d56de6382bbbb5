"""A large Windows-1251 file named on the command line: the window shows it
while the rest of it still comes in, takes keys at its start, goes to its
real end with Ctrl+End, and Ctrl+S writes the whole file back with both
edits and every other byte as it was."""

import os
import shutil
import tempfile

from veltrix_e2e import Program, key, type_text, wait_for

LINES = 400_000  # about 30 MB


def main():
    home = tempfile.mkdtemp(prefix="veltrix-large-file-")
    path = os.path.join(home, "big.txt")
    line = "Строка {:07d}: съешь же ещё этих мягких французских булок\r\n"
    original = "".join(line.format(n) for n in range(LINES)).encode("cp1251")
    with open(path, "wb") as file:
        file.write(original)
    before = os.stat(path).st_mtime_ns

    with Program(settings="[LANGUAGE]\nLang=1\n", args=[path]) as program:
        program.window("big.txt - Veltrix 3.0", seconds=30)
        type_text("START ")
        key("ctrl+End")
        type_text(" FINISH")
        key("ctrl+s")
        wait_for(lambda: os.stat(path).st_mtime_ns != before, "the file saved", seconds=60)
        with open(path, "rb") as file:
            saved = file.read()
    shutil.rmtree(home)
    expected = b"START " + original + b" FINISH"
    assert len(saved) == len(expected), (len(saved), len(expected), saved[:40], saved[-40:])
    assert saved == expected, "the saved file differs from the file with the two edits"


main()
