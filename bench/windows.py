#!/usr/bin/python3
"""Start-up of Windows builds of the quiz under Wine, side by side in one run: the time from
starting each .exe to its window shown on a private X server, interleaved (A B A B ...).

    bench/windows.py [--runs N] EXE [EXE ...]   (the first is the one the others are set against)

It prints each .exe's median, its stripped size, and its ratio to the first.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "acceptance"))
from harness import TITLE, WineSession  # noqa: E402


def shown_after(session, exe):
    """Seconds from starting the .exe to its window being visible; the window then closed."""
    started = time.monotonic()
    program = session.start_exe(exe)
    found = []
    while not found and time.monotonic() - started < 60:
        found = session.xdotool("search", "--onlyvisible", "--name", TITLE)
    seconds = time.monotonic() - started
    if not found:
        program.kill()
        raise SystemExit(f"bench: {exe} showed no window")
    session.close(session.display.create_resource_object("window", int(found[0])), program)
    return seconds


def stripped_size(exe):
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "stripped.exe")
        subprocess.run(["x86_64-w64-mingw32-strip", "-o", out, exe], check=True)
        return os.path.getsize(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("exes", nargs="+")
    args = parser.parse_args()
    times = {exe: [] for exe in args.exes}
    with WineSession(screen="1024x768x24") as session:
        for exe in args.exes:  # a first start warms Wine's own files for every .exe alike
            shown_after(session, exe)
        for _ in range(args.runs):
            for exe in args.exes:
                times[exe].append(shown_after(session, exe))
    first = statistics.median(times[args.exes[0]])
    for exe in args.exes:
        median = statistics.median(times[exe])
        print(
            f"{exe}: start to window shown {median * 1000:.0f} ms (median of {args.runs}), "
            f"stripped {stripped_size(exe):,} B, ratio {median / first:.3f}"
        )


if __name__ == "__main__":
    sys.exit(main())
