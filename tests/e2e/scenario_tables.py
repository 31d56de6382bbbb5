"""A Word-form table with a header row, cells merged down and across and
borders: opened, it shows its cells side by side; a click puts the caret in a
cell, Tab goes to the next one and adds a row after the last; a table inside
a cell of another shows its cells side by side within that cell; "Insert
table…" from the Insert menu puts in a table of 2 rows and 3 columns; Ctrl+S
saves, and LibreOffice reads the file back with every table's rows, spans and
text, the one inside a cell still inside it."""

import os
import shutil
import subprocess
import tempfile
import xml.etree.ElementTree as ET

import pyatspi

from veltrix_e2e import Program, center, click, descendants, editor, key, text_of, type_text, wait_for

BORDERS = "".join(f"\\clbrdr{side}\\brdrs\\brdrw10" for side in "tlbr")
TABLE = ("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}{\\colortbl;\\red220\\green230\\blue255;}\n"
         "Before the table.\\par\n"
         f"\\trowd\\trgaph108\\trleft-108\\trhdr{BORDERS}\\clcbpat1\\cellx2000{BORDERS}\\clcbpat1\\cellx5000"
         f"{BORDERS}\\clcbpat1\\cellx8000\n"
         "\\pard\\intbl\\b Name\\b0\\cell\\pard\\intbl Price\\cell\\pard\\intbl Notes\\cell\\row\n"
         f"\\trowd\\trgaph108\\trleft-108\\clvmgf{BORDERS}\\cellx2000{BORDERS}\\cellx5000{BORDERS}\\cellx8000\n"
         "\\pard\\intbl Merged down\\cell\\pard\\intbl 100\\cell\\pard\\intbl A note\\cell\\row\n"
         f"\\trowd\\trgaph108\\trleft-108\\clvmrg{BORDERS}\\cellx2000\\clmgf{BORDERS}\\cellx5000"
         f"\\clmrg{BORDERS}\\cellx8000\n"
         "\\pard\\intbl\\cell\\pard\\intbl Merged across\\cell\\pard\\intbl\\cell\\row\n"
         "\\pard After the table.\\par\n"
         f"\\trowd\\trgaph108{BORDERS}\\cellx2000{BORDERS}\\cellx8000\n"
         "\\pard\\intbl Holder\\cell\\pard\\intbl\\itap2 Inner A\\nestcell\\pard\\intbl\\itap2 Inner B\\nestcell\n"
         f"{{\\*\\nesttableprops\\trowd\\trgaph108{BORDERS}\\cellx4000{BORDERS}\\cellx7000\\nestrow}}"
         "{\\nonesttables\\par}\n"
         "\\pard\\intbl Below inner\\cell\\row\n"
         "\\pard End.\\par\n}")

NS = {"table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
      "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0"}


def libreoffice_tables(path, folder):
    """Each table as LibreOffice reads the file: rows of (text, columns
    spanned, rows spanned) for the cells that are not covered."""
    profile = "file://" + os.path.join(folder, "lo-profile")
    subprocess.run(["soffice", f"-env:UserInstallation={profile}", "--headless", "--convert-to", "fodt",
                    "--outdir", folder, path], check=True, capture_output=True, timeout=180)
    root = ET.parse(os.path.splitext(path)[0] + ".fodt").getroot()
    tables = []
    for table in root.iter(f"{{{NS['table']}}}table"):
        rows = []
        for row in (table.findall("table:table-header-rows/table:table-row", NS)
                    + table.findall("table:table-row", NS)):
            cells = []
            for cell in row.findall("table:table-cell", NS):
                text = " ".join("".join(p.itertext()) for p in cell.iter(f"{{{NS['text']}}}p")).strip()
                cells.append((text, int(cell.get(f"{{{NS['table']}}}number-columns-spanned", "1")),
                              int(cell.get(f"{{{NS['table']}}}number-rows-spanned", "1"))))
            rows.append(cells)
        tables.append(rows)
    return tables


def named(root, name):
    """A menu or menu item by its caption, once it is showing."""
    found = [item for item in descendants(root, name=name)
             if item.getRole() in (pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM)
             and item.getState().contains(pyatspi.STATE_SHOWING)]
    return found[0] if found else None


def main():
    home = tempfile.mkdtemp(prefix="veltrix-tables-")
    path = os.path.join(home, "prices.rtf")
    with open(path, "w", encoding="ascii") as file:
        file.write(TABLE)
    before = os.stat(path).st_mtime_ns

    with Program(settings="[LANGUAGE]\nLang=1\n", args=[path]) as program:
        frame = program.window("prices.rtf - Veltrix 3.0", seconds=30)
        area = editor(frame)
        text = area.queryText()
        shown = wait_for(lambda: text_of(area) if "Merged across" in text_of(area) else None, "the table's text")

        # The cells of a row stand side by side.
        name = text.getCharacterExtents(shown.index("Name"), pyatspi.DESKTOP_COORDS)
        price = text.getCharacterExtents(shown.index("Price"), pyatspi.DESKTOP_COORDS)
        assert abs(name[1] - price[1]) <= 2 and price[0] > name[0] + 100, (name, price)

        # The cells of the table inside a cell stand side by side in it.
        holder = text.getCharacterExtents(shown.index("Holder"), pyatspi.DESKTOP_COORDS)
        inner_a = text.getCharacterExtents(shown.index("Inner A"), pyatspi.DESKTOP_COORDS)
        inner_b = text.getCharacterExtents(shown.index("Inner B"), pyatspi.DESKTOP_COORDS)
        below = text.getCharacterExtents(shown.index("Below inner"), pyatspi.DESKTOP_COORDS)
        assert abs(inner_a[1] - inner_b[1]) <= 2 and inner_b[0] > inner_a[0] + 100, (inner_a, inner_b)
        assert inner_a[0] > holder[0] + 100 and below[1] > inner_a[1] + inner_a[3], (holder, inner_a, below)

        # A click in "100", Tab to the note's cell, typed at its start.
        x, y, width, height = text.getCharacterExtents(shown.index("100") + 1, pyatspi.DESKTOP_COORDS)
        click(x + width // 2, y + height // 2)
        wait_for(lambda: text.caretOffset in range(shown.index("100"), shown.index("100") + 4), "the caret in 100")
        key("Tab")
        type_text("X1 ")
        wait_for(lambda: "X1 A note" in text_of(area), "the text typed in the next cell")

        # In the last cell Tab adds a row; its first cell takes the text.
        shown = text_of(area)
        x, y, width, height = text.getCharacterExtents(shown.index("Merged across") + 2, pyatspi.DESKTOP_COORDS)
        click(x + width // 2, y + height // 2)
        key("End", "Tab")
        type_text("NEW")
        wait_for(lambda: "NEW" in text_of(area), "the text typed in the new row")

        # A table from the menu, after the text.
        key("ctrl+End")
        click(*center(wait_for(lambda: named(frame, "Insert"), "the Insert menu")))
        click(*center(wait_for(lambda: named(program.app(), "Insert table…"), "its item Insert table…")))
        program.window("Insert table")
        key("Return")
        wait_for(lambda: all(w is None or w.name != "Insert table" for w in program.windows()), "the dialog closed")
        type_text("T1")
        key("Tab")
        type_text("T2")
        wait_for(lambda: "T2" in text_of(area), "the text typed in the inserted table")

        key("ctrl+s")
        wait_for(lambda: os.stat(path).st_mtime_ns != before, "the file saved", seconds=30)

    tables = libreoffice_tables(path, home)
    shutil.rmtree(home)
    assert len(tables) == 4, tables
    first, holder, inner, inserted = tables
    assert [[cell[0] for cell in row] for row in inner] == [["Inner A", "Inner B"]], inner
    assert holder[0][0][0] == "Holder" and holder[0][1][0] == "Inner A Inner B Below inner", holder
    assert [len(row) for row in first] == [3, 3, 1, 3], first
    assert first[1][0] == ("Merged down", 1, 2), first[1]
    assert first[1][2][0] == "X1 A note", first[1]
    assert first[2][0] == ("Merged across", 2, 1), first[2]
    assert first[3][0][0] == "NEW", first[3]
    assert [len(row) for row in inserted] == [3, 3], inserted
    assert [cell[0] for cell in inserted[0]] == ["T1", "T2", ""], inserted


main()
