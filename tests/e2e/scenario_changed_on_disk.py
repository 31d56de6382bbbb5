"""A file another program writes while it is open: Ctrl+S asks before it
writes over that change, and the answer Overwrite writes the text back as
plain text, as the .conf file was read, though the RTF mode is on. Changed
again while another window is active, the unmodified document is offered to
be loaded again when its window becomes active, and Yes shows the new text."""

import os
import subprocess
import tempfile

import pyatspi

from veltrix_e2e import Program, editor, key, run, text_of, type_text, wait_for


def shell(command):
    subprocess.run(["sh", "-c", command], check=True, timeout=30)


def main():
    home = tempfile.mkdtemp(prefix="veltrix-changed-")
    path = os.path.join(home, "notes.conf")
    with open(path, "wb") as file:
        file.write(b"key=1\n")

    with Program(settings="[LANGUAGE]\nLang=1\n", args=[path]) as program:
        frame = program.window("notes.conf - Veltrix 3.0", seconds=20)
        program.wait_x_title("notes.conf - Veltrix 3.0")
        main_window = next(w for w, title in program.x_windows().items() if title == "notes.conf - Veltrix 3.0")
        wait_for(lambda: text_of(editor(frame)).startswith("key=1"), "the file's text")
        key("ctrl+Home")
        type_text("x")
        wait_for(lambda: text_of(editor(frame)).startswith("xkey=1"), "the typed letter")

        shell(f"printf 'key=2\\nadded elsewhere\\n' > '{path}'")
        key("ctrl+s")
        program.window("Warning")
        program.wait_x_title("notes.conf [changed on disk] - Veltrix 3.0")
        with open(path, "rb") as file:
            assert file.read() == b"key=2\nadded elsewhere\n", "nothing written before the answer"
        key("o")  # Overwrite
        wait_for(lambda: "Warning" not in program.x_windows().values(), "the question to close")
        program.wait_x_title("notes.conf - Veltrix 3.0")
        with open(path, "rb") as file:
            written = file.read()
        assert written == b"xkey=1\n", written

        # Another program's window in front; the file changes meanwhile.
        logo = subprocess.Popen(["xlogo"])
        try:
            # xlogo names no process of its own: found by its class.
            found = lambda: run(["xdotool", "search", "--onlyvisible", "--class", "xlogo"], check=False).split()
            logo_window = wait_for(found, "the other window")[0]
            # Qt's X11 backend lets a focus change settle before it reports
            # the window inactive: coming back sooner is no change at all, and
            # a retry that leaves and returns at once never is one either. The
            # file changes only once the program has seen its window inactive.
            run(["xdotool", "windowactivate", "--sync", logo_window])
            active = lambda: frame.getState().contains(pyatspi.STATE_ACTIVE)
            wait_for(lambda: not active(), "the main window to be inactive")
            shell(f"printf 'fresh from the shell\\n' > '{path}'")
            # Not --sync: the question's own window becomes active instead, and
            # xdotool would wait for the main one until it gives up.
            run(["xdotool", "windowactivate", str(main_window)])
            program.window("Confirm")
            key("y")
            wait_for(lambda: text_of(editor(frame)).startswith("fresh from the shell"), "the file loaded again")
        finally:
            logo.kill()
            logo.wait()
        program.wait_x_title("notes.conf - Veltrix 3.0")

        key("Escape")  # Exit: the document loaded again is unmodified, so no prompt
        assert program.wait_exit() == 0


main()
