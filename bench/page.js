#!/usr/bin/env node
// The page's benchmark (build-web/site, after scripts/build-web): a pupil's
// first visit on a phone's mobile data, from a host that compresses and from one that does
// not: the bytes on the wire, and the time until the window shows its names in its serif on
// Chrome's Slow 4G (CPU 4x slower) and Fast 4G, median of fresh loads in Debian's headless
// Chromium. The floor is the same window as a static page, the names typed in, no script.
//     bench/page.js [WEB_BUILD] [--runs N]
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');

const ROOT = path.resolve(__dirname, '..');
const { serve, launch, puppeteer } = require(path.join(ROOT, 'acceptance', 'web', 'serve.js'));
const BUILD = process.argv[2] && !process.argv[2].startsWith('--') ? process.argv[2] : 'build-web';
const SITE = path.resolve(ROOT, BUILD, 'site');
const ROUND = JSON.parse(fs.readFileSync(path.join(ROOT, 'acceptance', 'round.json'), 'utf8'));
const BUDGET = { bytes: 80 * 1000, 'Slow 4G': 3000, 'Fast 4G': 1000, ratio: 1.1 };
// As stock hosts answer: ETag and Last-Modified, no Cache-Control.
const HOSTS = {
  'compressing host': { gzip: true, validators: true },
  'plain host': { validators: true },
};

// The floor: the page's own files but its script, the names typed into the lists.
function floorSite() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zun-floor-'));
  for (const name of ['index.html', 'page.css', 'serif.woff2', 'icon.svg', 'manifest.webmanifest'])
    fs.copyFileSync(path.join(SITE, name), path.join(folder, name));
  const options = (names) => names.map((n) => `<div role="option">${n}</div>`).join('');
  const page = fs
    .readFileSync(path.join(SITE, 'index.html'), 'utf8')
    .replace(/<script[^>]*><\/script>\n/g, '')
    .replace(/<link rel="preload"[^>]*>\n/, '')
    .replace(/(id="List1_0"[^>]*>)/, `$1${options(ROUND.greek)}`)
    .replace(/(id="List1_1"[^>]*>)/, `$1${options(ROUND.roman)}`)
    .replace('<html ', '<html class="running" ');
  fs.writeFileSync(path.join(folder, 'index.html'), page);
  return folder;
}

// From navigation until both lists hold their names and the serif has come: its time, and
// the bytes the host sent for it and for the service worker's copy of the quiz.
async function visit(browser, server, network, kept) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 360, height: 740, isMobile: true, hasTouch: true });
  await page.emulateNetworkConditions(puppeteer().PredefinedNetworkConditions[network]);
  if (network === 'Slow 4G') await page.emulateCPUThrottling(4);
  const before = server.sent();
  await page.goto(server.url);
  await page.waitForFunction(
    () =>
      document.querySelectorAll('[role=option]').length === 32 &&
      document.fonts.check('16px "Zun Serif"') &&
      document.fonts.status === 'loaded',
    { timeout: 120000, polling: 'raf' },
  );
  const ms = await page.evaluate(() => performance.now());
  if (kept) await page.evaluate(() => navigator.serviceWorker.ready);
  await new Promise((done) => setTimeout(done, 500)); // anything still on its way
  const bytes = server.sent() - before;
  await context.close();
  return { ms, bytes };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function main() {
  const at = process.argv.indexOf('--runs');
  const runs = at > 0 ? Number(process.argv[at + 1]) : 5;
  const floor = floorSite();
  const browser = await launch();
  let over = false;
  console.log(`${'figure'.padEnd(40)} ${'floor'.padStart(8)} ${'quiz'.padStart(8)}  ratio  budget`);
  for (const [host, options] of Object.entries(HOSTS)) {
    const servers = { floor: await serve(floor, options), quiz: await serve(SITE, options) };
    const rows = {
      bytes: {},
      'Slow 4G': { floor: [], quiz: [] },
      'Fast 4G': { floor: [], quiz: [] },
    };
    for (let run = 0; run < runs; ++run) {
      for (const network of ['Slow 4G', 'Fast 4G']) {
        for (const name of ['floor', 'quiz']) {
          // interleaved, so that load hits both alike
          const { ms, bytes } = await visit(browser, servers[name], network, name === 'quiz');
          rows[network][name].push(ms);
          rows.bytes[name] = bytes;
        }
      }
    }
    for (const server of Object.values(servers)) await server.close();
    for (const [figure, values] of Object.entries(rows)) {
      const [f, q] =
        figure === 'bytes'
          ? [values.floor, values.quiz]
          : [median(values.floor), median(values.quiz)];
      const ratio = q / f;
      const ok = q <= BUDGET[figure] && (figure === 'bytes' || ratio <= BUDGET.ratio);
      over = over || !ok;
      const name = `${host}: ${figure === 'bytes' ? 'first visit (bytes)' : figure + ' (ms)'}`;
      console.log(
        `${name.padEnd(40)} ${f.toFixed(0).padStart(8)} ${q.toFixed(0).padStart(8)}  ${ratio.toFixed(3)}` +
          `  <= ${BUDGET[figure]}${figure === 'bytes' ? '' : ', x' + BUDGET.ratio}  ${ok ? 'within' : 'over'}`,
      );
    }
  }
  await browser.close();
  fs.rmSync(floor, { recursive: true });
  process.exit(over ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
