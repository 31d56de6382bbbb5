#!/usr/bin/python3
"""How long the program takes to show its window, on each kind of desktop.

    startup_bench.py [--runs N] PROGRAM [PROGRAM...]

For each PROGRAM, on a private desktop of each kind (tests/e2e): X11 (Xvfb
and openbox), Wayland (sway headless, Qt's wayland platform chosen by the
program itself) and XWayland (the same sway with Xwayland, the program told
QT_QPA_PLATFORM=xcb). A run is timed from the start of the process until the
compositor or window manager shows its main window and a screen reader can
read the window's menu through AT-SPI; the program is then killed. One
unmeasured run of each warms the caches; N runs (default 9) of each follow,
the programs taking turns. Prints the median
and range of each, and the ratios of Wayland to XWayland and of each PROGRAM to
the first. Needs the e2e packages, xwayland and x11-xserver-utils."""

import json
import os
import random
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
E2E = os.path.join(HERE, "..", "tests", "e2e")
sys.path.insert(0, E2E)
sys.path.insert(0, os.path.join(E2E, "wayland"))

KINDS = ("x11", "wayland", "xwayland")
POLL_SECONDS = 0.01
RUN_SECONDS = 30


def shown_on_x11(pid):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], capture_output=True,
                         text=True, timeout=10).stdout
    return bool(out.split())


def shown_on_sway(pid):
    out = subprocess.run(["swaymsg", "-r", "-t", "get_tree"], capture_output=True, text=True, timeout=10).stdout
    stack = [json.loads(out)]
    while stack:
        node = stack.pop()
        if node.get("pid") == pid and node.get("name") == "Veltrix 3.0" and node.get("visible", True):
            return True
        stack += node.get("nodes", []) + node.get("floating_nodes", [])
    return False


def readable(pid):
    """The main window's menu read as a screen reader reads it."""
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is None or app.get_process_id() != pid:
            continue
        for window in (app.getChildAtIndex(i) for i in range(app.childCount)):
            if window is not None and window.name == "Veltrix 3.0" and \
                    window.getState().contains(pyatspi.STATE_SHOWING):
                return bool(pyatspi.findDescendant(window, lambda a: a.getRole() == pyatspi.ROLE_MENU_ITEM
                                                   and a.name == "File"))
    return False


def start_once(kind, program, env):
    """Seconds from the start of a fresh copy of `program` to its window shown."""
    shown = shown_on_x11 if kind == "x11" else shown_on_sway
    folder = tempfile.mkdtemp(prefix="veltrix-bench-")
    binary = os.path.join(folder, "veltrix")
    shutil.copy2(program, binary)
    with open(os.path.join(folder, "Veltrix.ini"), "w", newline="\r\n") as file:
        file.write("[LANGUAGE]\nLang=1\n")
    started = time.monotonic()
    process = subprocess.Popen([binary], cwd=folder, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        while not (shown(process.pid) and readable(process.pid)):
            if process.poll() is not None:
                raise RuntimeError(f"{program} ended with {process.returncode} on {kind}")
            if time.monotonic() - started > RUN_SECONDS:
                raise RuntimeError(f"{program} showed no window in {RUN_SECONDS} s on {kind}")
            time.sleep(POLL_SECONDS)
        return time.monotonic() - started
    finally:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait()
        shutil.rmtree(folder, ignore_errors=True)


def measure(kind, programs, runs):
    """Inside the desktop's environment: the seconds of each run of each
    program. The programs take turns in a shuffled order, so that the
    machine's other load falls on each alike."""
    env = dict(os.environ)
    if kind == "xwayland":
        env["QT_QPA_PLATFORM"] = "xcb"
    for program in programs:
        start_once(kind, program, env)  # warms the caches
    seconds = {program: [] for program in programs}
    turns = random.Random(runs)
    for _ in range(runs):
        order = list(programs)
        turns.shuffle(order)  # no program always follows the same one
        for program in order:
            seconds[program].append(start_once(kind, program, env))
    return seconds


def on_desktop(kind, programs, runs):
    from desktop import Desktop
    from wayland_desktop import WaylandDesktop
    desktop = Desktop() if kind == "x11" else WaylandDesktop(xwayland=kind == "xwayland")
    with desktop:
        result = subprocess.run(["/usr/bin/python3", os.path.abspath(__file__), "--inside", kind, str(runs), *programs],
                                env=dict(desktop.env, PYTHONDONTWRITEBYTECODE="1"), capture_output=True,
                                text=True, cwd=desktop.home, timeout=RUN_SECONDS * (runs + 1) * len(programs))
    if result.returncode != 0:
        raise RuntimeError(result.stderr.strip())
    return json.loads(result.stdout)


def main():
    arguments = sys.argv[1:]
    if arguments[:1] == ["--inside"]:
        kind, runs, programs = arguments[1], int(arguments[2]), arguments[3:]
        print(json.dumps(measure(kind, programs, runs)))
        return 0
    runs = 9
    if arguments[:1] == ["--runs"]:
        runs = int(arguments[1])
        arguments = arguments[2:]
    if not arguments:
        print(__doc__, file=sys.stderr)
        return 2
    programs = [os.path.abspath(p) for p in arguments]
    medians = {}
    for kind in KINDS:
        for program, seconds in on_desktop(kind, programs, runs).items():
            medians[program, kind] = statistics.median(seconds)
            print(f"{kind:9} {program}  median {medians[program, kind] * 1000:7.1f} ms  "
                  f"(min {min(seconds) * 1000:.1f}, max {max(seconds) * 1000:.1f}, {runs} runs)", flush=True)
    for program in programs:
        print(f"{program}  wayland / xwayland {medians[program, 'wayland'] / medians[program, 'xwayland']:.2f}")
    for program in programs[1:]:
        for kind in KINDS:
            print(f"{kind:9} {program} / {programs[0]}: {medians[program, kind] / medians[programs[0], kind]:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
