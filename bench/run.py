#!/usr/bin/python3
"""Start-up and judgement benchmark: the quiz beside a floor of bare Qt widgets.

    bench/run.py [--runs N]        (after README's build command)

Interleaving the two programs (A B A B ...), it measures instructions from exec until the
window is painted (callgrind, offscreen), peak resident memory once it is painted, and wall
time from exec until it is painted on an X server (Xvfb), then times judgements through the
real window. It prints each figure for both, their ratio and the budget.
"""
import argparse
import os
import pathlib
import re
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "acceptance"))
from harness import Session  # noqa: E402

BUILD = ROOT / "build" / "bench"
PROGRAMS = {"floor": BUILD / "bench_floor", "quiz": BUILD / "bench_quizstart"}
BUDGET = {"instructions": 1.10, "peak RSS (kB)": 1.10, "exec to painted on X (ms)": 1.15}


def instructions(program, work):
    out = pathlib.Path(work, f"callgrind.{program.name}")
    subprocess.run(
        ["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}", str(program)],
        env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
        check=True,
    )
    # The dump taken at the first paint; the final one adds the teardown.
    text = pathlib.Path(f"{out}.1").read_text()
    return int(re.search(r"^summary: (\d+)", text, re.M).group(1))


def painted(program, env):
    start = time.monotonic_ns()
    result = subprocess.run([str(program)], env=env, capture_output=True, text=True, check=True)
    _, when, rss = re.search(r"^painted (\d+) (\d+)", result.stdout, re.M).group(0).split()
    return (int(when) - start) / 1e6, int(rss)


def row(name, floor, quiz, budget=None):
    ratio = quiz / floor
    verdict = (
        "" if budget is None else ("  within" if ratio <= budget else "  OVER") + f" {budget:.2f}x"
    )
    print(f"{name:28} {floor:14,.1f} {quiz:14,.1f} {ratio:8.3f}x{verdict}")
    return budget is None or ratio <= budget


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=15)
    args = parser.parse_args()
    figures = {}
    with tempfile.TemporaryDirectory() as work:
        counts = {name: [] for name in PROGRAMS}
        for _ in range(2):
            for name, program in PROGRAMS.items():
                counts[name].append(instructions(program, work))
        figures["instructions"] = {n: min(c) for n, c in counts.items()}

        with Session(buses=True) as session:
            env = dict(session.env, QT_QPA_PLATFORM="xcb")
            walls = {name: [] for name in PROGRAMS}
            peaks = {name: [] for name in PROGRAMS}
            for name, program in PROGRAMS.items():
                painted(program, env)  # warm the caches once each
            for _ in range(args.runs):
                for name, program in PROGRAMS.items():
                    wall, rss = painted(program, env)
                    walls[name].append(wall)
                    peaks[name].append(rss)
    figures["peak RSS (kB)"] = {n: statistics.median(v) for n, v in peaks.items()}
    figures["exec to painted on X (ms)"] = {n: statistics.median(v) for n, v in walls.items()}

    print(f"{'figure':28} {'floor':>14} {'quiz':>14} {'ratio':>9}")
    ok = all(row(name, f["floor"], f["quiz"], BUDGET[name]) for name, f in figures.items())
    print(f"(medians of {args.runs} interleaved runs; instructions under callgrind, offscreen)")

    judged = subprocess.run(
        [str(BUILD / "bench_judgement")],
        capture_output=True,
        text=True,
        env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
    )
    for line in judged.stdout.splitlines():
        if "judgement:" in line:
            print("one " + line[line.index("judgement:") :])
        elif "per iteration" in line:
            print("a round of sixteen and a clear: " + line.strip())
    median = re.search(r"judgement: median ([\d.]+) ms", judged.stdout)
    one_ms = median is not None and float(median.group(1)) < 1.0
    print("one judgement under 1 ms:", "yes" if one_ms else "NO")
    return 0 if ok and one_ms and judged.returncode == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
