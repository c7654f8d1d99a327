#!/usr/bin/python3
"""Checks what a Windows screen reader (NVDA, Narrator) is told by the real .exe under Wine,
key by key, as acceptance/desktop/orca_speech.py does for Orca. Wine has no UI Automation client, so
a stand-in UIAutomationCore.dll of our own (uia/, built here with MinGW, never shipped) says
that one listens and logs every event the program raises; one WM_GETOBJECT, as a screen
reader's first request, switches Qt's bridge on.

    acceptance/windows/speech.py [--log FILE] [--before-1709] WINDOWS_BUILD
                                                        (after scripts/build-windows)

For each step of the round: one notification, with the right words, for a pick, a verdict
and a new round, none for anything else; the focus on the right control; all within 1.5 s
of the key.
"""
import argparse
import glob
import json
import os
import pathlib
import shutil
import subprocess
import sys
import time
import zipfile

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))
from harness import TITLE, WineSession, load_round, sentence, skip_unless  # noqa: E402
from harness import report, skip_unless_built  # noqa: E402

SOURCES = HERE / "uia"
FOCUS, NOTIFICATION, VALUE = 20005, 41, 30045  # focus changed; Other, ImportantMostRecent
# UI Automation puts the focus of a list on its framed name: entering a list is the focus on
# that name, with the list as its parent, which a screen reader names as it enters.
STEPS = load_round()["steps"]


def wanted_focus(step):
    """The name the focus must end on (None: it stays), with its list after a slash or its
    value after an equals sign where they matter."""
    if "focus" not in step:
        return None
    return (
        step["focus"]
        + ("/" + step["list"] if "list" in step else "")
        + ("=" + step["value"] if "value" in step else "")
    )


def build_standin(work):
    """The stand-in DLL and the program that asks for the window's root, built with MinGW."""
    dll, wake = os.path.join(work, "UIAutomationCore.dll"), os.path.join(work, "wake.exe")
    cc = ["x86_64-w64-mingw32-gcc", "-O2", "-Wall", "-Wextra", "-Werror"]
    subprocess.run(
        cc
        + [
            "-shared",
            "-o",
            dll,
            str(SOURCES / "uiautomationcore.c"),
            "-loleaut32",
            "-lole32",
            "-luuid",
        ],
        check=True,
    )
    subprocess.run(cc + ["-municode", "-o", wake, str(SOURCES / "wake.c")], check=True)
    return dll, wake


def raised(log, offset):
    """The events logged since offset, and the new offset."""
    if not os.path.exists(log):
        return [], offset
    with open(log, "rb") as read:
        read.seek(offset)
        data = read.read()
    whole = data[: data.rfind(b"\n") + 1]
    return [json.loads(line) for line in whole.decode().splitlines()], offset + len(whole)


def judge(step, events, pressed):
    """What is wrong with a step's events, as a list of sentences."""
    focus, notification = wanted_focus(step), sentence(step.get("say"))
    wrong = []
    said = [e["text"] for e in events if e["raise"] == "notification"]
    if notification is None and said:
        wrong.append(f"notifications where none belong: {said}")
    if notification is not None and said != [notification]:
        wrong.append(f"wanted one notification {notification!r}, got {said}")
    if any(e["raise"] == "notification" and e["id"] != NOTIFICATION for e in events):
        wrong.append("a notification that is not Other/ImportantMostRecent")
    focused = [
        e["name"]
        + ("/" + str(e["parent"]) if "/" in (focus or "") else "")
        + ("=" + str(e["value"]) if "=" in (focus or "") else "")
        for e in events
        if e["raise"] == "event" and e["id"] == FOCUS
    ]
    if focus is not None and (not focused or focused[-1] != focus):
        wrong.append(f"wanted the focus on {focus!r}, got {focused}")
    late = [e for e in events if e["time"] - pressed > 1.5]
    if late:
        wrong.append(f"{len(late)} event(s) later than 1.5 s after the key")
    return wrong


def describe(event, pressed):
    words = {
        k: event[k]
        for k in ("text", "name", "parent", "type", "description", "value", "size")
        if event.get(k) not in (None, "")
    }
    return f"{event['raise']} {event['id']} +{event['time'] - pressed:.2f} s {words}"


def play(session, exe, wake, log, before_1709):
    quiz_env = dict(
        session.env,
        WINEDLLOVERRIDES="mscoree,mshtml=;uiautomationcore=n",
        ZUN_UIA_LOG="Z:" + log.replace("/", "\\"),
    )
    if before_1709:
        quiz_env["ZUN_UIA_BEFORE_1709"] = "1"
    program = session.start_exe(exe, env=quiz_env)
    window = session.window(name=TITLE)
    if window is None:
        program.kill()
        return ["the .exe showed no window"]
    session.focus(window)
    time.sleep(1)
    print("speech:", session.wine(wake).stdout.strip())
    time.sleep(0.5)
    events, offset = raised(log, 0)
    roots = [e["name"] for e in events if e["raise"] == "root"]
    print(f"speech: the window's root element is named {roots}")
    problems = [] if roots and TITLE in roots[0] else ["no named root element"]
    for step in STEPS:
        keys = " ".join(step["keys"])
        for key in step["keys"][:-1]:
            session.keys(key, pause=0.15)
        pressed = time.time()
        session.keys(step["keys"][-1], pause=1.6)
        events, offset = raised(log, offset)
        wrong = judge(step, events, pressed)
        print(f"{'ok  ' if not wrong else 'FAIL'} {keys}")
        for event in events:
            print("       " + describe(event, pressed))
        problems += [f"{keys}: {w}" for w in wrong]
    session.close(window, program)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--log", help="keep the log of every event raised")
    parser.add_argument(
        "--before-1709",
        action="store_true",
        help="as on Windows before 10 1709, which has no notifications",
    )
    parser.add_argument("build")
    args = parser.parse_args()
    skip_unless("/usr/lib/wine/wine64", "x86_64-w64-mingw32-gcc", "xdotool", "Xvfb")
    archives = os.path.join(args.build, "package", "zun-mitologia-*-windows-x64.zip")
    skip_unless_built(archives, "scripts/build-windows")
    # Every Wine process but the quiz takes Wine's own DLL: the stand-in is for the quiz.
    with WineSession(dll_overrides="mscoree,mshtml=;uiautomationcore=b") as session:
        home = session.home
        log = os.path.join(home, "uia.log")
        dll, wake = build_standin(home)
        shutil.copy(dll, session.path("windows", "system32", "UIAutomationCore.dll"))
        with zipfile.ZipFile(glob.glob(archives)[0]) as zipped:
            zipped.extractall(os.path.join(home, "portable"))
        exe = glob.glob(os.path.join(home, "portable", "*", "zun-mitologia.exe"))[0]
        problems = play(session, exe, wake, log, args.before_1709)
        if args.log and os.path.exists(log):
            shutil.copy(log, args.log)
    return report("speech", problems)


if __name__ == "__main__":
    sys.exit(main())
