#!/usr/bin/python3
"""Plays the real program under valgrind memcheck and fails on any block definitely or
indirectly lost that the program's own code allocated, and on any other memcheck error (an
invalid read, an uninitialised value) whose stack passes through the program's code below
main. Those inside Qt or system libraries alone are reported; the known losses are suppressed by
leaks.supp, each with its reason.

    acceptance/desktop/leaks.py PROGRAM
"""
import pathlib
import re
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))
from harness import ROOT, skip_unless  # noqa: E402

LEAK = re.compile(r"are (definitely|indirectly) lost in loss record")
FRAME = re.compile(r"==\d+==\s+(?:at|by) 0x[0-9A-F]+: (.*)")
HEAD = re.compile(r"==\d+== (\S.*)")
ALLOCATORS = ("vgpreload_memcheck", "operator new", "malloc", "calloc", "realloc")


def records(log):
    """Each error memcheck printed: its first line, then its stack's frames."""
    current = None
    for line in log.splitlines():
        frame = FRAME.match(line)
        if frame and current is not None:
            current.append(frame.group(1))
            continue
        if current is not None and len(current) > 1:
            yield current
        head = HEAD.match(line)
        current = [head.group(1)] if head else None
    if current is not None and len(current) > 1:
        yield current


def ours(frame, program):
    """A frame of the program's own code; main, at the bottom of every stack, tells nothing."""
    return not frame.startswith("main ") and (f"(in {program})" in frame or f"({ROOT}/" in frame)


def from_program(record, program):
    """A loss: whether the first frame past the allocator is the program's. Any other
    error: whether any frame of its stack is."""
    frames = record[1:]
    if LEAK.search(record[0]):
        frames = [f for f in frames if not any(a in f for a in ALLOCATORS)][:1]
    return any(ours(frame, program) for frame in frames)


def main():
    skip_unless("valgrind", "Xvfb", "xdotool")
    program = pathlib.Path(sys.argv[1]).resolve()
    with tempfile.TemporaryDirectory() as work:
        log_file = pathlib.Path(work, "memcheck.log")
        valgrind = [
            "valgrind",
            "--leak-check=full",
            "--show-leak-kinds=definite,indirect",
            "--num-callers=40",
            "--fullpath-after=",
            f"--log-file={log_file}",
            f"--suppressions={HERE / 'leaks.supp'}",
        ]
        command = [
            str(HERE / "play_real.py"),
            "--pause",
            "0.3",
            "--timeout",
            "600",
            "--",
            *valgrind,
            str(program),
        ]
        status = subprocess.run(command).returncode
        log = log_file.read_text(errors="replace")
    mine, theirs = [], []
    for record in records(log):
        (mine if from_program(record, program) else theirs).append(record)
    summary = [
        line.split("==", 2)[-1].strip()
        for line in log.splitlines()
        if re.search(r"(definitely|indirectly) lost:|suppressed:|ERROR SUMMARY", line)
    ]
    print("leaks: " + "; ".join(summary))
    print(
        f"leaks: {len(mine)} errors through the program's code, {len(theirs)} in libraries "
        f"alone; exit status {status}"
    )
    for record in mine + theirs:
        print("\n  ".join(record[:12]))
    return 0 if status == 0 and not mine and summary else 1


if __name__ == "__main__":
    sys.exit(main())
