"""Right clicks as a user makes them: on a toolbar the context menu opens,
on a link in the text the link opens (both buttons open links)."""

import os
import tempfile

import pyatspi
from veltrix_e2e import (Events, Program, center, click, editor, find, key, menu_shown, recording_opener, text_of,
                         type_text, wait_for)


def main():
    env, notes = recording_opener(tempfile.mkdtemp(prefix="veltrix-opener-"))
    with Program(settings="[LANGUAGE]\nLang=1\n", env=env) as program:
        frame = program.window("Veltrix 3.0")

        # A right click on a toolbar button opens the window's context menu.
        events = Events("object:state-changed:showing")
        click(*center(find(frame, pyatspi.ROLE_PUSH_BUTTON, "New")), button=3)
        menu = menu_shown(events)
        assert menu.getChildAtIndex(0).name == "File", [menu.getChildAtIndex(i).name for i in range(menu.childCount)]
        key("Escape")
        events.close()

        type_text("see http://example.com/page now ")
        text = editor(frame).queryText()
        wait_for(lambda: "example.com" in text_of(editor(frame)), "the typed link")
        offset = text_of(editor(frame)).index("example.com") + 3
        x, y, width, height = text.getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
        click(x + width // 2, y + height // 2, button=3)
        wait_for(lambda: os.path.exists(notes), "the link to be handed to the desktop")
        with open(notes) as file:
            assert "http://example.com/page" in file.read()


main()
