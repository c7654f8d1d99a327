#!/usr/bin/python3
"""Plays the real program under strace and fails if it wrote or created any file, or opened
an internet socket. Local sockets (the X display, the desktop bus) are the platform's.

    acceptance/desktop/side_effects.py PROGRAM
"""
import pathlib
import re
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))
from harness import skip_unless  # noqa: E402

CALL = re.compile(r"^(?:\d+\s+)?(\w+)\((.*)\)\s+=\s+(-?\d+|\?)")
WRITE_FLAGS = ("O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC", "O_APPEND")
CHANGES_FILES = (
    "creat",
    "mkdir",
    "mkdirat",
    "mknod",
    "mknodat",
    "rename",
    "renameat",
    "renameat2",
    "unlink",
    "unlinkat",
    "rmdir",
    "link",
    "linkat",
    "symlink",
    "symlinkat",
    "truncate",
    "chmod",
    "fchmodat",
    "chown",
    "fchownat",
    "utimensat",
)
INTERNET = re.compile(r"AF_INET6?\b")


def violations(lines, allowed_dir):
    found = []
    for line in lines:
        match = CALL.match(line)
        if not match or int(match.group(3) if match.group(3) != "?" else -1) < 0:
            continue  # only calls that succeeded changed anything
        name, args = match.group(1), match.group(2)
        if allowed_dir in args:
            continue  # the session's own scratch home, which the check provides
        if name in ("open", "openat", "openat2") and any(f in args for f in WRITE_FLAGS):
            if '"/dev/null"' not in args:
                found.append(line)
        elif name in CHANGES_FILES:
            found.append(line)
        elif name in ("socket", "connect", "sendto", "bind") and INTERNET.search(args):
            found.append(line)
    return found


def main():
    skip_unless("strace", "Xvfb", "xdotool")
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        trace = pathlib.Path(work, "trace")
        command = [
            str(HERE / "play_real.py"),
            "--",
            "strace",
            "-f",
            "-qq",
            "-o",
            str(trace),
            "-e",
            "trace=%file,%network",
            program,
        ]
        status = subprocess.run(command).returncode
        lines = trace.read_text(errors="replace").splitlines()
    bad = violations(lines, "/zun-session-")
    print(
        f"side_effects: {len(lines)} file and network calls traced, "
        f"{len(bad)} that write, create or reach the internet; exit status {status}"
    )
    for line in bad[:40]:
        print("  " + line)
    return 0 if status == 0 and not bad and lines else 1


if __name__ == "__main__":
    sys.exit(main())
