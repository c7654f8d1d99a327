#!/usr/bin/python3
"""Runs a cross-built Windows program under Wine: CTest's emulator for the Windows build.
Offscreen by default; with ZUN_WINE_PLATFORM=windows, Qt's own windows platform plugin on a
private X server. Each platform has its own Wine prefix (the two clash in one), made once,
with the quiz's font replacement.

    acceptance/windows/wine-run.py PROGRAM.exe [ARGS...]
"""
import os
import pathlib
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from harness import WINE, WINESERVER, Session, prepare_wine_prefix, wine_env  # noqa: E402


def main():
    platform = os.environ.get("ZUN_WINE_PLATFORM", "offscreen")
    cache = os.environ.get("XDG_CACHE_HOME", os.path.expanduser("~/.cache"))
    prefixes = os.environ.get("ZUN_WINE_PREFIXES", f"{cache}/zun-mitologia/wine")
    prefix = f"{prefixes}/{platform}"
    prepare_wine_prefix(prefix)
    env = wine_env(prefix)
    # A server that outlives each program: without it every start waits seconds for one.
    subprocess.run(
        [WINESERVER, "-p30"],
        env=env,
        stdin=subprocess.DEVNULL,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    # Wine hands Windows programs the host's QT_ variables only when spelt WINEQT_.
    env.update({"WINE" + k: v for k, v in os.environ.items() if k.startswith("QT")})
    env.update(WINEQT_QPA_PLATFORM=platform, WINEQT_FORCE_STDERR_LOGGING="1")
    command = [WINE, *sys.argv[1:]]
    if platform != "windows":
        return subprocess.run(command, env=env).returncode
    with Session(screen="1024x768x24") as session:
        env["DISPLAY"] = session.env["DISPLAY"]
        return subprocess.run(command, env=env).returncode


if __name__ == "__main__":
    sys.exit(main())
