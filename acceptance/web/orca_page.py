#!/usr/bin/python3
"""Plays the page with the Orca screen reader in its default settings, in Debian's Chromium
or Firefox ESR, as acceptance/desktop/orca_speech.py plays the window: no key pressed to change
Orca's mode. What Orca says on arriving is judged too, and a pick made in browse mode.

    acceptance/web/orca_page.py [--browser chromium|firefox] [--transcript FILE] SITE
"""
import argparse
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))
sys.path.insert(0, str(HERE.parent / "desktop"))
from harness import TITLE, skip_unless, skip_unless_built  # noqa: E402
import orca_speech as orca  # noqa: E402

# On arriving: the quiz, and Orca's word that keys now go to it. Then the round, how to play
# said with the first Tab.
OPENING = [TITLE, "Режим на фокус"]
FIRST = dict(
    orca.STEPS[0], hear=f"(?=.*{re.escape(orca.ROUND['help'])})(?=.*{orca.STEPS[0]['hear']})"
)


# In browse mode, the line of the button and the counters: each counter's name once, and its
# count. Orca 43 reads a read-only field whose text is one character by its name, twice, and
# no count (it takes such a field for text laid out a letter a line); Orca 48 reads fields as
# fields. So the step is Orca 48's.
def orca_version():
    if not shutil.which("orca"):
        return 0
    said = subprocess.run(["orca", "--version"], capture_output=True, text=True).stdout
    found = re.search(r"(\d+)\.\d+", said)
    return int(found.group(1)) if found else 0


ORCA = orca_version()


NAMES = [step["focus"] for step in orca.ROUND["steps"] if "value" in step]
COUNTERS = (
    [
        dict(
            keys=["Down", "Up"],
            hear=".*".join(rf"{name}[^|]*\b0\b" for name in NAMES),
            never="|".join(rf"{name}[^|]*{name}" for name in NAMES),
            names=None,
        )
    ]
    if ORCA >= 48
    else []
)

# Then the page read in browse mode, which Orca takes on its own at the button: an arrow over
# the page reaches the Greek list, and Space, which Orca leaves to the page, picks its name;
# back in the list, the pick is told as such. The round's first pick is of its framed name;
# this one is of the list's first.
PICK = orca.ROUND["steps"][2]["say"][0].replace(
    orca.ROUND["steps"][1]["focus"], orca.ROUND["greek"][0]
)
GREEK = orca.ROUND["steps"][0]["list"]
BROWSE = [
    dict(keys=["shift+Tab", "shift+Tab"], hear="Чисти.*Режим на разглеждане", names=None),
    *COUNTERS,
    dict(keys=["Up"], hear=GREEK, names="greek", never="Режим на фокус"),
    dict(keys=["space"], say=[PICK], names="greek", never="Режим на фокус"),
    dict(
        keys=["Tab", "shift+Tab"],
        hear=f"{GREEK}.*{orca.ROUND['greek'][0]}.*избрано",
        names="both",
    ),
]


# Chromium, once a name of a list has been marked selected, calls every other "not selected":
# no step may say so, as the pick is marked by no state.
def unmarked(step):
    return dict(step, never="|".join(p for p in (step.get("never"), "неизбран") if p))


STEPS = [unmarked(step) for step in [FIRST] + orca.STEPS[1:] + BROWSE]


def chromium(session, url):
    """With its accessibility on, in a profile of its own that offers no translation."""
    profile = session.mkdir("chromium")
    os.makedirs(f"{profile}/Default")
    with open(f"{profile}/Default/Preferences", "w") as preferences:
        json.dump({"translate": {"enabled": False}}, preferences)
    flags = ["--no-sandbox", "--no-first-run", "--force-renderer-accessibility"]
    flags += ["--disable-background-networking", "--disable-component-update"]
    flags += ["--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--window-size=900,700"]
    session.start(["chromium", *flags, f"--user-data-dir={profile}", url])
    return "chromium", 12


# A new profile's Firefox puts up a bar of its own a minute after it starts: "Firefox
# automatically sends some data to Mozilla ...", an alert in the browser's window above the
# page, which Orca announces as «внимание.» over whatever the round is at. A school's Firefox
# has shown it once, long before a lesson; this profile has too. So have its other first-run
# offers (the default browser, a welcome page, translation).
FIREFOX_SAID = {
    "datareporting.policy.dataSubmissionPolicyBypassNotification": True,
    "datareporting.policy.firstRunURL": "",
    "browser.shell.checkDefaultBrowser": False,
    "browser.aboutwelcome.enabled": False,
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.translations.automaticallyPopup": False,
    "browser.translations.enable": False,
}


def firefox(session, url):
    profile = session.mkdir("firefox")
    with open(f"{profile}/user.js", "w") as prefs:
        for name, value in FIREFOX_SAID.items():
            prefs.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
    session.start(
        ["firefox-esr", "--no-remote", "--profile", profile, "--width", "900"]
        + ["--height", "700", url]
    )
    return "firefox-esr", 15


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--transcript")
    parser.add_argument("--browser", choices=["chromium", "firefox"], default="chromium")
    parser.add_argument("site")
    args = parser.parse_args()
    browser = {"chromium": chromium, "firefox": firefox}[args.browser]
    skip_unless(
        "orca", "xdotool", "node", {"chromium": "chromium"}.get(args.browser, "firefox-esr")
    )
    skip_unless_built(pathlib.Path(args.site, "index.html"), "scripts/build-web")

    def launch(session):
        return browser(session, session.serve(os.path.abspath(args.site)))

    if not COUNTERS:
        print(f"Orca {ORCA}: the counters' line in browse mode is not judged (Orca 48's step)")
    return orca.play(launch, STEPS, args.transcript, OPENING)


if __name__ == "__main__":
    sys.exit(main())
