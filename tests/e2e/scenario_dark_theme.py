"""On a dark desktop theme (GTK's Adwaita dark, read by Qt's GTK platform
theme) the paper still starts white, the paper colour box says so, and the
typed text is dark on it."""

import pyatspi
from veltrix_e2e import Program, descendants, editor, screen_pixel, text_of, type_text, wait_for

# GTK's own accessibility bridge stays out: the program's windows are Qt's.
DARK = {"QT_QPA_PLATFORMTHEME": "gtk3", "GTK_THEME": "Adwaita:dark", "NO_AT_BRIDGE": "1"}


def brightness(rgb):
    return sum(rgb) / 3


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n", env=DARK) as program:
        frame = program.window("Veltrix 3.0")
        # The theme really is dark: the window's own background is.
        fx, fy, fw, fh = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        chrome = screen_pixel(fx + fw - 5, fy + fh - 5)
        assert brightness(chrome) < 128, f"the theme did not turn dark: {chrome}"

        paper_box = [box for box in descendants(frame, pyatspi.ROLE_COMBO_BOX) if box.name in ("White", "Black")]
        assert paper_box and paper_box[0].name == "White", [box.name for box in paper_box]

        box = editor(frame)
        x, y, width, height = box.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        paper = screen_pixel(x + width // 2, y + height - 20)
        assert paper == (255, 255, 255), f"paper is {paper}"

        type_text("WWWWWWWWWW")
        wait_for(lambda: text_of(box).startswith("WWWW"), "the typed text")
        text = box.queryText()
        cx, cy, cw, ch = text.getCharacterExtents(2, pyatspi.DESKTOP_COORDS)
        darkest = min((screen_pixel(px, cy + ch // 2) for px in range(cx, cx + cw)), key=brightness)
        assert brightness(darkest) < 80, f"text is not dark on the paper: {darkest}"


main()
