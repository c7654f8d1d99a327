#!/usr/bin/python3
"""Plays the real quiz program on a virtual X server, by keyboard as a person would, then
closes its window as a window manager does, and exits with the program's exit status.

    acceptance/desktop/play_real.py [--close-at MOMENT] [--screenshot FILE] [--] [wrapper ...]
                                    PROGRAM

A wrapper (strace, valgrind, ...) may stand before the program. The whole session: a round
of sixteen pairs, the clear button, one more pair and a pending pick, then close. With
--close-at the window is closed earlier: at "start", at a "pick" left pending, at the "end"
of a round, or "mid-round".
"""
import argparse
import pathlib
import sys
import time

from Xlib import X, XK
from Xlib.ext import xtest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from harness import Session, skip_unless  # noqa: E402


class Player:
    def __init__(self, screen_display, window, pause):
        self.d = screen_display
        self.window = window
        self.pause = pause

    def key(self, name, shift=False):
        shift_code = self.d.keysym_to_keycode(XK.string_to_keysym("Shift_L"))
        code = self.d.keysym_to_keycode(XK.string_to_keysym(name))
        if shift:
            xtest.fake_input(self.d, X.KeyPress, shift_code)
        xtest.fake_input(self.d, X.KeyPress, code)
        xtest.fake_input(self.d, X.KeyRelease, code)
        if shift:
            xtest.fake_input(self.d, X.KeyRelease, shift_code)
        self.d.sync()
        time.sleep(self.pause)

    def pick_first_pair(self):
        # From the Greek list: its first name, then the Roman list's first name.
        for step in [("Home",), ("space",), ("Tab",), ("Home",), ("space",), ("Tab", True)]:
            self.key(*step)


def play(session, player, screenshot, close_at):
    player.window.set_input_focus(X.RevertToParent, X.CurrentTime)
    player.d.sync()
    time.sleep(player.pause * 4)
    if close_at != "start":
        round_of(player, close_at)
    if screenshot:
        session.run("import", "-window", "root", screenshot)
    session.close(player.window)


def round_of(player, close_at):
    player.key("Tab")  # from the message field to the Greek list
    if close_at == "pick":
        player.key("space")
        return
    for pair in range(16):
        player.pick_first_pair()
        if close_at == "mid-round" and pair == 6:
            return
    if close_at == "end":
        return
    for step in [("Tab",), ("Tab",), ("space",)]:  # to "Чисти" and press it
        player.key(*step)
    for step in [("Tab", True), ("Tab", True)]:
        player.key(*step)
    player.pick_first_pair()
    player.key("Down")
    player.key("space")  # a pick left pending


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument(
        "--close-at", choices=["start", "pick", "mid-round", "end", "full"], default="full"
    )
    parser.add_argument("--screenshot")
    parser.add_argument("--pause", type=float, default=0.05, help="seconds after each key")
    parser.add_argument("--timeout", type=float, default=180)
    parser.add_argument("--title", help="fail unless the window's caption is this")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = [c for c in args.command if c != "--"]

    skip_unless("Xvfb", "xdotool", "dbus-daemon", command[0])
    with Session(buses=True) as session:
        env = dict(session.env, QT_QPA_PLATFORM="xcb")
        program = session.start(command, env=env, stdout=None, stderr=None)
        window = session.window(wm_class="zun-mitologia", seconds=args.timeout)
        if window is None:
            print("play_real: the quiz window never appeared", file=sys.stderr)
            program.kill()
        else:
            caption = window.get_full_text_property(session.display.intern_atom("_NET_WM_NAME"))
            player = Player(session.display, window, args.pause)
            play(session, player, args.screenshot, args.close_at)
        status = program.wait(timeout=args.timeout)
        if window is not None and args.title is not None and caption != args.title:
            print(f"play_real: the caption is {caption!r}, not {args.title!r}", file=sys.stderr)
            status = status or 1
    print(f"play_real: the program exited with status {status}")
    return status


if __name__ == "__main__":
    sys.exit(main())
