#!/usr/bin/env node
// The page's benchmark, beside bench/run.py: its size (raw and gzip), the time from navigation
// to the first frame Qt draws (median of fresh loads in Debian's headless Chromium), and a
// pupil's first visit on a phone's mobile data: the bytes on the wire from a host that
// compresses and from one that does not, and the first frame on Chrome's Slow 4G (with the
// CPU 4x slower) and Fast 4G. All against a floor built the same way: a bare Qt window with
// the same controls, as a page with the same loader (after scripts/build-web).
//     bench/web.js [--runs N] [--mobile-runs N]
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const ROOT = path.resolve(__dirname, '..');
const { serve, launch, puppeteer } = require(path.join(ROOT, 'acceptance', 'web', 'serve.js'));
const SITES = {
  floor: path.join(ROOT, 'build-web', 'bench', 'floor-site'),
  quiz: path.join(ROOT, 'build-web', 'site'),
};
const BUDGET = { 'first frame (ms)': 1.15 };
const PACKED_BUDGET = 4 * 1000 * 1000;
// A first visit on mobile data, from either host: its bytes, and its first frame per network.
const MOBILE = { bytes: 3.0e6, 'Slow 4G': 15000, 'Fast 4G': 4000, ratio: 1.05 };
const HOSTS = {
  'compressing host': { gzip: true, validators: true },
  'plain host': { validators: true },
};

// The site's files, as stored and each gzipped (packed ones as they are); the program
// unpacked (as the page states it) and packed.
function sizes(folder) {
  let raw = 0,
    gzip = 0,
    packed = 0;
  for (const name of fs.readdirSync(folder)) {
    const data = fs.readFileSync(path.join(folder, name));
    raw += data.length;
    gzip += /\.(gz|br)$/.test(name) ? data.length : zlib.gzipSync(data, { level: 9 }).length;
    if (name.endsWith('.wasm.br')) packed = data.length;
  }
  const index = fs.readFileSync(path.join(folder, 'index.html'), 'utf8');
  return { raw, gzip, packed, wasm: Number(/data-wasm-bytes="(\d+)"/.exec(index)[1]) };
}

// Milliseconds from navigation to Qt's first WebGL draw, in a context with nothing cached,
// on a network (one of puppeteer's, with the CPU slowed 4x on Slow 4G) or none.
async function firstFrame(browser, url, network) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 900, height: 700 });
  if (network) {
    await page.emulateNetworkConditions(puppeteer().PredefinedNetworkConditions[network]);
    if (network === 'Slow 4G') await page.emulateCPUThrottling(4);
  }
  await page.evaluateOnNewDocument(() => {
    for (const api of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
      for (const draw of ['drawArrays', 'drawElements']) {
        const original = api.prototype[draw];
        api.prototype[draw] = function (...args) {
          if (window.firstFrame === undefined) window.firstFrame = performance.now();
          return original.apply(this, args);
        };
      }
    }
  });
  await page.goto(url);
  await page.waitForFunction(() => window.firstFrame !== undefined, { timeout: 120000 });
  const ms = await page.evaluate(() => window.firstFrame);
  await context.close();
  return ms;
}

// The bytes a host sends for a whole first visit: the page, then what its service worker
// keeps for the next one.
async function firstVisitBytes(browser, server) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const before = server.sent();
  await page.goto(server.url);
  await page.waitForSelector('#zun-canvas.running', { timeout: 60000 });
  await page.evaluate(() => navigator.serviceWorker.ready);
  await new Promise((done) => setTimeout(done, 2000));
  await context.close();
  return server.sent() - before;
}

async function mobile(browser, runs) {
  const rows = [];
  for (const [host, options] of Object.entries(HOSTS)) {
    const servers = {};
    for (const [name, folder] of Object.entries(SITES))
      servers[name] = await serve(folder, options);
    const bytes = {},
      slow = { floor: [], quiz: [] },
      fast = { floor: [], quiz: [] };
    for (const name of Object.keys(SITES))
      bytes[name] = await firstVisitBytes(browser, servers[name]);
    for (let run = 0; run < runs; ++run) {
      for (const name of Object.keys(SITES)) {
        slow[name].push(await firstFrame(browser, servers[name].url, 'Slow 4G'));
        fast[name].push(await firstFrame(browser, servers[name].url, 'Fast 4G'));
      }
    }
    for (const server of Object.values(servers)) await server.close();
    rows.push([`${host}: first visit (bytes)`, bytes.floor, bytes.quiz, MOBILE.bytes]);
    rows.push([
      `${host}: Slow 4G, CPU 4x (ms)`,
      median(slow.floor),
      median(slow.quiz),
      MOBILE['Slow 4G'],
    ]);
    rows.push([`${host}: Fast 4G (ms)`, median(fast.floor), median(fast.quiz), MOBILE['Fast 4G']]);
  }
  return rows;
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

async function main() {
  const option = (name, otherwise) => {
    const at = process.argv.indexOf(name);
    return at > 0 ? Number(process.argv[at + 1]) : otherwise;
  };
  const runs = option('--runs', 9);
  const mobileRuns = option('--mobile-runs', 3);
  const servers = {};
  for (const [name, folder] of Object.entries(SITES)) servers[name] = await serve(folder);
  const browser = await launch();
  const times = { floor: [], quiz: [] };
  let mobileRows;
  try {
    for (let run = 0; run < runs; ++run) {
      for (const name of Object.keys(SITES))
        // interleaved, so that load hits both alike
        times[name].push(await firstFrame(browser, servers[name].url));
    }
    for (const server of Object.values(servers)) await server.close();
    mobileRows = await mobile(browser, mobileRuns);
  } finally {
    await browser.close();
  }
  const size = { floor: sizes(SITES.floor), quiz: sizes(SITES.quiz) };
  const rows = [
    ['site, raw (bytes)', size.floor.raw, size.quiz.raw],
    ['site, gzip -9 (bytes)', size.floor.gzip, size.quiz.gzip],
    ['.wasm (bytes)', size.floor.wasm, size.quiz.wasm],
    ['.wasm.br (bytes)', size.floor.packed, size.quiz.packed],
    ['first frame (ms)', median(times.floor), median(times.quiz)],
  ];
  console.log(
    `${'figure'.padEnd(24)} ${'floor'.padStart(12)} ${'quiz'.padStart(12)}  ratio  budget`,
  );
  let over = false;
  for (const [figure, floor, quiz] of rows) {
    const ratio = quiz / floor;
    const budget = BUDGET[figure];
    over = over || (budget !== undefined && ratio > budget);
    console.log(
      `${figure.padEnd(24)} ${floor.toFixed(0).padStart(12)} ${quiz.toFixed(0).padStart(12)}` +
        `  ${ratio.toFixed(3)}  ${budget === undefined ? '' : '<= ' + budget}`,
    );
  }
  console.log(
    `first frame, each load (ms): floor ${times.floor.map((t) => t.toFixed(0)).join(' ')}; ` +
      `quiz ${times.quiz.map((t) => t.toFixed(0)).join(' ')}`,
  );
  console.log(
    `\nfirst visit on mobile data (median of ${mobileRuns}; budget: the quiz's figure, and ` +
      `the ratio <= ${MOBILE.ratio})`,
  );
  for (const [figure, floor, quiz, budget] of mobileRows) {
    const ratio = quiz / floor;
    const ok = quiz <= budget && ratio <= MOBILE.ratio;
    over = over || !ok;
    console.log(
      `${figure.padEnd(36)} ${floor.toFixed(0).padStart(9)} ${quiz.toFixed(0).padStart(9)}` +
        `  ${ratio.toFixed(3)}  <= ${budget}  ${ok ? 'within' : 'over'}`,
    );
  }
  const wasmOver = size.quiz.packed > PACKED_BUDGET;
  console.log(
    `.wasm.br ${size.quiz.packed} bytes, budget ${PACKED_BUDGET}: ${wasmOver ? 'over' : 'within'}`,
  );
  process.exit(over || wasmOver ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
