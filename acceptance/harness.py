#!/usr/bin/python3
"""The private session every check of the real program runs in: an X server of its own, the
session and accessibility buses when asked for, a scratch Wine prefix, the local web server,
and waiting for the quiz's window. The round the checks play is read from round.json.

As a module (checks put this folder on sys.path):

    with Session(buses=True) as session:
        program = session.start([PROGRAM])
        window = session.window(wm_class="zun-mitologia")

As a program, one command inside a session, for checks driven from Node.js:

    acceptance/harness.py [--screen WxHxD] -- COMMAND [ARGS...]
"""
import argparse
import fcntl
import glob
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent
# The window's title, as the form table gives it.
TITLE = json.loads((ROOT / "data" / "form.json").read_text(encoding="utf-8"))["title"]
SKIPPED = 77  # CTest's SKIP_RETURN_CODE for every check
WINE = "/usr/lib/wine/wine64"
# Debian 13's Wine has only the 64-bit server, under its own name.
WINESERVER = next(
    (p for p in ("/usr/lib/wine/wineserver", "/usr/lib/wine/wineserver64") if os.path.exists(p)),
    "/usr/lib/wine/wineserver",
)
# What a desktop session would hand on, and a private one must not.
SHARED = ("DBUS_", "AT_SPI", "XDG_", "DISPLAY", "QT_", "LC_", "WAYLAND_")


def skip_unless(*tools):
    """Exits as skipped, naming what is missing, unless every tool is installed."""
    missing = [tool for tool in tools if shutil.which(tool) is None]
    if missing:
        print(f"skipped: not installed: {', '.join(missing)}")
        sys.exit(SKIPPED)


def skip_unless_built(pattern, how):
    """Exits as skipped unless a file matches the pattern, saying which command makes it."""
    if not glob.glob(str(pattern)):
        print(f"skipped: no {pattern}; {how} makes it")
        sys.exit(SKIPPED)


def report(check, problems):
    """Prints a check's problems and its verdict; its exit status."""
    for problem in problems:
        print("  " + problem)
    print(f"{check}: {'failed' if problems else 'passed'}")
    return 1 if problems else 0


def load_round():
    """The round every check plays: each step's keys and what the quiz must say."""
    return json.loads((HERE / "round.json").read_text(encoding="utf-8"))


def sentence(parts):
    """A sentence of the round, kept in round.json as its parts."""
    return " ".join(parts) if parts else None


def wait_for(predicate, seconds, step=0.1):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if predicate():
            return True
        time.sleep(step)
    return False


def start_xvfb(screen):
    """A private X server on the first free display; returns it and its display name."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp"],
        pass_fds=[write_end],
        stdin=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        return server, ":" + pipe.readline().strip()


def wine_env(prefix, base=None, dll_overrides="mscoree,mshtml="):
    """The environment Wine runs in with this prefix: quiet, and without Mono or Gecko."""
    env = dict(os.environ if base is None else base, WINEPREFIX=str(prefix), WINEDEBUG="-all")
    env["WINEDLLOVERRIDES"] = dll_overrides
    return env


def prepare_wine_prefix(prefix):
    """A Wine prefix where Times New Roman is a family drawn with its metric twin, Liberation
    Serif (a plain Windows substitute is not listed, so Qt passes it by). Made once: a marker
    file says it is ready, and a lock keeps two makers apart."""
    quiet = dict(env=wine_env(prefix), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    quiet["stderr"] = subprocess.DEVNULL
    pathlib.Path(prefix).mkdir(parents=True, exist_ok=True)
    with open(f"{prefix}.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        marker = pathlib.Path(prefix, ".fonts-replaced")
        if not marker.exists():
            subprocess.run([WINE, "wineboot", "--init"], **quiet)
            key = r"HKCU\Software\Wine\Fonts\Replacements"
            subprocess.run(
                [WINE, "reg", "add", key, "/v", "Times New Roman", "/d", "Liberation Serif", "/f"],
                **quiet,
            )
            subprocess.run([WINESERVER, "-w"], **quiet)
            marker.touch()


class Session:
    """A scratch home with an X server of its own and, when asked, the session bus and the
    accessibility bus. With private, nothing of the caller's desktop is handed on. What is
    started in it stops with it; ZUN_KEEP_SESSION=1 keeps the home to read."""

    def __init__(self, screen="640x480x24", buses=False, a11y=False, private=False):
        self.home = tempfile.mkdtemp(prefix="zun-session-")
        self.processes = []
        self._display = None
        base = os.environ
        if private:
            base = {k: v for k, v in os.environ.items() if not k.startswith(SHARED)}
        self.env = dict(base, XDG_RUNTIME_DIR=self.mkdir("runtime"))
        self.env.pop("QT_QPA_PLATFORM", None)
        if private:
            self.env.update(HOME=self.home, XDG_CONFIG_HOME=self.mkdir("config"))
            self.env.update(XDG_DATA_HOME=self.mkdir("data"), XDG_CACHE_HOME=self.mkdir("cache"))
        server, self.env["DISPLAY"] = start_xvfb(screen)
        self.processes.append(server)
        if buses or a11y:
            self._session_bus()
        if a11y:
            self._accessibility_bus()

    def mkdir(self, name):
        path = os.path.join(self.home, name)
        os.makedirs(path, mode=0o700, exist_ok=True)
        return path

    def _session_bus(self):
        # A desktop session has its own bus; without one Qt would autolaunch a bus of its own.
        bus = self.start(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE,
            text=True,
        )
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()

    def _accessibility_bus(self):
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"])
        time.sleep(1)
        status = ["org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status"]
        self.run(
            "dbus-send",
            "--session",
            "--dest=org.a11y.Bus",
            "/org/a11y/bus",
            *status,
            "string:IsEnabled",
            "variant:boolean:true",
            check=True,
        )
        self.start(["/usr/libexec/at-spi2-registryd"])

    def start(self, command, env=None, **kwargs):
        """A process of the session, quiet unless its output is asked for."""
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL, env=env or self.env, **kwargs)
        self.processes.append(process)
        return process

    def run(self, *command, env=None, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        return subprocess.run(command, stdin=subprocess.DEVNULL, env=env or self.env, **kwargs)

    @property
    def display(self):
        if self._display is None:
            from Xlib import display

            self._display = display.Display(self.env["DISPLAY"])
        return self._display

    def xdotool(self, *args):
        return self.run("xdotool", *args, stdout=subprocess.PIPE, text=True).stdout.split()

    def window(self, name=None, wm_class=None, seconds=90):
        """The first visible window with this caption or class, as an Xlib window; None if
        none showed within the time."""
        how = ["--name", name] if name else ["--class", wm_class]
        found = []

        def shown():
            found[:] = self.xdotool("search", "--onlyvisible", *how)
            return found

        wait_for(shown, seconds, 0.3)
        return self.display.create_resource_object("window", int(found[0])) if found else None

    def focus(self, window):
        """The focus given as a window manager would."""
        self.run("xdotool", "windowfocus", "--sync", str(window.id))

    def keys(self, *names, pause=0.3):
        for name in names:
            self.run("xdotool", "key", "--clearmodifiers", name)
            time.sleep(pause)

    def close(self, window, program=None, seconds=60):
        """WM_DELETE_WINDOW, as a window manager sends when the user closes the window; the
        program's exit status when it is given."""
        from Xlib import X, protocol

        atoms = [self.display.intern_atom(n) for n in ("WM_PROTOCOLS", "WM_DELETE_WINDOW")]
        data = (32, [atoms[1], X.CurrentTime, 0, 0, 0])
        event = protocol.event.ClientMessage(window=window, client_type=atoms[0], data=data)
        window.send_event(event)
        self.display.sync()
        return program.wait(timeout=seconds) if program else None

    def photograph(self, path):
        """The screen, with the black around the windows trimmed away."""
        self.run("import", "-window", "root", str(path))
        self.run("convert", str(path), "-trim", "+repage", str(path))

    def serve(self, site):
        """The site on 127.0.0.1 through the checks' own web server; returns its address."""
        server = self.start(
            ["node", str(HERE / "web" / "serve.js"), str(site)], stdout=subprocess.PIPE, text=True
        )
        return server.stdout.readline().strip()

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
        if os.environ.get("ZUN_KEEP_SESSION"):
            print(f"session kept in {self.home}")
        else:
            shutil.rmtree(self.home, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.stop()


class WineSession(Session):
    """A session with a scratch Wine prefix in its home, the quiz's font replacement in it."""

    def __init__(self, dll_overrides="mscoree,mshtml=", screen="640x480x24"):
        super().__init__(screen=screen)
        self.prefix = os.path.join(self.home, "prefix")
        self.env = wine_env(self.prefix, self.env, dll_overrides)
        self.env.update(HOME=self.home, WINEQT_QPA_PLATFORM="windows")
        self.env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8")
        prepare_wine_prefix(self.prefix)

    def path(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def wine(self, *args, timeout=300, env=None):
        return self.run(WINE, *args, env=env, stdout=subprocess.PIPE, text=True, timeout=timeout)

    def registry(self, key):
        """The key as Windows' reg export writes it (UTF-16), or "" where there is none."""
        exported = self.path("key.reg")
        if self.wine("reg", "export", key, "C:\\key.reg", "/y").returncode != 0:
            return ""
        with open(exported, "rb") as reg:
            text = reg.read().decode("utf-16")
        os.remove(exported)
        return text

    def start_exe(self, exe, env=None):
        return self.start([WINE, exe], env=env)

    def stop(self):
        self.run(WINESERVER, "-k")
        super().stop()


def main():
    parser = argparse.ArgumentParser(description="Runs one command inside a private session.")
    parser.add_argument("--screen", default="1280x1024x24")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    skip_unless("Xvfb", command[0])
    with Session(screen=args.screen) as session:
        return subprocess.run(command, env=session.env).returncode


if __name__ == "__main__":
    sys.exit(main())
