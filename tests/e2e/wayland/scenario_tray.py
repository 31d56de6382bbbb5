"""Started with an argument on a Wayland desktop with a StatusNotifierItem
tray, the window goes to the tray: its item registers and the window leaves
the screen; the item's Activate brings it back and takes the item off. Exit
from the item's menu ends the program."""

TRAY = "sni"

import pyatspi
from wayland_e2e import Program, wait_for, windows
from veltrix_e2e import call_item, exit_from_tray_menu, registered_items


def main():
    with Program(settings="[LANGUAGE]\nLang=1\n", args=["to-tray"]) as program:
        item = wait_for(registered_items, "the item on the tray")[0]
        wait_for(lambda: "Veltrix 3.0" not in windows(program), "the window to leave the screen")
        call_item(item, "Activate")
        program.window("Veltrix 3.0", role=pyatspi.ROLE_FRAME)
        wait_for(lambda: "Veltrix 3.0" in windows(program), "the window back on the screen")
        wait_for(lambda: not registered_items(), "the item to leave the tray")

    # The menu opened from the tray, with no window of the program shown.
    with Program(settings="[LANGUAGE]\nLang=1\n", args=["to-tray"]) as program:
        item = wait_for(registered_items, "the item on the tray")[0]
        wait_for(lambda: "Veltrix 3.0" not in windows(program), "the window to leave the screen")
        exit_from_tray_menu(program, item)


main()
