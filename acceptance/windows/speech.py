#!/usr/bin/python3
"""Checks what a Windows screen reader (NVDA, JAWS, Narrator) is told by the real .exe under
Wine, key by key, as acceptance/desktop/orca_speech.py does for Orca. Wine has no UI Automation
client, so a stand-in UIAutomationCore.dll of our own (uia/, built here with MinGW, never
shipped) says that one listens and logs every notification the program raises; the same DLL,
as the prefix's IAccPropServices, logs the names the program gives its controls. One
WM_GETOBJECT, as a screen reader's first request, asks for the window's root. Wine's lists
raise no event for their framed name, so after each key a helper reads what a reader would
read where the focus is: the framed name and its list, or the field and what it shows.

    acceptance/windows/speech.py [--log FILE] [--before-1709] WINDOWS_BUILD
                                                        (after scripts/build-windows)

For each step of the round: one notification, with the right words, for a pick, a verdict
and a new round, none for anything else; the focus on the right control, named as the form
names it; all within 1.5 s of the key.
"""
import argparse
import glob
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import time
import zipfile

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))
from harness import TITLE, WineSession, load_round, sentence, skip_unless  # noqa: E402
from harness import ROOT, report, skip_unless_built  # noqa: E402

SOURCES = HERE / "uia"
NOTIFICATION = 41  # Other, ImportantMostRecent
ANNOTATIONS = r"HKLM\Software\Classes\CLSID\{B5F8350B-0548-48B1-A6EE-88BD00B4A5E7}"
# A reader puts the focus of a list on its framed name: entering a list is the focus on
# that name, with the list as its parent, which a screen reader names as it enters.
STEPS = load_round()["steps"]
FORM = json.loads((ROOT / "data" / "form.json").read_text(encoding="utf-8"))


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
    """The stand-in DLL and the helpers that ask for the window's root and read the focus,
    built with MinGW."""
    dll, wake = os.path.join(work, "UIAutomationCore.dll"), os.path.join(work, "wake.exe")
    focus = os.path.join(work, "focus.exe")
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
    subprocess.run(cc + ["-municode", "-o", focus, str(SOURCES / "focus.c")], check=True)
    return dll, wake, focus


def raised(log, offset):
    """The events logged since offset, and the new offset."""
    if not os.path.exists(log):
        return [], offset
    with open(log, "rb") as read:
        read.seek(offset)
        data = read.read()
    whole = data[: data.rfind(b"\n") + 1]
    return [json.loads(line) for line in whole.decode().splitlines()], offset + len(whole)


def focused(session, helper, names):
    """Where the focus is, as a reader names it: the framed name/its list, or the control's
    name=what it shows."""
    seen = json.loads(session.wine(helper).stdout or "{}")
    name = names.get(seen.get("hwnd"), {}).get("name")
    if seen.get("class", "").lower() == "listbox":
        return f"{seen['text']}/{name}"
    if seen.get("class", "").lower() == "edit":
        return f"{name}={seen['text']}"
    return name or seen.get("text")


def judge(step, events, pressed, focus_now):
    """What is wrong with a step's events and where its focus ended, as a list of sentences."""
    focus, notification = wanted_focus(step), sentence(step.get("say"))
    wrong = []
    said = [e["text"] for e in events if e["raise"] == "notification"]
    if notification is None and said:
        wrong.append(f"notifications where none belong: {said}")
    if notification is not None and said != [notification]:
        wrong.append(f"wanted one notification {notification!r}, got {said}")
    if any(e["raise"] == "notification" and e["id"] != NOTIFICATION for e in events):
        wrong.append("a notification that is not Other/ImportantMostRecent")
    if focus is not None:
        # Its list or value, where the round names them.
        whole = "/" in focus or "=" in focus
        shown = focus_now if whole or not focus_now else re.split("[/=]", focus_now)[0]
        if shown != focus:
            wrong.append(f"wanted the focus on {focus!r}, got {focus_now!r}")
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


def play(session, exe, helpers, log, before_1709):
    wake, helper = helpers
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
    print("speech:", session.wine(wake, TITLE).stdout.strip())
    time.sleep(0.5)
    events, offset = raised(log, 0)
    roots = [e["name"] for e in events if e["raise"] == "root"]
    print(f"speech: the window's root element is named {roots}")
    problems = [] if roots and TITLE in roots[0] else ["no named root element"]
    names = {}
    for e in events:
        if e["raise"] == "annotate":
            names.setdefault(e["hwnd"], {})[e["property"]] = e["text"]
    given = sorted((n.get("name"), n.get("description")) for n in names.values())
    print(f"speech: the controls' names and descriptions: {given}")
    expected = sorted((c["name"], c.get("description")) for c in FORM["controls"] if "name" in c)
    if given != expected:
        problems.append(f"the controls are named {given}, not {expected}")
    for step in STEPS:
        keys = " ".join(step["keys"])
        for key in step["keys"][:-1]:
            session.keys(key, pause=0.15)
        pressed = time.time()
        session.keys(step["keys"][-1], pause=1.6)
        events, offset = raised(log, offset)
        focus_now = focused(session, helper, names)
        wrong = judge(step, events, pressed, focus_now)
        print(f"{'ok  ' if not wrong else 'FAIL'} {keys}: the focus on {focus_now!r}")
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
        dll, *helpers = build_standin(home)
        shutil.copy(dll, session.path("windows", "system32", "UIAutomationCore.dll"))
        server = ANNOTATIONS + r"\InprocServer32"
        standin = r"C:\windows\system32\UIAutomationCore.dll"
        session.wine("reg", "add", server, "/ve", "/d", standin, "/f")
        session.wine("reg", "add", server, "/v", "ThreadingModel", "/d", "Both", "/f")
        with zipfile.ZipFile(glob.glob(archives)[0]) as zipped:
            zipped.extractall(os.path.join(home, "portable"))
        exe = glob.glob(os.path.join(home, "portable", "*", "zun-mitologia.exe"))[0]
        problems = play(session, exe, helpers, log, args.before_1709)
        if args.log and os.path.exists(log):
            shutil.copy(log, args.log)
    return report("speech", problems)


if __name__ == "__main__":
    sys.exit(main())
