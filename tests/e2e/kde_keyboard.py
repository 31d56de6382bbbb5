#!/usr/bin/python3
"""A stand-in for KDE Plasma's keyboard service on the scenario's session bus:
org.kde.keyboard, object /Layouts, interface org.kde.KeyboardLayouts, with the
US and Russian layouts. Every setLayout asked is written to RECORD, one index a
line. The user's own switch is played by calling userSwitch(index) on the
interface org.veltrix.e2e.Keyboard.

    kde_keyboard.py RECORD"""

import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

INTERFACE = "org.kde.KeyboardLayouts"
LAYOUTS = [("us", "", "English (US)"), ("ru", "", "Russian")]


class Layouts(dbus.service.Object):
    def __init__(self, bus, record):
        super().__init__(bus, "/Layouts")
        self.index = 0
        self.record = record

    @dbus.service.method(INTERFACE, out_signature="u")
    def getLayout(self):
        return dbus.UInt32(self.index)

    @dbus.service.method(INTERFACE, in_signature="u", out_signature="b")
    def setLayout(self, index):
        with open(self.record, "a") as record:
            record.write(f"{int(index)}\n")
        if index >= len(LAYOUTS):
            return False
        self.switch(index)
        return True

    @dbus.service.method(INTERFACE, out_signature="a(sss)")
    def getLayoutsList(self):
        return dbus.Array([dbus.Struct(layout, signature="sss") for layout in LAYOUTS], signature="(sss)")

    @dbus.service.signal(INTERFACE, signature="u")
    def layoutChanged(self, index):
        pass

    @dbus.service.method("org.veltrix.e2e.Keyboard", in_signature="u")
    def userSwitch(self, index):
        self.switch(index)

    def switch(self, index):
        self.index = int(index)
        self.layoutChanged(dbus.UInt32(self.index))


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    layouts = Layouts(bus, sys.argv[1])
    name = dbus.service.BusName("org.kde.keyboard", bus)  # noqa: F841 (held while running)
    GLib.MainLoop().run()
    del layouts


main()
