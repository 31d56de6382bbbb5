"""The command line: --version and --help answer on standard output and end
without a window; a file named on the command line opens in the window, which
shows normally with the file's name in its title and its text in the editor."""

import os
import subprocess
import tempfile

from veltrix_e2e import PROGRAM, Program, editor, key, text_of, wait_for


def answers(argument):
    result = subprocess.run([PROGRAM, argument], capture_output=True, text=True, timeout=30)
    assert result.returncode == 0, (argument, result.returncode, result.stderr)
    return result.stdout


def main():
    assert answers("--version").strip() == "Veltrix 3.0", answers("--version")
    assert "--version" in answers("--help")

    home = tempfile.mkdtemp(prefix="veltrix-command-line-")
    letter = os.path.join(home, "letter.rtf")
    with open(letter, "w", encoding="ascii") as file:
        file.write("{\\rtf1\\ansi {\\b Hello} from the command line\\par}")

    with Program(settings="[LANGUAGE]\nLang=1\n", args=[letter]) as program:
        frame = program.window("letter.rtf - Veltrix 3.0", seconds=20)
        program.wait_x_title("letter.rtf - Veltrix 3.0")  # shown, not in the tray
        wait_for(lambda: text_of(editor(frame)).startswith("Hello from the command line"), "the file's text")
        key("Escape")  # Exit: nothing modified, so no prompt
        assert program.wait_exit() == 0
        assert f"OpenFile={letter}" in program.settings(), program.settings()


main()
