#!/usr/bin/python3
"""How much a listening screen reader slows the program down.

    accessibility_bench.py PROGRAM

Runs the real program on a private desktop (tests/e2e) twice: without the
accessibility bus switched on, and with it on and a listener for text
changes registered, as a screen reader has. Each run opens a 16 MB
Windows-1251 text and a 10 MB RTF through the Open dialog, timed from
Return until the title names the file and, with the bus on, until the
editor answers with the file's text: from Return, every 20 ms, it is asked
as a screen reader asks, for its character count and the text at its
start. Then it sorts the text, timed until the window answers again.
Prints seconds and the ratio of on to off."""

import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

from desktop import Desktop, wait_for  # noqa: E402

TEXT_MB = 16
RTF_MB = 10
TEXT_LINE = "Съешь же ещё этих мягких французских булок, да выпей чаю. Line %07d of the benchmark"
RTF_LINE = "Paragraph %07d bold and italic text, абв."
ASK_SECONDS = 0.02
START_CHARACTERS = 100


def make_documents(folder):
    line = TEXT_LINE + "\r\n"
    text = os.path.join(folder, "big.txt")
    with open(text, "wb") as file:
        size, n = 0, 0
        while size < TEXT_MB * 1024 * 1024:
            chunk = "".join(line % (n + i) for i in range(1000)).encode("cp1251")
            file.write(chunk)
            size += len(chunk)
            n += 1000
    rtf = os.path.join(folder, "big.rtf")
    with open(rtf, "w", encoding="ascii") as file:
        file.write("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}}\n")
        size, n = 0, 0
        while size < RTF_MB * 1024 * 1024:
            paragraph = "\\pard\\f0\\fs28 Paragraph %07d {\\b bold} and {\\i italic} text, \\'e0\\'e1\\'e2.\\par\n" % n
            file.write(paragraph)
            size += len(paragraph)
            n += 1
        file.write("}")
    return text, rtf


def measure(path, with_reader):
    """Runs inside the desktop: one document opened and, for text, sorted."""
    import pyatspi
    from veltrix_e2e import Events, Program, editor, key, type_text
    results = {}
    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        frame = program.window("Veltrix 3.0") if with_reader else None
        text = editor(frame).queryText() if with_reader else None  # found once, as a screen reader keeps it
        if not with_reader:
            program.wait_x_title("Veltrix 3.0")
        listener = Events("object:text-changed") if with_reader else None

        def open_dialog():
            # Over a modified document Open asks first: either window answers.
            key("ctrl+o")
            wait_for(lambda: {"Open", "Confirm"} & set(program.x_windows().values()), "the Open dialog",
                     seconds=300, interval=0.02)

        # The window answers a key once its thread is free: the time the Open
        # dialog takes to appear on an idle window is the baseline.
        start = time.monotonic()
        open_dialog()
        dialog_seconds = time.monotonic() - start
        key("Escape")
        wait_for(lambda: "Open" not in program.x_windows().values(), "the Open dialog to close")

        open_dialog()
        type_text(path)
        if listener:
            # A screen reader hears each typed character as it comes, not
            # after Return, when the dialog that sent it is gone.
            listener.hear_pending()
        name = os.path.basename(path)
        start = time.monotonic()
        key("Return")

        line_format = TEXT_LINE if path.endswith(".txt") else RTF_LINE
        first_line = line_format % 0
        start_text = "\n".join(line_format % n for n in range(5))[:START_CHARACTERS]
        read = {"text": False}

        def answered():
            # As a screen reader asks of a text it was told changed.
            try:
                if text.characterCount <= 0:
                    return False
                start = text.getText(0, START_CHARACTERS)
                line = text.getTextAtOffset(0, pyatspi.TEXT_BOUNDARY_LINE_START)
            except Exception:  # a call the program did not answer in time
                return False
            shown = line[0].rstrip("\n")  # the first display line: the paragraph may wrap
            return start == start_text and shown != "" and first_line.startswith(shown)

        def opened():
            if with_reader and not read["text"]:
                read["text"] = answered()
            titled = any(name in t for t in program.x_windows().values())
            return titled and (read["text"] or not with_reader)
        wait_for(opened, "the document", seconds=300, interval=ASK_SECONDS)
        results["open"] = time.monotonic() - start
        if path.endswith(".txt"):
            start = time.monotonic()
            key("ctrl+alt+b")  # sort the whole text
            open_dialog()
            results["sort"] = time.monotonic() - start - dialog_seconds
            key("Escape")
        if listener:
            listener.close()
    return results


def main():
    if len(sys.argv) >= 2 and sys.argv[1] == "--measure":
        print(repr(measure(sys.argv[2], sys.argv[3] == "on")))
        return 0
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp(prefix="veltrix-a11y-bench-")
    documents = make_documents(folder)
    figures = {}
    for mode in ("off", "on"):
        for document in documents:
            with Desktop(screen_reader=mode == "on") as desktop:
                env = dict(desktop.env, VELTRIX_PROGRAM=program, PYTHONDONTWRITEBYTECODE="1")
                out = subprocess.run(["/usr/bin/python3", os.path.abspath(__file__), "--measure", document, mode],
                                     env=env, capture_output=True, text=True, timeout=900)
                if out.returncode != 0:
                    print(out.stdout, out.stderr, file=sys.stderr)
                    return 1
                for what, seconds in eval(out.stdout.strip().splitlines()[-1]).items():
                    figures[(os.path.basename(document), what, mode)] = seconds
    print(f"{'document':10} {'step':6} {'bus off':>8} {'bus on':>8} {'ratio':>6}")
    for (document, what, mode), seconds in sorted(figures.items()):
        if mode == "off":
            on = figures[(document, what, "on")]
            print(f"{document:10} {what:6} {seconds:8.2f} {on:8.2f} {on / seconds:6.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
