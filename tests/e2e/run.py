#!/usr/bin/python3
"""Runs the end-to-end scenarios, each on a private desktop of its own.

    run.py [--wayland] PROGRAM [SCENARIO...]

PROGRAM is the built program (the release build); without SCENARIO names every
scenario_*.py beside this file runs. With --wayland the scenarios of the
wayland folder run instead, each on a headless Wayland compositor. Exit status
0 when all pass."""

import glob
import os
import re
import subprocess
import sys
import time

from desktop import Desktop

HERE = os.path.dirname(os.path.abspath(__file__))
SCENARIO_SECONDS = 180


def tray_of(path):
    with open(path, encoding="utf-8") as file:
        found = re.search(r'^TRAY\s*=\s*"(\w+)"', file.read(), re.M)
    return found.group(1) if found else None


def run_scenario(program, path, desktop_kind):
    name = os.path.basename(path)[len("scenario_"):-3]
    started = time.monotonic()
    with desktop_kind(tray=tray_of(path)) as desktop:
        env = dict(desktop.env, VELTRIX_PROGRAM=program, PYTHONDONTWRITEBYTECODE="1")
        try:
            result = subprocess.run(["/usr/bin/python3", path], env=env, capture_output=True, text=True,
                                    timeout=SCENARIO_SECONDS, cwd=desktop.home)
            passed, output = result.returncode == 0, result.stdout + result.stderr
        except subprocess.TimeoutExpired as expired:
            passed, output = False, f"scenario ran longer than {SCENARIO_SECONDS} s\n{expired.stdout or ''}{expired.stderr or ''}"
    seconds = time.monotonic() - started
    print(f"{'PASS' if passed else 'FAIL'}  {name}  ({seconds:.1f} s)", flush=True)
    if not passed or os.environ.get("VELTRIX_E2E_VERBOSE"):
        print("    " + output.strip().replace("\n", "\n    "), flush=True)
    return passed


def main():
    arguments = sys.argv[1:]
    wayland = arguments[:1] == ["--wayland"]
    if wayland:
        arguments.pop(0)
    if not arguments:
        print(__doc__, file=sys.stderr)
        return 2
    program = os.path.abspath(arguments[0])
    wanted = arguments[1:]
    folder, desktop_kind = HERE, Desktop
    if wayland:
        from wayland.wayland_desktop import WaylandDesktop
        folder, desktop_kind = os.path.join(HERE, "wayland"), WaylandDesktop
    paths = sorted(glob.glob(os.path.join(folder, "scenario_*.py")))
    if wanted:
        paths = [p for p in paths if os.path.basename(p)[len("scenario_"):-3] in wanted]
    failed = [p for p in paths if not run_scenario(program, p, desktop_kind)]
    print(f"{len(paths) - len(failed)} of {len(paths)} {'Wayland ' if wayland else ''}end-to-end scenarios passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
