#!/usr/bin/python3
"""Runs a cross-built Windows program under Wine on a private X server: CTest's emulator for
the Windows build. The Wine prefix is made once, with the quiz's font replacement.

    acceptance/windows/wine-run.py PROGRAM.exe [ARGS...]
"""
import os
import pathlib
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from harness import WINE, WINESERVER, Session, prepare_wine_prefix, wine_env  # noqa: E402


def main():
    cache = os.environ.get("XDG_CACHE_HOME", os.path.expanduser("~/.cache"))
    prefix = os.environ.get("ZUN_WINE_PREFIXES", f"{cache}/zun-mitologia/wine") + "/windows"
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
    # Wine's own helpers outlive the program with whatever output it had: the program's goes
    # to a file, so that nobody waits on them.
    with Session(screen="1024x768x24") as session, tempfile.TemporaryFile() as output:
        env["DISPLAY"] = session.env["DISPLAY"]
        status = subprocess.run(
            [WINE, *sys.argv[1:]], env=env, stdin=subprocess.DEVNULL, stdout=output, stderr=output
        ).returncode
        output.seek(0)
        sys.stdout.buffer.write(output.read())
        return status


if __name__ == "__main__":
    sys.exit(main())
