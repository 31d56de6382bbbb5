"""A private X desktop for one scenario: Xvfb, a session bus, the
accessibility bus with a screen reader's switch on, openbox, and optionally a
tray host. Every process it starts is stopped on exit."""

import os
import shutil
import signal
import subprocess
import tempfile
import time


class Deadline(Exception):
    pass


def wait_for(condition, what, seconds=10.0, interval=0.05):
    """Polls condition() until it returns something true, or raises after
    the deadline naming what was awaited."""
    end = time.monotonic() + seconds
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except Exception as error:  # the object may vanish while we look
            last_error = error
        if time.monotonic() > end:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Deadline(f"timed out after {seconds:.0f} s waiting for {what}{detail}")
        time.sleep(interval)


class Desktop:
    def __init__(self, tray=None, screen_reader=True):
        self.tray = tray  # None, "xembed" or "sni"
        self.screen_reader = screen_reader
        self.processes = []
        self.home = tempfile.mkdtemp(prefix="veltrix-e2e-")
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "XDG_RUNTIME_DIR": os.path.join(self.home, "run"),
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "NO_AT_BRIDGE": "0",
        }
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        os.makedirs(self.env["XDG_CONFIG_HOME"])

    def __enter__(self):
        try:
            self._start_x()
            self._start_session_bus()
            self._start_accessibility_bus()
            self.start(["openbox", "--sm-disable"], "openbox")
            try:
                wait_for(self._window_manager_running, "the window manager")
            except Deadline:
                with open(os.path.join(self.home, "openbox.log"), errors="replace") as log:
                    raise Deadline("the window manager did not start: " + log.read()[-2000:])
            if self.tray == "xembed":
                self.start(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                            "--width", "120", "--height", "32", "--SetDockType", "true"], "trayer")
                wait_for(self._trayer_window, "the XEmbed tray")
            elif self.tray == "sni":
                here = os.path.dirname(os.path.abspath(__file__))
                self.start(["/usr/bin/python3", os.path.join(here, "sni_watcher.py")], "the StatusNotifierItem watcher")
                wait_for(self._watcher_registered, "the StatusNotifierItem watcher")
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        for process, _ in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for process, _ in reversed(self.processes):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        shutil.rmtree(self.home, ignore_errors=True)
        return False

    def start(self, argv, name, env=None, **kwargs):
        log = open(os.path.join(self.home, os.path.basename(argv[0]) + ".log"), "ab")
        process = subprocess.Popen(argv, env=env or self.env, start_new_session=True,
                                   stdout=kwargs.pop("stdout", log), stderr=log, **kwargs)
        log.close()
        self.processes.append((process, name))
        return process

    def run(self, argv, **kwargs):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=30, **kwargs)

    def _start_x(self):
        read_end, write_end = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                   "Xvfb", pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        end = time.monotonic() + 20
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                if time.monotonic() > end:
                    raise Deadline("Xvfb did not report its display")
                chunk = pipe.read(1)
                if not chunk:
                    raise RuntimeError("Xvfb ended before it reported its display")
                number += chunk
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def _start_session_bus(self):
        process = self.start(["dbus-daemon", "--session", "--nofork", "--print-address=1"], "dbus-daemon",
                             stdout=subprocess.PIPE)
        address = process.stdout.readline().decode().strip()
        if not address:
            raise RuntimeError("the session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def _start_accessibility_bus(self):
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], "at-spi-bus-launcher")
        # What a screen reader does when it starts: switch the desktop's
        # accessibility on, so toolkits connect their bridges.
        def switch_on():
            result = self.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                               "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
                               "string:ScreenReaderEnabled", "variant:boolean:true"])
            return result.returncode == 0
        if self.screen_reader:
            wait_for(switch_on, "the accessibility bus")

    def _window_manager_running(self):
        result = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"])
        return result.returncode == 0 and "window id" in result.stdout

    def _trayer_window(self):
        result = self.run(["xdotool", "search", "--classname", "trayer"])
        return result.returncode == 0 and result.stdout.strip()

    def _watcher_registered(self):
        result = self.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                           "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                           "string:org.kde.StatusNotifierWatcher"])
        return "boolean true" in result.stdout
