#!/usr/bin/python3
"""Plays the real program by keyboard with the Orca screen reader running, in Bulgarian, and
judges what Orca sends to speech after each key, as a blind pupil would hear it.

    acceptance/desktop/orca_speech.py [--transcript FILE] PROGRAM

acceptance/web/orca_page.py plays the page the same way, with this module's play().
Everything runs privately: an X server, a session bus, the accessibility bus, speech
through speech-dispatcher into a silent sound device, and Orca with its own settings.
Needs orca, speech-dispatcher, speech-dispatcher-espeak-ng, xdotool and locales' sources.
"""
import argparse
import builtins
import os
import pathlib
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from harness import Session, load_round, sentence, skip_unless, wait_for  # noqa: E402

ROUND = load_round()
NAMES = {"greek": ROUND["greek"], "roman": ROUND["roman"], "both": ROUND["greek"] + ROUND["roman"]}
# Orca takes a back-tab as the key X gives it.
KEYS = {"shift+Tab": "ISO_Left_Tab"}


def words_of(parts):
    """A sentence as a pattern of its words in order, whatever speech makes of its marks."""
    return ".*".join(re.escape(word) for word in re.findall(r"\w+", sentence(parts)))


def expected(step):
    """What Orca must say for a step, as a pattern over its utterances joined."""
    return ".*".join(p for p in (step.get("hear"), step.get("say") and words_of(step["say"])) if p)


STEPS = ROUND["steps"][: int(os.environ.get("ZUN_STEPS", len(ROUND["steps"])))]


def private_speech(session):
    """Bulgarian, and speech into a silent device: without one, Orca stalls after a few
    utterances."""
    home, env = session.home, session.env
    locales = session.mkdir("locale")
    subprocess.run(
        ["localedef", "-i", "bg_BG", "-f", "UTF-8", f"{locales}/bg_BG.UTF-8"],
        check=True,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    env.update(LOCPATH=locales, LANG="bg_BG.UTF-8", LC_ALL="bg_BG.UTF-8")
    shutil.copytree("/etc/speech-dispatcher", f"{home}/config/speech-dispatcher")
    with open(f"{home}/config/speech-dispatcher/speechd.conf", "a") as conf:
        conf.write('\nAudioOutputMethod "alsa"\nDefaultModule espeak-ng\n')
    with open(f"{home}/.asoundrc", "w") as asound:
        asound.write("pcm.!default { type null }\nctl.!default { type hw card 0 }\n")


def run_orca(debug_file, prefs):
    """Orca in this process, its debug file written line by line so that every utterance
    can be read as soon as it is spoken."""
    real_open = builtins.open

    def line_buffered(file, mode="r", *args, **kwargs):
        if file == debug_file and "w" in mode:
            return real_open(file, mode, buffering=1, encoding="utf-8")
        return real_open(file, mode, *args, **kwargs)

    builtins.open = line_buffered
    sys.argv = ["orca", "--debug-file", debug_file, "-u", prefs]
    code = compile(real_open("/usr/bin/orca").read(), "/usr/bin/orca", "exec")
    exec(code, {"__name__": "__main__"})


def utterances(debug_file, offset):
    with open(debug_file, encoding="utf-8", errors="replace") as log:
        log.seek(offset)
        text = log.read()
        end = log.tell()
    said = re.findall(
        r"^(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*)' ?\{'established", text, re.M
    )
    return [
        (int(h) * 3600 + int(m) * 60 + float(sec), s) for h, m, sec, s in said if s.strip()
    ], end


def seconds_of_day():
    now = time.localtime()
    return now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec + time.time() % 1


def judge(step, said, pressed):
    must = expected(step)
    joined = " | ".join(text for _, text in said)
    problems = []
    if not re.search(must, joined, re.S):
        problems.append(f"expected /{must}/")
    names = set(NAMES["both"]) - set(NAMES.get(step["names"], []))
    heard = [n for n in names if re.search(rf"(?<!\w){n}(?!\w)", joined)]
    if heard:
        problems.append(f"names from elsewhere: {heard}")
    never = step.get("never")
    if never and re.search(never, joined):
        problems.append(f"must not say /{never}/")
    late = [f"{at - pressed:.2f} s" for at, _ in said if at - pressed > 1.5]
    if late:
        problems.append(f"spoken late after the last key: {late}")
    return problems


def desktop(program):
    """Starts the program after Orca, as a desktop session would."""

    def launch(session):
        env = dict(session.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        session.start([program], env=env)
        return "zun-mitologia", 4

    return launch


# What Orca 43 (Debian 12) and Orca 48 (Debian 13) write once they listen.
LISTENING = r"ORCA: Starting (registry|Atspi main event loop)"


def start_orca(session):
    """Orca in a process of its own, from this file; its debug file, once it listens."""
    debug_file = f"{session.home}/orca-debug.txt"
    session.start([sys.executable, __file__, "--orca", debug_file, f"{session.home}/orca"])

    def listening():
        return os.path.exists(debug_file) and re.search(
            LISTENING, open(debug_file, errors="replace").read()
        )

    return debug_file if wait_for(listening, 60) else None


def play_step(session, step, debug_file, offset, help_again):
    """Presses a step's keys; its report lines, whether it failed, and the new offset."""
    keys = step["keys"]
    for number, key in enumerate(keys, 1):
        pressed = seconds_of_day()
        session.run("xdotool", "key", "--delay", "60", KEYS.get(key, key), check=True)
        time.sleep(3 if number == len(keys) else 1.2)
    said, offset = utterances(debug_file, offset)
    problems = judge(step, said, pressed)
    if help_again and any(ROUND["help"] in text for _, text in said):
        problems.append(f"heard again: «{ROUND['help']}»")
    lines = [f"{'FAIL' if problems else 'ok  '} {' '.join(keys)}"]
    lines += [f"       «{text}»  {at - pressed:+.2f} s" for at, text in said]
    lines += [f"       ! {p}" for p in problems]
    return lines, bool(problems), offset


def play(launch, steps, transcript, opening=None):
    """Orca first, then what launch starts; the steps played and judged. With opening, the
    words that must be heard on arriving, in any order. Returns the exit status."""
    with Session(a11y=True, private=True) as session:
        private_speech(session)
        debug_file = start_orca(session)
        if debug_file is None:
            print("orca: Orca did not start")
            return 1
        window_class, settle = launch(session)
        # Given the focus as a window manager would; a browser may replace its first window.
        focus = ["xdotool", "search", "--onlyvisible", "--class", window_class]
        if not wait_for(lambda: session.run(*focus, "windowfocus", "--sync").returncode == 0, 60):
            print("orca: the quiz window never appeared")
            return 1
        opened = seconds_of_day()
        time.sleep(settle)  # the window's own announcement, or the page's start
        said, offset = utterances(debug_file, 0)
        heard = [(at, text) for at, text in said if at >= opened]
        lines = [f"       «{text}»  {at - opened:+.2f} s" for at, text in heard]
        failures = 0
        if opening:
            joined = " | ".join(text for _, text in heard)
            missing = [words for words in opening if words not in joined]
            failures += bool(missing)
            lines.insert(0, f"{'FAIL' if missing else 'ok  '} the opening")
            lines += [f"       ! expected «{words}»" for words in missing]
        for number, step in enumerate(steps):
            # On the page, how to play is said with the first Tab and never again.
            again = bool(opening) and number > 0
            step_lines, failed, offset = play_step(session, step, debug_file, offset, again)
            lines += step_lines
            failures += failed
        report = "\n".join(lines)
        print(report)
        if transcript:
            pathlib.Path(transcript).write_text(report + "\n", encoding="utf-8")
        print(f"orca: {len(steps) - failures} passed, {failures} failed")
        return 1 if failures else 0


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--orca":
        return run_orca(sys.argv[2], sys.argv[3])
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--transcript")
    parser.add_argument("program")
    args = parser.parse_args()
    skip_unless("orca", "xdotool", "Xvfb", "localedef", "/usr/libexec/at-spi-bus-launcher")
    return play(desktop(os.path.abspath(args.program)), STEPS, args.transcript)


if __name__ == "__main__":
    sys.exit(main())
