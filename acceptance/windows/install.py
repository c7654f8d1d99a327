#!/usr/bin/python3
"""Checks what a Windows school computer and its IT get, under Wine on a private X server: the
portable .exe from the zip, played by keyboard, its verdict read back through the clipboard,
started again (the open window comes forward) and closed as a user would; the installer and
the .msi each installed silently, the installed program started, upgraded in place by a newer
version's package and removed silently, leaving nothing behind; an older .msi over a newer
one, and a damaged one, refused.

    acceptance/windows/install.py [--screenshot FILE] WINDOWS_BUILD   (after scripts/build-windows)
"""
import argparse
import glob
import os
import pathlib
import subprocess
import sys
import time
import zipfile

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))
from harness import ROOT, TITLE, WineSession, load_round  # noqa: E402
from harness import report, skip_unless, skip_unless_built  # noqa: E402

# The round's keys up to its first verdict, and what the message field then shows.
STEPS = load_round()["steps"]
VERDICT = next(number for number, step in enumerate(STEPS) if step.get("message"))


def play_portable(session, package_dir, home, screenshot, problems):
    archive = glob.glob(os.path.join(package_dir, "zun-mitologia-*-windows-x64.zip"))[0]
    with zipfile.ZipFile(archive) as zipped:
        names = zipped.namelist()
        if [os.path.basename(n) for n in names] != ["zun-mitologia.exe"]:
            problems.append(f"the zip holds {names}, not the .exe alone")
        zipped.extractall(os.path.join(home, "portable"))
    exe = glob.glob(os.path.join(home, "portable", "*", "zun-mitologia.exe"))[0]
    program = session.start_exe(exe)
    window = session.window(name=TITLE)
    if window is None:
        program.kill()
        problems.append("the portable .exe showed no window")
        return
    session.focus(window)
    time.sleep(1)
    if screenshot:
        session.photograph(screenshot)
    for step in STEPS[: VERDICT + 1]:
        session.keys(*step["keys"])
    # From the Roman list on to the message field, copied.
    session.keys("Tab", "Tab", "Tab", "Tab", "ctrl+a", "ctrl+c", pause=0.5)
    copied = session.run(
        "xclip", "-o", "-selection", "clipboard", stdout=subprocess.PIPE, text=True
    ).stdout
    print(f"install: the message field reads {copied!r}")
    if copied.replace("\r", "") != STEPS[VERDICT]["message"]:
        problems.append(f"the verdict read back is {copied!r}")
    # Started again, it brings this window forward and leaves: one round, not two.
    again = session.start_exe(exe)
    try:
        second = again.wait(timeout=30)
    except subprocess.TimeoutExpired:
        again.kill()
        second = "still running"
    windows = len(session.xdotool("search", "--onlyvisible", "--name", TITLE))
    print(f"install: started again: status {second}, {windows} window(s)")
    if second != 0 or windows != 1:
        problems.append(f"started again: status {second}, {windows} window(s)")
    status = session.close(window, program)
    print(f"install: the portable .exe exited with status {status}")
    if status != 0:
        problems.append(f"the portable .exe exited with status {status}")


def dpi(session, value):
    """Windows' scaling, as Settings sets it: 96 for 100 %, 144 for 150 %."""
    key = r"HKCU\Control Panel\Desktop"
    session.wine("reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(value), "/f")


def scaled(session, home, problems):
    """At 150 % (144 dpi) the window is half as large again: geometry follows the system's
    scaling, as the manifest's per-monitor DPI awareness lets it."""
    dpi(session, 144)
    exe = glob.glob(os.path.join(home, "portable", "*", "zun-mitologia.exe"))[0]
    program = session.start_exe(exe)
    window = session.window(name=TITLE)
    if window is None:
        program.kill()
        problems.append("at 150 % the .exe showed no window")
    else:
        size = window.get_geometry()
        print(f"install: at 150 % the window is {size.width} x {size.height} pixels")
        if not (640 <= size.width <= 641 and size.height == 540):
            problems.append(f"at 150 % the window is {size.width} x {size.height}, not 641 x 540")
        if (status := session.close(window, program)) != 0:
            problems.append(f"at 150 % the .exe exited with status {status}")
    dpi(session, 96)


START_MENU = ("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs")
# Wine's msiexec puts a per-machine package's shortcuts in the user's Start menu; Windows
# puts them in all users'. Either is read, and exactly one shortcut wanted.
USER_START_MENU = (
    "users",
    "root",
    "AppData",
    "Roaming",
    "Microsoft",
    "Windows",
    "Start Menu",
    "Programs",
)
APPS = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
APPS_EXPORTED = APPS.replace("HKLM", "HKEY_LOCAL_MACHINE")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def apps_entries(session):
    """The quiz's entries in Windows' "Apps": (key, version) for each."""
    entries, key = [], None
    for line in session.registry(APPS).splitlines():
        if line.startswith("["):
            key = line.strip("[]")
        elif line == f'"DisplayName"="{TITLE}"':
            entries.append([key, None])
        elif line.startswith('"DisplayVersion"=') and entries and entries[-1][0] == key:
            entries[-1][1] = line.split("=", 1)[1].strip('"')
    return [tuple(e) for e in entries]


def installed(session):
    """What an install left: the program folder's files, the Start-menu shortcuts that
    name the quiz, and its "Apps" entries."""
    folder = session.path("Program Files", TITLE)
    files = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
    shortcuts = []
    for menu in (session.path(*START_MENU), session.path(*USER_START_MENU)):
        if os.path.isdir(menu):
            shortcuts += sorted(n for n in os.listdir(menu) if TITLE in n)
    return files, shortcuts, apps_entries(session)


def program_version(session, version):
    """Whether the installed program's version information names this version."""
    with open(session.path("Program Files", TITLE, "zun-mitologia.exe"), "rb") as exe:
        return version.encode("utf-16-le") in exe.read()


def msi_table(msi, table):
    return subprocess.run(
        ["msiinfo", "export", msi, table], stdout=subprocess.PIPE, text=True
    ).stdout


def starts_and_closes(session, problems, what):
    program = session.start_exe(session.path("Program Files", TITLE, "zun-mitologia.exe"))
    window = session.window(name=TITLE)
    if window is None:
        program.kill()
        problems.append(f"{what}: the installed .exe showed no window")
    elif (status := session.close(window, program)) != 0:
        problems.append(f"{what}: the installed .exe exited with status {status}")


def expect(problems, what, found, wanted):
    print(f"install: {what}: {found}")
    if found != wanted:
        problems.append(f"{what}: {found}, not {wanted}")


def nsis(session, installer, problems, what):
    started = time.time()
    status = session.wine(installer, "/S", "/AllUsers").returncode
    print(f"install: {what}, status {status}, {time.time() - started:.1f} s")
    if status != 0:
        problems.append(f"{what}: status {status}")


def nsis_uninstall(session):
    folder = session.path("Program Files", TITLE)
    session.wine(os.path.join(folder, "Uninstall.exe"), "/S", "/AllUsers")
    deadline = time.time() + 60  # the uninstaller goes on from a copy of itself
    while time.time() < deadline and (os.path.exists(folder) or installed(session)[1]):
        time.sleep(0.5)


def installer_upgrade(session, old, new, problems):
    """The NSIS installer: the older version, silently for all users, started and closed;
    the newer one over it; then the uninstaller, leaving nothing."""
    nsis(session, old.installer, problems, f"installer {old.version}")
    files, shortcuts, entries = installed(session)
    expect(
        problems,
        f"installer {old.version} left",
        (files, shortcuts, entries),
        (
            ["Uninstall.exe", "zun-mitologia.exe"],
            [TITLE + ".lnk"],
            [(APPS_EXPORTED + r"\zun-mitologia", old.version)],
        ),
    )
    if '"QuietUninstallString"' not in session.registry(APPS + r"\zun-mitologia"):
        problems.append("the installer's entry has no quiet uninstall string")
    starts_and_closes(session, problems, f"installer {old.version}")
    nsis(session, new.installer, problems, f"installer {new.version} over {old.version}")
    expect(
        problems,
        f"installer {new.version} over {old.version} left",
        installed(session),
        (
            ["Uninstall.exe", "zun-mitologia.exe"],
            [TITLE + ".lnk"],
            [(APPS_EXPORTED + r"\zun-mitologia", new.version)],
        ),
    )
    if not program_version(session, new.version):
        problems.append(f"after the upgrade the program is not version {new.version}'s")
    nsis_uninstall(session)
    expect(problems, "the uninstaller left", installed(session), ([], [], []))


def msiexec(session, *args):
    """msiexec's status and time, with its verbose log written as IT would."""
    started = time.time()
    status = session.wine("msiexec", *args, "/qn", "/l*v", "C:\\msi.log").returncode
    return status, time.time() - started


def msi_upgrade(session, old, new, problems):
    """The .msi: installed silently, upgraded in place by the newer one, the older one then
    refused, removed silently; and a damaged one refused, leaving nothing."""
    status, seconds = msiexec(session, "/i", windows_path(old.msi))
    print(
        f"install: msiexec /i {os.path.basename(old.msi)} /qn: status {status}, " f"{seconds:.1f} s"
    )
    expect(problems, f".msi {old.version}: status", status, 0)
    files, shortcuts, entries = installed(session)
    expect(
        problems,
        f".msi {old.version} left",
        (files, shortcuts, [v for _, v in entries]),
        (["zun-mitologia.exe"], [TITLE + ".lnk"], [old.version]),
    )
    entry = session.registry(entries[0][0]) if entries else ""
    for value in ('"Publisher"="', '"HelpLink"="https://'):
        if value not in entry:
            problems.append(f"the .msi's Apps entry has no {value}: {entry!r}")
    # Windows shows the icon from ARPPRODUCTICON; Wine writes no DisplayIcon for it.
    if "ARPPRODUCTICON\tzun.ico" not in msi_table(old.msi, "Property"):
        problems.append("the .msi names no icon for Windows' Apps")
    starts_and_closes(session, problems, f".msi {old.version}")

    status, seconds = msiexec(session, "/i", windows_path(new.msi))
    print(
        f"install: the .msi of {new.version} over {old.version}: status {status}, "
        f"{seconds:.1f} s"
    )
    expect(problems, f".msi {new.version} over {old.version}: status", status, 0)
    files, shortcuts, entries = installed(session)
    expect(
        problems,
        f".msi {new.version} over {old.version} left",
        (files, shortcuts, [v for _, v in entries]),
        (["zun-mitologia.exe"], [TITLE + ".lnk"], [new.version]),
    )
    if not program_version(session, new.version):
        problems.append(f"after the .msi upgrade the program is not version {new.version}'s")

    # Refused by its launch condition, whose Bulgarian sentence Windows shows or logs (Wine
    # logs no launch condition's text).
    status, _ = msiexec(session, "/i", windows_path(old.msi))
    said = "вече има по-нова версия" in msi_table(old.msi, "LaunchCondition")
    left = [v for _, v in installed(session)[2]]
    print(
        f"install: the older .msi over the newer: status {status}, "
        f"left {left}, the package's sentence is Bulgarian: {said}"
    )
    if status == 0 or not said or left != [new.version]:
        problems.append(f"the older .msi was not refused (status {status}, left {left})")

    status, seconds = msiexec(session, "/x", windows_path(new.msi))
    print(f"install: msiexec /x /qn: status {status}, {seconds:.1f} s")
    expect(problems, ".msi removal: status", status, 0)
    expect(problems, "the .msi's removal left", installed(session), ([], [], []))

    damaged = session.path("damaged.msi")
    with open(old.msi, "rb") as whole, open(damaged, "wb") as half:
        half.write(whole.read()[: os.path.getsize(old.msi) // 2])
    status, _ = msiexec(session, "/i", "C:\\damaged.msi")
    print(f"install: a truncated .msi: status {status}")
    if status == 0:
        problems.append("a truncated .msi was installed")
    expect(problems, "the truncated .msi left", installed(session), ([], [], []))

    # Another folder, as README tells IT to ask for one: kept by the upgrade, emptied by the
    # removal.
    program = session.path("Apps", "ZUN", "zun-mitologia.exe")
    status, _ = msiexec(session, "/i", windows_path(old.msi), "INSTALLDIR=C:\\Apps\\ZUN")
    placed = os.path.exists(program)
    msiexec(session, "/i", windows_path(new.msi))
    upgraded = os.path.exists(program) and not installed(session)[0]
    msiexec(session, "/x", windows_path(new.msi))
    print(
        f"install: INSTALLDIR=C:\\Apps\\ZUN: status {status}, program there {placed}, "
        f"upgraded there {upgraded}, left after removal {os.path.exists(program)}"
    )
    if (
        status != 0
        or not placed
        or not upgraded
        or os.path.exists(program)
        or installed(session)[2]
    ):
        problems.append("INSTALLDIR was not kept through the upgrade and the removal")


class Packages:
    """One version's Windows packages, and the .exe they carry."""

    def __init__(self, package_dir):
        self.msi = glob.glob(os.path.join(package_dir, "zun-mitologia-*-windows-x64.msi"))[0]
        self.version = os.path.basename(self.msi).split("-")[2]
        self.installer = self.msi[: -len(".msi")] + ".exe"


def next_version(package_dir):
    """The packages of a version one higher, built beside the others with the cached Qt."""
    current = Packages(package_dir).version
    major, minor, patch = current.split(".")
    version = f"{major}.{minor}.{int(patch) + 1}"
    subprocess.run(
        [str(ROOT / "scripts" / "build-windows"), "--next", version],
        check=True,
        stdout=subprocess.DEVNULL,
    )
    return Packages(str(ROOT / "build-windows-next" / "package"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--screenshot")
    parser.add_argument("build")
    args = parser.parse_args()
    skip_unless("/usr/lib/wine/wine64", "xdotool", "xclip", "msiinfo", "Xvfb")
    package_dir = os.path.join(args.build, "package")
    skip_unless_built(os.path.join(package_dir, "*.msi"), "scripts/build-windows")
    screenshot = os.path.abspath(args.screenshot) if args.screenshot else None
    old = Packages(package_dir)
    new = next_version(package_dir)
    problems = []
    with WineSession() as session:
        play_portable(session, package_dir, session.home, screenshot, problems)
        scaled(session, session.home, problems)
        installer_upgrade(session, old, new, problems)
        msi_upgrade(session, old, new, problems)
    return report("install", problems)


if __name__ == "__main__":
    sys.exit(main())
