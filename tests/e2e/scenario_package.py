"""The Debian package as a user gets it. Unpacked into a private root (what
dpkg installs, without touching this machine), it puts the program, its
desktop entry and icons where the desktop looks for them. The installed
program, started from a folder it cannot write, keeps its settings in the
user's configuration folder: the language chosen with F9 is there at the next
start. Last, a file named on the command line opens in the window."""

import glob
import gzip
import os
import shutil
import stat
import struct
import subprocess
import tempfile
from xml.etree import ElementTree

import pyatspi
from veltrix_e2e import PROGRAM, Program, editor, find, key, run, text_of, wait_for

TITLE = "Veltrix 3.0"
# Root bypasses permission bits; without these capabilities it meets them as
# any user does, and stays the owner of the desktop's buses and folders.
NO_OVERRIDE = ["setpriv", "--inh-caps=-dac_override,-dac_read_search",
               "--bounding-set=-dac_override,-dac_read_search", "--"]


def package():
    """The newest package cpack made beside the release build, which must
    not be older than that build."""
    build = os.path.dirname(PROGRAM)
    found = sorted(glob.glob(os.path.join(build, "veltrix_*.deb")), key=os.path.getmtime)
    assert found, f"no veltrix_*.deb in {build}: make it with (cd {build} && cpack -G DEB)"
    assert os.path.getmtime(found[-1]) >= os.path.getmtime(PROGRAM), f"{found[-1]} is older than {PROGRAM}"
    return found[-1]


def png_size(path):
    with open(path, "rb") as file:
        header = file.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", path
    return struct.unpack(">II", header[16:24])


def known_mime_types():
    """Types and aliases shared-mime-info knows on this machine."""
    known = set()
    for name in ("types", "aliases"):
        with open(os.path.join("/usr/share/mime", name), encoding="utf-8") as file:
            known.update(word for line in file for word in line.split())
    return known


def check_contents(deb, root):
    fields = run(["dpkg-deb", "-f", deb, "Package", "Version", "Architecture", "Section", "Depends", "Recommends"])
    control = dict(line.split(": ", 1) for line in fields.splitlines())
    assert control["Package"] == "veltrix" and control["Version"].startswith("3.0-"), control
    assert control["Section"] == "editors" and control["Architecture"] == "amd64", control
    # Read from the program's libraries, not listed by hand.
    assert "libqt6widgets6" in control["Depends"] and "libc6" in control["Depends"], control
    assert "fonts-liberation2" in control["Recommends"], control
    assert "qt6-wayland" in control["Recommends"], control

    program = os.path.join(root, "usr/bin/veltrix")
    assert os.access(program, os.X_OK), "the program in /usr/bin"
    assert b".debug_info" not in open(program, "rb").read(), "the installed program is stripped"
    icons = os.path.join(root, "usr/share/icons/hicolor")
    assert os.path.isfile(os.path.join(icons, "scalable/apps/veltrix.svg")), "the scalable icon"
    pngs = glob.glob(os.path.join(icons, "*/apps/veltrix.png"))
    assert len(pngs) == 1, pngs
    width, height = png_size(pngs[0])
    assert pngs[0].endswith(f"/{width}x{height}/apps/veltrix.png"), f"{pngs[0]} is {width}x{height}"

    with open(os.path.join(root, "usr/share/applications/veltrix.desktop"), encoding="utf-8") as file:
        entry = dict(line.rstrip("\n").split("=", 1) for line in file if "=" in line)
    assert entry["Exec"].split()[0] == "veltrix" and entry["Icon"] == "veltrix", entry
    types = [t for t in entry["MimeType"].split(";") if t]
    assert "text/plain" in types and "text/rtf" in types, types
    shipped = glob.glob(os.path.join(root, "usr/share/mime/packages/*.xml"))
    unknown = [t for t in types if t not in known_mime_types()]
    assert not unknown or shipped, f"types neither shared-mime-info nor the package describes: {unknown}"
    check_documents(root)


def check_documents(root):
    """The manual pages, the licence and changelog, and the software centre's
    description that come with the program."""
    for page, heading in (("usr/share/man/man1/veltrix.1.gz", ".SH NAME"),
                          ("usr/share/man/ru/man1/veltrix.1.gz", ".SH ИМЯ")):
        with gzip.open(os.path.join(root, page), "rt", encoding="utf-8") as file:
            assert heading in file.read(), f"{page} in its language"
    doc = os.path.join(root, "usr/share/doc/veltrix")
    with open(os.path.join(doc, "copyright"), encoding="utf-8") as file:
        assert "License: GPL-3+" in file.read(), "the copyright file names the licence"
    with gzip.open(os.path.join(doc, "changelog.Debian.gz"), "rt", encoding="utf-8") as file:
        assert file.readline().startswith("veltrix (3.0-"), "the changelog's first entry"
    metainfo = glob.glob(os.path.join(root, "usr/share/metainfo/*.metainfo.xml"))
    assert len(metainfo) == 1, metainfo
    component = ElementTree.parse(metainfo[0]).getroot()
    assert os.path.basename(metainfo[0]) == component.findtext("id") + ".metainfo.xml", metainfo[0]
    launchable = component.findtext("launchable[@type='desktop-id']")
    assert os.path.isfile(os.path.join(root, "usr/share/applications", launchable)), launchable


def read_only_install(root):
    """Makes the unpacked program's folder one the program cannot write, as
    /usr/bin is to a user, and proves it with the same kind of write."""
    bin_dir = os.path.join(root, "usr/bin")
    os.chmod(bin_dir, stat.S_IRUSR | stat.S_IXUSR | stat.S_IRGRP | stat.S_IXGRP | stat.S_IROTH | stat.S_IXOTH)
    wrapper = NO_OVERRIDE if os.geteuid() == 0 else []
    probe = subprocess.run(wrapper + ["touch", os.path.join(bin_dir, "probe")], capture_output=True)
    assert probe.returncode != 0, "the program's folder can still be written"
    return bin_dir, wrapper


class Installed(Program):
    """The unpacked program, started in place as a user starts it."""

    def __init__(self, binary, wrapper, args=()):
        self.folder = tempfile.mkdtemp(prefix="veltrix-run-")
        self.binary = binary
        self.log = open(os.path.join(self.folder, "output.log"), "w+")
        self.process = subprocess.Popen(wrapper + [binary, *args], cwd=self.folder, stdout=self.log,
                                        stderr=subprocess.STDOUT, start_new_session=True)
        self._app = None

    @property
    def settings_path(self):
        return os.path.join(os.environ["XDG_CONFIG_HOME"], "Veltrix", "Veltrix.ini")


def focused_window(program, title):
    """The main window once the keyboard reaches it, so keys pressed go there."""
    program.wait_x_title(title)
    frame = program.window(title)
    wait_for(lambda: editor(frame).getState().contains(pyatspi.STATE_FOCUSED), "the keyboard focus in the editor")
    return frame


def exit_from(program):
    key("Escape")  # Exit: nothing typed, so no question
    assert program.wait_exit() == 0, program.output()


def keeps_settings(bin_dir, wrapper):
    binary = os.path.join(bin_dir, "veltrix")
    with Installed(binary, wrapper) as program:
        frame = focused_window(program, TITLE)
        find(frame, pyatspi.ROLE_MENU_ITEM, "File")  # a new user's English
        # After an English start the first switch only unticks the check box;
        # each switch writes the settings file at once.
        key("F9")
        wait_for(lambda: "Lang=1" in program.settings(), "the first switch written")
        key("F9")
        find(frame, pyatspi.ROLE_MENU_ITEM, "Файл")
        exit_from(program)
        assert "Lang=0" in program.settings(), program.settings()
    assert os.listdir(bin_dir) == ["veltrix"], os.listdir(bin_dir)

    with Installed(binary, wrapper) as program:
        frame = focused_window(program, TITLE)
        find(frame, pyatspi.ROLE_MENU_ITEM, "Файл")
        exit_from(program)
    print("settings kept in", program.settings_path)


def opens_file_from_command_line(bin_dir, wrapper):
    document = os.path.join(os.getcwd(), "letter.txt")  # run.py starts us in the desktop's own home
    with open(document, "wb") as file:
        file.write(b"Opened from the command line\r\n")
    with Installed(os.path.join(bin_dir, "veltrix"), wrapper, args=[document]) as program:
        title = f"letter.txt - {TITLE}"
        frame = focused_window(program, title)
        wait_for(lambda: text_of(editor(frame)).startswith("Opened from the command line"), "the file's text")
        exit_from(program)
    print("file opened from the command line")


def main():
    deb = package()
    root = tempfile.mkdtemp(prefix="veltrix-root-")
    try:
        run(["dpkg", "-x", deb, root])
        check_contents(deb, root)
        print("package contents:", os.path.basename(deb))
        bin_dir, wrapper = read_only_install(root)
        keeps_settings(bin_dir, wrapper)
        # Needs the program to open the files named when it starts.
        opens_file_from_command_line(bin_dir, wrapper)
    finally:
        if os.path.isdir(os.path.join(root, "usr/bin")):
            os.chmod(os.path.join(root, "usr/bin"), 0o755)
        shutil.rmtree(root, ignore_errors=True)


main()
