#!/usr/bin/python3
"""Drives the real window as a person would, under its own Xvfb, docked into an X11 host window.

1. `TransQuorvaZentris exportar <host>`: the file dialog comes up first; the example document's
   path is typed into it; "Proceso finalizado" is confirmed. The window must have been a child
   of the host, the six working tables must be written, "Quorvane.ini" beside the executable must
   say 1, and the program must end by itself.
2. `TransQuorvaZentris abrir <host>`: the window shows inside the host, centred by the screen's
   size from the host's corner, without border; Alt+S closes it, writes status 0 and ends it.
3. The same, but the host window goes away: the program ends too and still writes its status.

The executable is copied into a temporary folder first, so the status file is never written
beside the build's own. Exits 77 (skipped) when Xvfb, xdotool or xwininfo are missing.
Usage: window_e2e.py PROGRAM HOST DOCUMENT
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
TABLES = ["ASIGNOMT.DBF", "PROFT.DBF", "AULAT.DBF", "GRUPOST.DBF", "ASIGT.DBF", "DIASHORAST.DBF"]
CAPTION = "Exportar e importar datos entre Quorvane y Zentris "
SCREEN = (1280, 1024)


def wait_for(what, probe, timeout=30.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = probe()
        if result:
            return result
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + what)


class Display:
    """An Xvfb of our own on a display number it picks itself."""

    def __init__(self, folder):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["/usr/bin/Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN,
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=open(os.path.join(folder, "xvfb.log"), "w"))
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            raise AssertionError("Xvfb did not start")
        self.name = ":" + number

    def close(self):
        self.server.terminate()
        self.server.wait(timeout=10)


class Session:
    def __init__(self, folder, display, program, host_program, document):
        self.folder = folder
        self.env = dict(os.environ, DISPLAY=display.name, QT_QPA_PLATFORM="xcb",
                        XDG_RUNTIME_DIR=self.make_dir("runtime", 0o700),
                        TQZ_WTEMP=os.path.join(folder, "WTEMP"), LC_ALL="C.UTF-8")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.bin = self.make_dir("bin")
        self.program = shutil.copy2(program, self.bin)
        self.host_program = host_program
        self.document = shutil.copy2(document, self.make_dir(os.path.join("WTEMP", "zentris")))
        self.status_file = os.path.join(self.bin, "Quorvane.ini")

    def make_dir(self, name, mode=0o755):
        path = os.path.join(self.folder, name)
        os.makedirs(path, exist_ok=True)
        os.chmod(path, mode)
        return path

    def tool(self, *args, check=True):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True, check=check).stdout

    def start_host(self):
        host = subprocess.Popen([self.host_program], env=self.env, stdout=subprocess.PIPE, text=True)
        return host, host.stdout.readline().strip()

    def start_window(self, verb, host_id):
        log = open(os.path.join(self.folder, verb + ".log"), "w")
        return subprocess.Popen([self.program, verb, host_id], env=self.env, stdout=log, stderr=log)

    def find_window(self, title):
        def probe():
            found = self.tool("xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title), check=False)
            return found.split()[0] if found.split() else None
        return wait_for("window " + repr(title), probe)

    def children(self, window):
        return self.tool("xwininfo", "-children", "-id", window)

    def press(self, window, *keys, text=None):
        """Types as the keyboard does. Without a window manager the keyboard follows the pointer,
        so the pointer goes onto the window first, and a click on a bare spot of it makes Qt take
        it as the active window, which shortcuts need; real key events (not ones sent to a window)
        also reach the file name completer's popup, which takes the keyboard while it is open."""
        self.tool("xdotool", "mousemove", "--window", window, "12", "12")
        self.tool("xdotool", "click", "1")
        if text is not None:
            self.tool("xdotool", "type", "--delay", "15", text)
        for key in keys:
            time.sleep(0.3)
            self.tool("xdotool", "key", key)

    def gone(self, window):
        return wait_for("window %s to close" % window,
                        lambda: "IsViewable" not in self.tool("xwininfo", "-id", window, check=False))

    def status(self):
        with open(self.status_file, "rb") as status:
            return status.read()


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def ended(process, what):
    try:
        code = process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        process.kill()
        raise AssertionError(what + ": the program did not end")
    expect(code == 0, "%s: exit status %d" % (what, code))


def convert_docked(session):
    host, host_id = session.start_host()
    window = session.start_window("exportar", host_id)
    try:
        dialog = session.find_window("Archivo XML")
        tree = session.children("0x" + host_id)
        expect(CAPTION in tree, "the window is not a child of the host:\n" + tree)
        session.press(dialog, "Return", text=session.document)
        session.gone(dialog)
        message = session.find_window("TransQuorvaZentris")
        session.press(message, "Return")
        ended(window, "exportar")
    finally:
        window.kill()
        host.kill()
        host.wait()
    workdir = session.env["TQZ_WTEMP"]
    missing = [table for table in TABLES if not os.path.isfile(os.path.join(workdir, table))]
    expect(not missing, "tables not written: %s" % missing)
    expect(session.status() == b"[Transformadores]\r\nTransformado=1\r\n", "status file: %r" % session.status())


def shown_docked(session):
    """Starts a window with a verb that runs nothing; returns host, its id, the window and its id."""
    host, host_id = session.start_host()
    window = session.start_window("abrir", host_id)

    def docked_child():
        match = re.search(r"(0x[0-9a-f]+) \"%s\": \(.*\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)" % re.escape(CAPTION),
                          session.children("0x" + host_id))
        return match if match and "IsViewable" in session.tool("xwininfo", "-id", match.group(1)) else None

    child = wait_for("the docked window", docked_child)
    return host, window, child


def closed_with_alt_s(session):
    os.remove(session.status_file)
    host, window, child = shown_docked(session)
    try:
        size = (int(child.group(2)), int(child.group(3)))
        position = (int(child.group(4)), int(child.group(5)))
        expect(position == ((SCREEN[0] - size[0]) // 2, (SCREEN[1] - size[1]) // 2), "position %s" % (position,))
        session.press(child.group(1), "alt+s")
        ended(window, "Alt+S")
    finally:
        window.kill()
        host.kill()
        host.wait()
    expect(session.status() == b"[Transformadores]\r\nTransformado=0\r\n", "status file: %r" % session.status())


def host_goes_away(session):
    os.remove(session.status_file)
    host, window, _ = shown_docked(session)
    host.kill()
    host.wait()
    try:
        ended(window, "host gone")
    finally:
        window.kill()
    expect(session.status() == b"[Transformadores]\r\nTransformado=0\r\n", "status file: %r" % session.status())


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    tools = ["/usr/bin/Xvfb", shutil.which("xdotool"), shutil.which("xwininfo")]
    if not all(tool and os.path.exists(tool) for tool in tools):
        print("skipped: Xvfb, xdotool or xwininfo is not installed")
        return SKIPPED
    program, host_program, document = sys.argv[1:]
    with tempfile.TemporaryDirectory(prefix="tqz-window-") as folder:
        display = Display(folder)
        try:
            session = Session(folder, display, program, host_program, document)
            for step in (convert_docked, closed_with_alt_s, host_goes_away):
                try:
                    step(session)
                except Exception:
                    for log in sorted(os.listdir(folder)):
                        if log.endswith(".log"):
                            print("--- %s\n%s" % (log, open(os.path.join(folder, log)).read()))
                    raise
                print("ok: " + step.__name__)
        finally:
            display.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
