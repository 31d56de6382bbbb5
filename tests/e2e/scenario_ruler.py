"""Dragging the first-line marker left of the scale: it follows the pointer
for the whole drag, and goes back onto the scale once dropped."""

import time

import pyatspi
from veltrix_e2e import Program, descendants, run, wait_for

SNAP_LIMIT = 7   # pixels from the ruler's left: a marker left of it goes back...
SNAP_TO = 8      # ...to here


def extents(accessible):
    return accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        frame = program.window("Veltrix 3.0")
        scale = wait_for(lambda: [i for i in descendants(frame, pyatspi.ROLE_IMAGE) if i.name], "the ruler's scale")[0]
        ruler = scale.parent
        first_line = ruler.getChildAtIndex(scale.getIndexInParent() + 1)
        ruler_x = extents(ruler)[0]
        x, y, width, height = extents(first_line)
        assert x - ruler_x == SNAP_TO, x - ruler_x

        grab_x, grab_y = x + width // 2, y + 3
        run(["xdotool", "mousemove", "--sync", str(grab_x), str(grab_y), "mousedown", "1"])
        for step in range(1, 6):  # five pixels left, as a hand moves
            run(["xdotool", "mousemove", "--sync", str(grab_x - step), str(grab_y)])
            time.sleep(0.05)
        wait_for(lambda: extents(first_line)[0] - ruler_x == SNAP_TO - 5, "the marker to follow the pointer")
        time.sleep(0.5)  # repaints come and go while the button is held
        assert extents(first_line)[0] - ruler_x == SNAP_TO - 5, "the marker snapped back during the drag"

        run(["xdotool", "mouseup", "1"])
        wait_for(lambda: extents(first_line)[0] - ruler_x == SNAP_TO, "the dropped marker back on the scale")


main()
