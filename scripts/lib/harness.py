"""What the checks of the real program share: a private X server, closing a window as a
window manager does, and a scratch Wine prefix with the quiz's font replacement.

Scripts import it with sys.path.insert(0, <scripts>/lib)."""
import os
import subprocess
import time

WINE = "/usr/lib/wine/wine64"
TITLE = "ЗУН - митология"


def start_xvfb(env=None, screen="640x480x24"):
    """A private X server; returns it and its display name."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp"],
        pass_fds=[write_end], stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        return server, ":" + pipe.readline().strip()


def close_window(screen_display, window):
    """WM_DELETE_WINDOW, as a window manager sends when the user closes the window."""
    from Xlib import X, protocol
    atoms = [screen_display.intern_atom(n) for n in ("WM_PROTOCOLS", "WM_DELETE_WINDOW")]
    event = protocol.event.ClientMessage(
        window=window, client_type=atoms[0], data=(32, [atoms[1], X.CurrentTime, 0, 0, 0]))
    window.send_event(event)
    screen_display.sync()


class WineSession:
    """A scratch Wine prefix on a private X server, where Times New Roman is drawn with its
    metric twin, as the tests' prefixes have it (scripts/wine-run)."""

    def __init__(self, home, dll_overrides="mscoree,mshtml="):
        self.server, display_name = start_xvfb()
        self.prefix = os.path.join(home, "prefix")
        self.env = dict(os.environ, DISPLAY=display_name, WINEPREFIX=self.prefix,
                        WINEDEBUG="-all", WINEDLLOVERRIDES=dll_overrides, HOME=home,
                        WINEQT_QPA_PLATFORM="windows", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.env.pop("QT_QPA_PLATFORM", None)
        from Xlib import display
        self.display = display.Display(display_name)
        self.wine("wineboot", "--init")
        self.wine("reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                  "/v", "Times New Roman", "/d", "Liberation Serif", "/f")

    def path(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def wine(self, *args, timeout=300, env=None):
        return subprocess.run([WINE, *args], env=env or self.env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                              timeout=timeout)

    def registry(self, key):
        """The key as Windows' reg export writes it (UTF-16), or "" where there is none."""
        exported = self.path("key.reg")
        if self.wine("reg", "export", key, "C:\\key.reg", "/y").returncode != 0:
            return ""
        with open(exported, "rb") as reg:
            text = reg.read().decode("utf-16")
        os.remove(exported)
        return text

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, stdout=subprocess.PIPE,
                              text=True).stdout.split()

    def start(self, exe, env=None):
        return subprocess.Popen([WINE, exe], env=env or self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def window(self, seconds=90):
        deadline = time.time() + seconds
        while time.time() < deadline:
            found = self.xdotool("search", "--onlyvisible", "--name", TITLE)
            if found:
                return self.display.create_resource_object("window", int(found[0]))
            time.sleep(0.5)
        return None

    def focus(self, window):
        subprocess.run(["xdotool", "windowfocus", "--sync", str(window.id)], env=self.env)

    def keys(self, *names, pause=0.3):
        for name in names:
            subprocess.run(["xdotool", "key", "--clearmodifiers", name], env=self.env)
            time.sleep(pause)

    def close(self, window, program):
        close_window(self.display, window)
        return program.wait(timeout=60)

    def stop(self):
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=self.env)
        self.server.terminate()
