"""Text typed and never saved survives the program being killed: started
again, the program offers it back, and Return restores it as a modified
document."""

import glob
import os

import pyatspi

from veltrix_e2e import Program, descendants, editor, key, text_of, type_text, wait_for

COPIES = os.path.join(os.environ["HOME"], ".local", "state", "veltrix", "*.copy")


def copy_holding(text):
    for path in glob.glob(COPIES):
        with open(path, "rb") as file:
            if text.encode() in file.read():
                return path
    return None


def main():
    typed = "Kept text, never saved"
    with Program(settings="[LANGUAGE]\nLang=0\n") as program:
        frame = program.window("Veltrix 3.0")
        type_text(typed)
        wait_for(lambda: text_of(editor(frame)) == typed, "the typed text")
        wait_for(lambda: copy_holding("Kept text"), "a recovery copy holding the typed text")
    # Leaving the block killed the program with SIGKILL: no close sequence ran.

    with Program(settings="[LANGUAGE]\nLang=0\n") as program:
        question = program.window("Confirm")
        labels = [label.name for label in descendants(question, pyatspi.ROLE_LABEL)]
        assert any("Восстановить" in name for name in labels), labels
        key("Return")
        frame = program.window("Veltrix 3.0")
        wait_for(lambda: text_of(editor(frame)) == typed, "the text restored")
        wait_for(lambda: "Изменён" in [label.name for label in descendants(frame, pyatspi.ROLE_LABEL)],
                 "the document shown as modified")
        # The old copy is gone, and only this run's own copy remains.
        wait_for(lambda: len(glob.glob(COPIES)) == 1, "one recovery copy")


main()
