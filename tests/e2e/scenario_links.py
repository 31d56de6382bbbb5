"""Links typed into a document, clicked with either button: a web address
goes to the browser, a launcher beside the document is only shown in the file
manager, a telnet address stays text, and a text file opens after a question
that names it."""

import os
import subprocess
import sys
import tempfile

import pyatspi
from veltrix_e2e import (Events, Program, click, descendants, editor, key, menu_shown, recording_opener, text_of,
                         type_text, wait_for)

# The desktop's file manager as far as selecting a file goes: notes each
# ShowItems call.
FILE_MANAGER = """
import sys, dbus, dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib
DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
class FileManager(dbus.service.Object):
    @dbus.service.method("org.freedesktop.FileManager1", in_signature="ass")
    def ShowItems(self, uris, startup):
        with open(sys.argv[1], "a") as notes:
            notes.write(" ".join(uris) + "\\n")
manager = FileManager(bus, "/org/freedesktop/FileManager1")
name = dbus.service.BusName("org.freedesktop.FileManager1", bus)
open(sys.argv[2], "w").close()
GLib.MainLoop().run()
"""


def lines(path):
    if not os.path.exists(path):
        return []
    with open(path) as file:
        return file.read().splitlines()


def main():
    env, opened = recording_opener(tempfile.mkdtemp(prefix="veltrix-opener-"))
    folder = tempfile.mkdtemp(prefix="veltrix-links-")
    launcher = os.path.join(folder, "evil.desktop")
    with open(launcher, "w") as file:
        file.write(f"[Desktop Entry]\nType=Application\nName=Notes\nExec=touch {folder}/pwned\n")
    with open(os.path.join(folder, "notes.txt"), "w") as file:
        file.write("notes\n")
    document = os.path.join(folder, "letter.txt")
    with open(document, "w") as file:
        file.write("Links: ")

    with Program(settings="[LANGUAGE]\nLang=1\n", args=[document], env=env) as program:
        frame = program.window("letter.txt - Veltrix 3.0")
        key("ctrl+End")
        type_text("see http://example.com/page then file:evil.desktop then telnet://example.org then file:notes.txt end")
        wait_for(lambda: text_of(editor(frame)).endswith("end"), "the typed links")
        text = editor(frame).queryText()

        def click_on(address, button):
            offset = text_of(editor(frame)).index(address) + 3
            x, y, width, height = text.getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
            click(x + width // 2, y + height // 2, button=button)

        # An address no click may follow is no link: a right click there
        # brings the context menu, as anywhere in the text.
        click_on("telnet:", 1)
        events = Events("object:state-changed:showing")
        click_on("telnet:", 3)
        menu_shown(events)
        key("Escape")
        events.close()
        for button in (1, 3):
            click_on("file:evil", button)
            click_on("http:", button)
        wait_for(lambda: len(lines(opened)) == 4, "two web addresses and two folders handed to the desktop")
        handed = lines(opened)
        assert handed.count("http://example.com/page") == 2, handed
        assert all(line == "http://example.com/page" or line.rstrip("/").endswith(folder) for line in handed), handed

        # A document file is opened only after a question naming it in full.
        click_on("file:notes", 1)
        question = program.window("Confirm")
        labels = [label.name for label in descendants(question, pyatspi.ROLE_LABEL)]
        assert any(os.path.join(folder, "notes.txt") in name for name in labels), labels
        key("y")
        wait_for(lambda: len(lines(opened)) == 5, "the text file handed to the desktop")
        assert lines(opened)[-1].endswith(os.path.join(folder, "notes.txt")), lines(opened)

        # Where the file manager offers to select a file, the launcher is selected.
        shown, ready = os.path.join(folder, "shown.txt"), os.path.join(folder, "ready")
        manager = subprocess.Popen([sys.executable, "-c", FILE_MANAGER, shown, ready])
        try:
            wait_for(lambda: os.path.exists(ready), "the file manager on the bus")
            click_on("file:evil", 3)
            wait_for(lambda: lines(shown), "the launcher shown in the file manager")
            assert lines(shown) == ["file://" + launcher], lines(shown)
        finally:
            manager.terminate()
            manager.wait()
        assert not any("evil.desktop" in line for line in lines(opened)), lines(opened)
        assert not os.path.exists(os.path.join(folder, "pwned"))


main()
