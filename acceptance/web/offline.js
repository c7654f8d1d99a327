#!/usr/bin/env node
// The page kept on the pupil's device by its service worker, in Debian's headless Chromium:
// the page installable to a home screen, a pair by keyboard with no network; a new version
// uploaded to a stock host while a pupil keeps the page (made by scripts/build-web --next),
// whole and with one file not of its version; an upload that lost sw.js.
//   acceptance/web/offline.js WEB_BUILD
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');

const { build, check, run, WRONG, saysFirst } = require('./check.js');
const { ROOT, SITE } = build(process.argv);
const { serve, launch } = require('./serve.js');
const { driven } = require('./engines.js');
const NEXT_VERSION = '1.0.1';
const VERSIONED = 5; // the scripts, the style sheet, the font and the core
const WRONG_PAIR = saysFirst(WRONG);
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

async function offline(browser, server) {
  const page = await browser.newPage();
  await page.goto(server.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const installable = await (await page.createCDPSession()).send('Page.getInstallabilityErrors');
  check(
    'the page can be added to a home screen',
    installable.installabilityErrors.length === 0,
    JSON.stringify(installable.installabilityErrors),
  );
  await page.setOfflineMode(true);
  await page.reload();
  await page.waitForSelector('html.running', { timeout: 30000 });
  await driven(page).keys(['Tab', ' ', 'Tab', ' ']);
  const said = await page.$eval('#zun-said', (e) => e.textContent);
  check('offline, a pair by keyboard', WRONG_PAIR.test(said), said);
  await page.close();
}

// The quiz plays without its worker, and a line under the window tells the administrator.
async function workerMissing(browser) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zun-site-'));
  fs.cpSync(SITE, folder, { recursive: true });
  fs.rmSync(path.join(folder, 'sw.js'));
  const server = await serve(folder);
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.goto(server.url);
  await page.waitForSelector('#zun-missing:not([hidden])', { timeout: 10000 }).catch(() => {});
  const [running, note] = await page.evaluate(() => [
    document.documentElement.classList.contains('running'),
    document.getElementById('zun-missing').textContent,
  ]);
  check(
    'sw.js missing: the quiz plays, and a sentence names the file',
    running && /„sw\.js“ липсва на сайта.*качете отново цялата папка/.test(note),
    note,
  );
  await context.close();
  await server.close();
  fs.rmSync(folder, { recursive: true });
}

// A new version put on a stock host (ETag and Last-Modified, no Cache-Control) while a pupil
// keeps the page: each load runs one upload's files only, the new ones by the second load
// after the upload, and offline after that. With `damaged`, one file of the new upload is not
// what its version lists: the pupil keeps the old version, whole.
async function update(next, damaged = false) {
  const upload = fs.mkdtempSync(path.join(os.tmpdir(), 'zun-next-'));
  fs.cpSync(next, upload, { recursive: true });
  if (damaged) fs.appendFileSync(path.join(upload, 'page.css'), '/* edited on the host */\n');
  const server = await serve(SITE, { validators: true, headers: { 'X-Upload': 'first' } });
  const browser = await launch(); // a profile of its own, which keeps the worker
  const page = await browser.newPage();
  const origin = new URL(server.url).origin;
  const load = async (offline = false) => {
    const files = {};
    const record = (response) => {
      const url = new URL(response.url());
      if (url.origin === origin && !url.pathname.endsWith('/sw.js'))
        files[url.pathname + url.search] = response.headers()['x-upload'];
    };
    page.on('response', record);
    await page.setOfflineMode(offline);
    await page.goto(server.url);
    await page.waitForSelector('html.running', { timeout: 30000 });
    await page.evaluate(() => document.fonts.ready);
    page.off('response', record);
    const build = await page.$eval('html', (h) => h.dataset.build);
    const uploads = [...new Set(Object.values(files))];
    const versioned = Object.keys(files).filter((name) => name.includes('?v='));
    const whole = versioned.length === VERSIONED && versioned.every((name) => name.endsWith(build));
    return { build, uploads, whole };
  };
  // The new worker makes its cache as it starts installing and drops the old one only once
  // it is active, so the new version serves the next load when the old cache is gone.
  const kept = () =>
    page.evaluate(
      async (p) => {
        const ours = (await caches.keys()).filter((k) => k.startsWith('zun-mitologia-'));
        return ours.length > 0 && ours.every((k) => k.startsWith(p));
      },
      'zun-mitologia-' + NEXT_VERSION + '-',
    );
  const what = damaged ? 'an update with a file not of its version' : 'an update on a stock host';
  const first = await load();
  await page.evaluate(() => navigator.serviceWorker.ready);
  server.upload(upload, { 'X-Upload': 'second' });
  const second = await load();
  for (let waited = 0; waited < 40 && !(await kept()); ++waited) await sleep(500);
  const third = await load();
  const offline = await load(true);
  const loads = [first, second, third, offline];
  console.log(`     ${what}: ${JSON.stringify(loads)}`);
  check(
    `${what}: no load mixes two uploads' files`,
    loads.every((l) => l.uploads.length === 1 && l.whole),
  );
  const wanted = ['first', 'first', ...(damaged ? ['first', 'first'] : ['second', 'second'])];
  check(
    `${what}: ${
      damaged
        ? 'the old version stays, online and offline'
        : 'the new version by the second load, and offline'
    }`,
    JSON.stringify(loads.map((l) => l.uploads[0])) === JSON.stringify(wanted),
  );
  await browser.close();
  await server.close();
  fs.rmSync(upload, { recursive: true });
}

async function main() {
  execFileSync(path.join(ROOT, 'scripts', 'build-web'), ['--next', NEXT_VERSION], {
    stdio: 'inherit',
  });
  const next = path.join(ROOT, 'build-web-next', 'site');
  await update(next);
  await update(next, true);
  const server = await serve(SITE);
  const browser = await launch();
  await offline(browser, server);
  await workerMissing(browser);
  await browser.close();
  await server.close();
}

run('offline', main);
