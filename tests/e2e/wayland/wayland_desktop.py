"""A private Wayland desktop for one scenario: sway on its headless backend
with no Xwayland (a program that wrongly picks X11 cannot start), a session
bus, the accessibility bus with a screen reader's switch on, and optionally a
StatusNotifierItem watcher. Every process it starts is stopped on exit."""

import glob
import os
import pwd
import shutil
import signal
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from desktop import Deadline, Desktop, wait_for  # noqa: E402

# sway refuses to run as root; it runs as this user in a folder of its own,
# which root's clients reach all the same.
COMPOSITOR_USER = "nobody"

SWAY_CONFIG = """\
xwayland disable
output HEADLESS-1 resolution 1280x1024
default_border normal
"""


class WaylandDesktop(Desktop):
    """With `xwayland` on, sway also serves X11 clients, and DISPLAY names
    its Xwayland server."""

    def __init__(self, tray=None, screen_reader=True, xwayland=False):
        super().__init__(tray=tray, screen_reader=screen_reader)
        self.xwayland = xwayland
        self.sway = None
        self.compositor_home = tempfile.mkdtemp(prefix="veltrix-sway-")
        self.env["XDG_SESSION_TYPE"] = "wayland"

    def __enter__(self):
        try:
            self._start_sway()
            self._start_session_bus()
            self._start_accessibility_bus()
            if self.tray == "sni":
                here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
                self.start(["/usr/bin/python3", os.path.join(here, "sni_watcher.py")], "the StatusNotifierItem watcher")
                wait_for(self._watcher_registered, "the StatusNotifierItem watcher")
            elif self.tray is not None:
                raise ValueError(f"no {self.tray} tray on Wayland")
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        super().__exit__(*exc)
        # Xwayland and a helper sway forks for it can outlive sway itself,
        # whose group is then ended here.
        if self.sway is not None:
            try:
                os.killpg(self.sway.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        shutil.rmtree(self.compositor_home, ignore_errors=True)
        return False

    def _start_sway(self):
        user = pwd.getpwnam(COMPOSITOR_USER)
        runtime = os.path.join(self.compositor_home, "run")
        os.mkdir(runtime, 0o700)
        config = os.path.join(self.compositor_home, "config")
        display_note = os.path.join(self.compositor_home, "x-display")
        with open(config, "w") as file:
            if self.xwayland:
                file.write(SWAY_CONFIG.replace("xwayland disable", "xwayland force"))
                # Xwayland lets in only the user it runs as; the clients are root's.
                file.write(f"exec sh -c 'until xhost +si:localuser:root; do sleep 0.1; done; "
                           f"echo $DISPLAY > {display_note}.part && mv {display_note}.part {display_note}'\n")
            else:
                file.write(SWAY_CONFIG)
        for path in (self.compositor_home, runtime, config):
            os.chown(path, user.pw_uid, user.pw_gid)
        env = {"PATH": self.env["PATH"], "HOME": self.compositor_home, "XDG_RUNTIME_DIR": runtime,
               "WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1"}
        self.sway = self.start(["sway", "-c", config], "sway", env=env, user=user.pw_uid, group=user.pw_gid,
                               extra_groups=[])

        def sockets():
            display = [p for p in glob.glob(os.path.join(runtime, "wayland-*")) if not p.endswith(".lock")]
            ipc = glob.glob(os.path.join(runtime, "sway-ipc.*.sock"))
            return display and ipc and (display[0], ipc[0])
        try:
            display, ipc = wait_for(sockets, "sway's sockets", seconds=20)
        except Deadline:
            with open(os.path.join(self.home, "sway.log"), errors="replace") as log:
                raise Deadline("sway did not start: " + log.read()[-2000:])
        # A full path: the clients keep a runtime folder of their own.
        self.env["WAYLAND_DISPLAY"] = display
        self.env["SWAYSOCK"] = ipc
        wait_for(lambda: self.run(["swaymsg", "-t", "get_outputs"]).returncode == 0, "sway to answer")
        # A keyboard all along, as a real desktop has: without one, each
        # wtype run would plug one in and out, and clients would lose and
        # regain the keyboard (and the keys sent meanwhile) every time.
        self.start(["wtype", "-s", str(24 * 3600 * 1000)], "the resident keyboard")
        if self.xwayland:
            def x_display():
                with open(display_note) as note:
                    return note.read().strip()
            self.env["DISPLAY"] = wait_for(x_display, "sway's Xwayland", seconds=20)
