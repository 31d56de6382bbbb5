"""Spelling as a user meets it: a misspelled word typed is marked for a
screen reader once typing pauses; a right click on it shows the suggestions
above the context menu's own items, the one chosen takes its place, and the
text read back has it; "Add to dictionary" keeps a word in the personal list
in the user's configuration folder."""

import os
import tempfile

import pyatspi
from veltrix_e2e import Events, Program, center, click, editor, menu_shown, text_of, type_text, wait_for


def attributes_at(text, offset):
    attributes, start, end = text.getAttributeRun(offset, False)
    return attributes, start, end


def items_of(menu, wanted):
    """The menu's items once they are all there, `wanted` among them."""
    def look():
        items = [menu.getChildAtIndex(i) for i in range(menu.childCount)]
        if any(item is None for item in items):
            return None
        names = [item.name for item in items]
        return items if wanted in names else None
    return wait_for(look, f"the menu's items with {wanted!r}")


def main():
    config = tempfile.mkdtemp(prefix="veltrix-config-")
    with Program(settings="[LANGUAGE]\nLang=1\n", env={"XDG_CONFIG_HOME": config}) as program:
        frame = program.window("Veltrix 3.0")
        area = editor(frame)
        text = area.queryText()
        type_text("The wrold is qzxwv ")
        wait_for(lambda: "qzxwv" in text_of(area), "the typed text")

        # Flagged once typing pauses, as a run of its own.
        shown = text_of(area)
        offset = shown.index("wrold")
        attributes, start, end = wait_for(
            lambda: (lambda run: run if "invalid:spelling" in run[0] else None)(attributes_at(text, offset + 1)),
            "the misspelled word marked")
        assert (start, end) == (offset, offset + 5), (start, end)
        assert "invalid" not in attributes_at(text, shown.index("The"))[0]

        # A right click on it: the first suggestion replaces it.
        events = Events("object:state-changed:showing")
        x, y, width, height = text.getCharacterExtents(offset + 2, pyatspi.DESKTOP_COORDS)
        click(x + width // 2, y + height // 2, button=3)
        items = items_of(menu_shown(events), "Add to dictionary")
        names = [item.name for item in items]
        assert "world" in names and "File" in names, names
        assert names.index("world") < names.index("Add to dictionary") < names.index("File"), names
        click(*center(items[names.index("world")]))
        wait_for(lambda: text_of(area).startswith("The world is"), "the suggestion put in")
        events.close()

        # Added to the dictionary: kept in the user's list.
        shown = text_of(area)
        events = Events("object:state-changed:showing")
        x, y, width, height = text.getCharacterExtents(shown.index("qzxwv") + 2, pyatspi.DESKTOP_COORDS)
        click(x + width // 2, y + height // 2, button=3)
        items = items_of(menu_shown(events), "Add to dictionary")
        click(*center(items[[item.name for item in items].index("Add to dictionary")]))
        words = os.path.join(config, "Veltrix", "words.txt")
        wait_for(lambda: os.path.exists(words) and "qzxwv" in open(words, encoding="utf-8").read(),
                 "the word in the personal list")
        wait_for(lambda: "invalid" not in attributes_at(text, shown.index("qzxwv") + 1)[0], "the word no longer marked")
        events.close()


main()
