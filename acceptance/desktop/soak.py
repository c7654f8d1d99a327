#!/usr/bin/python3
"""Long random play through the real window against the model, on every core, and fails
if any job fails or any session diverges from the model. Seeds start at 1000000, apart from
the ones the suite plays.

    acceptance/desktop/soak.py [--sessions N] [--jobs N] TST_RANDOMPLAY

TST_RANDOMPLAY may be a command line standing in for it, which is how the checks make it fail.
"""
import argparse
import os
import re
import shlex
import subprocess
import sys
import tempfile
import time

FIGURES = ("sessions", "actions", "judgements", "divergences")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sessions", type=int, default=20000)
    parser.add_argument("--jobs", type=int, default=os.cpu_count())
    parser.add_argument("test", help="tst_randomplay, or a command standing in for it")
    args = parser.parse_args()
    # Qt Test stops a test function after 5 minutes otherwise.
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QTEST_FUNCTION_TIMEOUT="86400000")
    share = -(-args.sessions // args.jobs)
    started = time.time()
    with tempfile.TemporaryDirectory() as logs:
        jobs = []
        for job in range(args.jobs):
            count = min(share, args.sessions - share * job)
            seeds = dict(env, ZUN_FIRST_SEED=str(1000000 + share * job), ZUN_SESSIONS=str(count))
            log = open(os.path.join(logs, f"{job}.log"), "w+")
            command = shlex.split(args.test) + ["randomSessions"]
            jobs.append((subprocess.Popen(command, env=seeds, stdout=log, stderr=log), log))
        statuses = [process.wait() for process, _ in jobs]
        texts = []
        for _, log in jobs:
            log.seek(0)
            texts.append(log.read())
            log.close()
    totals = dict.fromkeys(FIGURES, 0)
    for text in texts:
        for line in re.findall(r"sessions: [\d,]+, actions: .*", text):
            for name, value in re.findall(r"(\w+): ([\d,]+)", line):
                totals[name] = totals.get(name, 0) + int(value.replace(",", ""))
    figures = ", ".join(f"{name}: {totals[name]}" for name in FIGURES)
    print(f"soak: {figures}, wall time: {time.time() - started:.0f} s")
    for text in texts:
        for failure in re.findall(r"^FAIL.*(?:\n.*){0,12}", text, re.M):
            print(failure)
    reasons = [
        f"job {job} exited with status {status}"
        for job, status in enumerate(statuses)
        if status != 0
    ]
    if totals["divergences"]:
        reasons.append(f"{totals['divergences']} divergences from the model")
    if totals["sessions"] < args.sessions:
        reasons.append(f"{totals['sessions']} of {args.sessions} sessions played")
    print(f"soak: failed: {'; '.join(reasons)}" if reasons else "soak: passed")
    return 1 if reasons else 0


if __name__ == "__main__":
    sys.exit(main())
