#!/usr/bin/python3
"""Photographs the real quiz for the docs: the window on a private X server
(docs/screenshot.png), with --windows the Windows .exe under Wine (docs/screenshot-windows.png,
after scripts/build-windows), and with --web the page's window in headless Chromium
(docs/screenshot-web.png, after scripts/build-web). The only script that writes docs/.

    scripts/screenshot.py [--windows | --web] [PROGRAM_OR_SITE]
"""
import argparse
import pathlib
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "acceptance"))
from harness import TITLE, Session, WineSession  # noqa: E402

# The page's window, served by the checks' web server, once it runs and its serif has come.
PAGE = """
const { serve, launch } = require(process.argv[1]);
(async () => {
  const server = await serve(process.argv[2]);
  const browser = await launch();
  const page = await browser.newPage();
  await page.setViewport({ width: 900, height: 700, deviceScaleFactor: 1 });
  await page.goto(server.url);
  await page.waitForSelector('html.running', { timeout: 60000 });
  await page.evaluate(() => document.fonts.ready);
  await (await page.$('main')).screenshot({ path: process.argv[3] });
  await browser.close();
  await server.close();
})();
"""


def window(program, output):
    with Session() as session:
        session.start([program], env=dict(session.env, QT_QPA_PLATFORM="xcb"))
        if session.window(wm_class="zun-mitologia", seconds=30) is None:
            sys.exit("screenshot: the quiz window never appeared")
        time.sleep(1)
        session.photograph(output)


def windows_window(exe, output):
    with WineSession() as session:
        program = session.start_exe(exe)
        if session.window(name=TITLE, seconds=30) is None:
            sys.exit("screenshot: the quiz window never appeared under Wine")
        time.sleep(1)
        session.photograph(output)
        program.kill()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--web", action="store_true")
    parser.add_argument("--windows", action="store_true")
    parser.add_argument("source", nargs="?")
    args = parser.parse_args()
    if args.web:
        output = ROOT / "docs" / "screenshot-web.png"
        site = args.source or ROOT / "build-web" / "site"
        serve = ROOT / "acceptance" / "web" / "serve.js"
        subprocess.run(["node", "-e", PAGE, str(serve), str(site), str(output)], check=True)
    elif args.windows:
        output = ROOT / "docs" / "screenshot-windows.png"
        exe = ROOT / "build-windows" / "win32" / "zun-mitologia.exe"
        windows_window(args.source or str(exe), output)
    else:
        output = ROOT / "docs" / "screenshot.png"
        window(args.source or str(ROOT / "build" / "app" / "zun-mitologia"), output)
    subprocess.run(["identify", str(output)], check=True)


if __name__ == "__main__":
    sys.exit(main())
