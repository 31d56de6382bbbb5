"""The tray round trip on a StatusNotifierItem tray, which reports no double
clicks: a left click (Activate) brings the window back, the right click
(ContextMenu) opens the context menu, whose Exit ends the program and takes
the item off the tray."""

TRAY = "sni"

import pyatspi
from veltrix_e2e import Program, call_item, exit_from_tray_menu, minimize_to_tray, registered_items, wait_for


def to_tray(program):
    minimize_to_tray(program)
    return wait_for(registered_items, "the item on the tray")[0]


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n") as program:
        program.window("Veltrix 3.0")
        item = to_tray(program)
        call_item(item, "Activate")
        program.window("Veltrix 3.0", role=pyatspi.ROLE_FRAME)

        item = to_tray(program)
        exit_from_tray_menu(program, item)


main()
