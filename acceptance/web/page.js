#!/usr/bin/env node
// Plays the page in Debian's headless Chromium as pupils would, on a laptop and on a phone,
// and checks what they see and what a screen reader is told (after scripts/build-web):
//   the round of round.json by keyboard, then a pair by mouse and "Чисти" by Enter, each
//   read back through the clipboard (the message and both counters) and through the live
//   regions; a phone 360 CSS pixels wide: the whole window shown, a pair by touch, swipes
//   that scroll the lists and the message and pick nothing, a pair of the names reached by
//   them; the page again with no network; opened from a file; without WebGL; hosts that
//   compress every file, send packed files as encoded, send the .wasm with the wrong type (to
//   a browser that cannot unpack gzip), or send a strict security policy (none violated); an
//   upload with the program cut short, or the .js, the decoder, the loader or the service
//   worker missing; a school page with the quiz in two frames, one smaller than the window;
//   a new version uploaded to a stock host while a pupil keeps the page (made by
//   scripts/build-web --next), whole and with a file not of its version; the round by
//   keyboard and a pair by mouse in Firefox ESR and in WebKitGTK, nothing left unhandled.
//   Pictures go to $ZUN_PICTURES. Firefox and WebKit need an X server: run it under the harness.
//     acceptance/harness.py -- acceptance/web/page.js WEB_BUILD
'use strict';
const fs = require('fs');
const path = require('path');
const http = require('http');
const os = require('os');
const { execFileSync } = require('child_process');

const ROOT = path.resolve(__dirname, '..', '..');
const SITE = path.resolve(process.argv[2] || path.join(ROOT, 'build-web'), 'site');
for (const [needed, how] of [
  [path.join(__dirname, 'node_modules'), 'scripts/install-deps installs it'],
  ['/usr/bin/chromium', 'scripts/install-web-deps installs it'],
  [path.join(SITE, 'index.html'), 'scripts/build-web makes it'],
]) {
  if (!fs.existsSync(needed)) {
    console.log(`skipped: no ${needed}; ${how}`);
    process.exit(77);
  }
}
const { serve, launch, puppeteer, STRICT } = require('./serve.js');
const { firefox, webkit } = require('./engines.js');
const PICTURES = process.env.ZUN_PICTURES || path.join(os.tmpdir(), 'zun-pictures');
fs.mkdirSync(PICTURES, { recursive: true });
const picture = (name) => path.join(PICTURES, name);
// What the page asks for under its build's name: zoom script, style sheet, loader, the
// program's .js, the packed program and its decoder.
const VERSIONED = 6;
const problems = [];
function check(what, ok, detail) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${detail === undefined ? '' : ': ' + detail}`);
  if (!ok) problems.push(what);
}

// The round, its keys as X names them, and what the quiz must say at each step.
const ROUND = JSON.parse(fs.readFileSync(path.join(__dirname, '..', 'round.json'), 'utf8'));
const KEYS = { Down: 'ArrowDown', space: ' ', Return: 'Enter', 'shift+Tab': 'Shift+Tab' };
const spoken = (step) => step.say && step.say.join(' ');
// The round's verdicts, as sentences begin.
const VERDICTS = ROUND.steps.filter((step) => step.message).map((step) => step.say[0]);
const escape = (text) => text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');

// The window's tab stops, in order: the message, the two lists, "Чисти", the two counters.
const STOPS = 6;
const MESSAGE = 0,
  GREEK = 1,
  ROMAN = 2,
  CLEAR = 3,
  RIGHT_COUNT = 4,
  WRONG_COUNT = 5;
// Places in CSS pixels at the window's defined size, from the form table; a list's row is
// the serif's line height.
const FORM = JSON.parse(fs.readFileSync(path.join(ROOT, 'data', 'form.json'), 'utf8'));
const place = (array, index) => {
  const { twips } = FORM.controls.find((c) => c.array === array && c.index === index);
  const [left, top, width, height] = twips.map((t) => t / FORM.twipsPerPixel);
  return { left, top, width, height, middle: [left + width / 2, top + height / 2] };
};
const LIST = { [GREEK]: place('List1', 0), [ROMAN]: place('List1', 1) };
const CLEAR_BUTTON = place('Command1', 0);
const [WIDTH, HEIGHT] = FORM.client.map((t) => t / FORM.twipsPerPixel);
const ROW = 18;

class Player {
  constructor(page) {
    this.page = page;
    this.stop = MESSAGE; // the message field holds the focus when the window opens
  }

  async open(url) {
    await this.page.goto(url);
    await this.page.bringToFront(); // the clipboard serves the page that has the focus
    await this.page.waitForSelector('#zun-canvas.running', { timeout: 60000 });
    await this.page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
    await sleep(300);
  }

  async keys(...names) {
    for (const name of names) {
      if (name === 'Tab' || name === 'Shift+Tab')
        this.stop = (this.stop + (name === 'Tab' ? 1 : STOPS - 1)) % STOPS;
      const [modifier, key] = name.includes('+') ? name.split('+') : [null, name];
      if (modifier) await this.page.keyboard.down(modifier);
      await this.page.keyboard.press(key);
      if (modifier) await this.page.keyboard.up(modifier);
      await sleep(60);
    }
    await sleep(250);
  }

  async goTo(stop) {
    while (this.stop !== stop) await this.keys('Tab');
  }

  // What the pupil would paste from a field: select all, copy, read the clipboard.
  async copy(stop) {
    await this.goTo(stop);
    await this.keys('Control+a', 'Control+c');
    return this.page.evaluate(() => navigator.clipboard.readText());
  }

  // An empty field copies nothing, and the clipboard keeps what it had: the message field
  // is read by its pixels first, and copied only when it shows any text.
  async readBack() {
    return {
      message: (await this.inkInMessage()) ? (await this.copy(MESSAGE)).replace(/\r/g, '') : '',
      right: await this.copy(RIGHT_COUNT),
      wrong: await this.copy(WRONG_COUNT),
    };
  }

  // How many of the message field's pixels, inside its frame and left of its scroll bar,
  // are not white.
  async inkInMessage() {
    const canvas = await this.page.$eval('#zun-canvas', (c) => c.getBoundingClientRect().toJSON());
    const shot = await this.page.screenshot({
      encoding: 'base64',
      clip: { x: canvas.x + 11, y: canvas.y + 235, width: 370, height: 115 },
    });
    return this.page.evaluate(async (png) => {
      const image = new Image();
      image.src = 'data:image/png;base64,' + png;
      await image.decode();
      const paper = new OffscreenCanvas(image.width, image.height).getContext('2d');
      paper.drawImage(image, 0, 0);
      const pixels = paper.getImageData(0, 0, image.width, image.height).data;
      let ink = 0;
      for (let i = 0; i < pixels.length; i += 4)
        ink += pixels[i] + pixels[i + 1] + pixels[i + 2] < 600 ? 1 : 0;
      return ink;
    }, shot);
  }

  said(urgency) {
    return this.page.$eval(`#zun-${urgency}`, (region) => region.textContent);
  }

  // Where a list's row is on the page, in the page's own CSS pixels.
  async rowAt(list, row) {
    const canvas = await this.page.$eval('#zun-canvas', (c) => {
      const r = c.getBoundingClientRect();
      return { x: r.left, y: r.top };
    });
    return {
      x: canvas.x + LIST[list].left + 40,
      y: canvas.y + LIST[list].top + 1 + ROW * (row + 0.5),
    };
  }

  async click(list, row) {
    const at = await this.rowAt(list, row);
    await this.page.mouse.click(at.x, at.y);
    this.stop = list;
    await sleep(300);
  }

  // A finger on the name as the zoomed-out page shows it: the browser maps the touch back
  // to the page's pixels, where Qt must find the same name.
  async tap(list, row) {
    const at = await this.rowAt(list, row);
    await this.page.touchscreen.tap(at.x, at.y);
    this.stop = list;
    await sleep(400);
  }

  // A finger drawn up by `rows` rows at a finger's pace, from `from` (CSS pixels), then
  // lifted; any glide waited out.
  async swipeUp(from, rows) {
    const touch = this.page.touchscreen;
    await touch.touchStart(from.x, from.y);
    for (let step = 1; step <= 10; ++step) {
      await sleep(16);
      await touch.touchMove(from.x, from.y - (ROW * rows * step) / 10);
    }
    await touch.touchEnd();
    await sleep(1500);
  }

  // The message field's scroll bar, as pixels.
  async messageScrollBar() {
    const canvas = await this.page.$eval('#zun-canvas', (c) => c.getBoundingClientRect().toJSON());
    return this.page.screenshot({
      encoding: 'base64',
      clip: { x: canvas.x + 402, y: canvas.y + 235, width: 13, height: 115 },
    });
  }
}

function sleep(ms) {
  return new Promise((done) => setTimeout(done, ms));
}

async function expectRead(player, what, wanted) {
  const read = await player.readBack();
  check(
    `${what}: read back`,
    JSON.stringify(read) === JSON.stringify(wanted),
    JSON.stringify(read),
  );
}

async function expectSaid(player, what, urgency, pattern) {
  const said = await player.said(urgency);
  check(
    `${what}: the screen reader is told (${urgency})`,
    pattern.test(said),
    JSON.stringify(said),
  );
}

// The round's step `number`: its keys, then what the live regions hold: the sentence
// announced (assertive) and what is heard (polite), how to play first with the first Tab.
async function playStep(player, number) {
  const step = ROUND.steps[number];
  await player.keys(...step.keys.map((key) => KEYS[key] || key));
  const what = `round step ${number + 1} (${step.keys.join(' ')})`;
  if (step.say)
    await expectSaid(player, what, 'assertive', new RegExp(`^${escape(spoken(step))}$`));
  if (step.hear) {
    const help = number === 0 ? `^${escape(ROUND.help)}.*` : '';
    await expectSaid(player, what, 'polite', new RegExp(help + step.hear));
  }
}

async function laptop(browser, server) {
  const context = await browser.createBrowserContext();
  await context.overridePermissions(server.url, [
    'clipboard-read',
    'clipboard-write',
    'clipboard-sanitized-write',
  ]);
  const page = await context.newPage();
  await page.setViewport({ width: 900, height: 700, deviceScaleFactor: 1 });
  await page.evaluateOnNewDocument(() =>
    document.addEventListener('DOMContentLoaded', () => {
      const status = document.getElementById('zun-status');
      window.progress = [status.textContent];
      new MutationObserver(() => window.progress.push(status.textContent)).observe(status, {
        childList: true,
        characterData: true,
        subtree: true,
      });
    }),
  );
  const requested = [];
  page.on('request', (request) =>
    requested.push(new URL(request.url()).pathname.slice(1) + new URL(request.url()).search),
  );
  // On Fast 4G, so that the program arrives in many pieces, as it does for a pupil.
  await page.emulateNetworkConditions(puppeteer().PredefinedNetworkConditions['Fast 4G']);
  const started = Date.now();
  const player = new Player(page);
  await player.open(server.url);
  check('the page opens and Qt starts on Fast 4G', true, `${Date.now() - started} ms`);
  const build = await page.$eval('html', (h) => h.dataset.build);
  const parts = requested.filter((name) => /\.(js|css|gz|br)(\?|$)/.test(name));
  check(
    "the page asks for each of its files under its own build's name",
    /^1\.\d+\.\d+-[0-9a-f]{12}$/.test(build) &&
      parts.length === VERSIONED &&
      parts.every((name) => name.endsWith('?v=' + build)),
    JSON.stringify(parts),
  );
  await page.emulateNetworkConditions(null);
  const progress = await page.evaluate(() =>
    window.progress.filter((line) => /^Зарежда се/.test(line)),
  );
  check(
    'while the program arrives, a line counts it up to 100 %',
    progress.every((line) => /^Зарежда се … \d+ %$/.test(line)) &&
      progress.length > 2 &&
      progress[progress.length - 1] === 'Зарежда се … 100 %',
    `${progress.length} lines, the last "${progress[progress.length - 1]}"`,
  );
  check(
    "the page is titled with the window's caption",
    /ЗУН - митология$/.test(await page.title()),
    await page.title(),
  );
  check('the page is in Bulgarian', (await page.$eval('html', (h) => h.lang)) === 'bg');
  const canvas = await page.$eval('#zun-canvas', (c) => [
    c.getAttribute('role'),
    c.getAttribute('aria-label'),
    c.clientWidth,
    c.clientHeight,
  ]);
  check(
    `the canvas is an application named after the quiz, ${WIDTH} x ${HEIGHT}`,
    JSON.stringify(canvas) === JSON.stringify(['application', FORM.title, WIDTH, HEIGHT]),
    JSON.stringify(canvas),
  );
  check('the introduction shows in the message field', (await player.inkInMessage()) > 1000);
  await expectSaid(player, 'arriving', 'polite', /^Съобщение\. Поле само за четене\. Античната/);
  await (await page.$('#zun-canvas')).screenshot({ path: picture('laptop.png') });

  // The round by keyboard, as the screen readers' checks play it; after each verdict and the
  // new round, the fields read back, and the focus taken back to where the step left it.
  for (const [number, step] of ROUND.steps.entries()) {
    await playStep(player, number);
    if (step.message === undefined) continue;
    if (number === 5) await expectAccessible(page, 'a right pair by keyboard');
    const at = player.stop;
    await expectRead(player, `round step ${number + 1}`, {
      message: step.message,
      right: step.counts[0],
      wrong: step.counts[1],
    });
    const counter = ROUND.steps[13].focus; // the last one read back
    await expectSaid(
      player,
      'a counter',
      'polite',
      new RegExp(`^${counter}\\..* ${step.counts[1]}$`),
    );
    await player.goTo(at);
  }

  // A pair by mouse: Афродита, fourth in the Greek list, and Венера, second in the Roman.
  await player.click(GREEK, 3);
  await expectSaid(player, 'a pick by mouse', 'assertive', /^Избрано: Афродита\.$/);
  await player.click(ROMAN, 1);
  await expectSaid(
    player,
    'a right pair by mouse',
    'assertive',
    /^Вярно: гръцки: Афродита и римски: Венера\./,
  );
  await expectRead(player, 'a right pair by mouse', {
    message: 'Вярно:  гръцки: Афродита и римски: Венера\n област: богиня на любовта',
    right: '1',
    wrong: '0',
  });

  // "Чисти" by Enter.
  await player.goTo(CLEAR);
  await expectSaid(player, 'entering the button', 'polite', /^Чисти\. Бутон\. Започва нов кръг/);
  await player.keys('Enter');
  const renewed = ROUND.steps[11];
  await expectSaid(
    player,
    '"Чисти" by Enter',
    'assertive',
    new RegExp(`^${escape(spoken(renewed))}$`),
  );
  await expectRead(player, '"Чисти" by Enter', { message: '', right: '0', wrong: '0' });
  await context.close();
}

// The browser's accessibility tree, as a screen reader gets it: the application region and
// the assertive live region that holds the verdict.
async function expectAccessible(page, what) {
  const cdp = await page.createCDPSession();
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  const byId = new Map(nodes.map((n) => [n.nodeId, n]));
  const application = nodes.find((n) => n.role && n.role.value === 'application');
  const live = nodes.find((n) =>
    (n.properties || []).some((p) => p.name === 'live' && p.value.value === 'assertive'),
  );
  const text = [];
  const walk = (node) => {
    if (node.role && node.role.value === 'StaticText') text.push(node.name.value);
    (node.childIds || []).forEach((id) => byId.has(id) && walk(byId.get(id)));
  };
  if (live) walk(live);
  check(
    `${what}: the accessibility tree has the application "ЗУН - митология"`,
    !!application && application.name.value === 'ЗУН - митология',
  );
  check(
    `${what}: the accessibility tree's assertive live region holds the verdict`,
    new RegExp('^' + escape(VERDICTS[0])).test(text.join('')),
    JSON.stringify(text.join('')),
  );
  await cdp.detach();
}

async function phone(browser, server) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({
    width: 360,
    height: 740,
    deviceScaleFactor: 2,
    isMobile: true,
    hasTouch: true,
  });
  const player = new Player(page);
  await player.open(server.url);
  const fit = await page.evaluate(() => {
    const r = document.getElementById('zun-canvas').getBoundingClientRect();
    const zoom = window.visualViewport.scale;
    return {
      left: r.left * zoom,
      right: r.right * zoom,
      top: r.top * zoom,
      bottom: r.bottom * zoom,
      zoom,
      ratio: window.devicePixelRatio,
    };
  });
  check(
    'on a phone 360 CSS pixels wide the whole window is shown',
    fit.left >= 0 && fit.right <= 360 && fit.top >= 0 && fit.bottom <= 740,
    JSON.stringify(fit),
  );
  await page.screenshot({ path: picture('phone.png') });
  // The introduction is longer than its field: a swipe moves it on.
  const bar = await player.messageScrollBar();
  const canvas = await page.$eval('#zun-canvas', (c) => c.getBoundingClientRect().toJSON());
  await player.swipeUp({ x: canvas.x + 200, y: canvas.y + 340 }, 4);
  check(
    'a swipe over the introduction moves its scroll bar',
    (await player.messageScrollBar()) !== bar,
  );
  await page.screenshot({ path: picture('phone-introduction-swiped.png') });
  // A pair by touch: Артемида, second in the Greek list, and Диана, sixth in the Roman.
  await player.tap(GREEK, 1);
  await expectSaid(player, 'a tap on the phone', 'assertive', /^Избрано: Артемида\.$/);
  await player.tap(ROMAN, 5);
  await expectSaid(
    player,
    'a right pair by touch',
    'assertive',
    /^Вярно: гръцки: Артемида и римски: Диана\. област: богиня на лова\. Верни: 1, грешни: 0\./,
  );

  // Swipes reach the names below; they pick nothing, and a tap on the last row picks it.
  for (const [list, last, what] of [
    [GREEK, 'Хефест', 'Greek'],
    [ROMAN, 'Юпитер', 'Roman'],
  ]) {
    const before = await player.said('assertive');
    const from = await player.rowAt(list, 6);
    await player.swipeUp(from, 5);
    await player.swipeUp(from, 5);
    check(
      `two swipes up the ${what} list pick nothing`,
      (await player.said('assertive')) === before,
      JSON.stringify(await player.said('assertive')),
    );
    await player.tap(list, 6);
    if (list === GREEK)
      await expectSaid(
        player,
        `a tap on the ${what} list's last row after the swipes`,
        'assertive',
        new RegExp(`^Избрано: ${last}\\.$`),
      );
  }
  await expectSaid(
    player,
    'a pair of two names reached by swiping',
    'assertive',
    /^Грешно Хефест грешна релация с Юпитер\. Верни: 1, грешни: 1\./,
  );
  await page.screenshot({ path: picture('phone-swiped.png') });
  await context.close();
}

// Opened once, the page opens again and plays with no network at all. (In the browser's
// own profile: a private window neither keeps the page nor offers to install it.)
async function offline(browser, server) {
  const page = await browser.newPage();
  const player = new Player(page);
  await player.open(server.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.setOfflineMode(true);
  await page.reload();
  await page.waitForSelector('#zun-canvas.running', { timeout: 60000 });
  player.stop = MESSAGE;
  await sleep(300);
  await player.keys('Tab', ' ', 'Tab', ' ');
  await expectSaid(
    player,
    'offline, a pair by keyboard',
    'assertive',
    new RegExp('^' + escape(VERDICTS[1])),
  );
  const installable = await (await page.createCDPSession()).send('Page.getInstallabilityErrors');
  check(
    'the page can be added to a home screen',
    installable.installabilityErrors.length === 0,
    JSON.stringify(installable.installabilityErrors),
  );
  await page.close();
}

// What a page that cannot run, or runs on a wrongly set server, says: never a blank page.
async function sentence(browser, url, what, pattern, plays = false) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.goto(url);
  await sleep(1500);
  if (plays) await page.waitForSelector('#zun-canvas.running', { timeout: 60000 });
  const status = await page.$eval('#zun-status', (s) => (s.hidden ? '' : s.textContent));
  check(what, pattern.test(status), JSON.stringify(status));
  await context.close();
}

// Hosts as schools have them: each plays a pair by keyboard, with no security policy violated.
// With `unpacking` false, the browser is one that cannot unpack gzip itself (older Safari
// and Firefox): the page's decoder then comes plain.
async function host(browser, what, options, unpacking = true) {
  const server = await serve(SITE, options);
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument((unpacks) => {
    window.violations = [];
    document.addEventListener('securitypolicyviolation', (e) =>
      window.violations.push(e.violatedDirective + ' ' + e.blockedURI),
    );
    if (!unpacks) delete window.DecompressionStream;
  }, unpacking);
  const decoders = [];
  page.on(
    'request',
    (r) => /zun-unbrotli/.test(r.url()) && decoders.push(r.url().replace(/.*\//, '')),
  );
  const player = new Player(page);
  await player.open(server.url);
  await player.keys('Tab', ' ', 'Tab', ' ');
  await expectSaid(
    player,
    `${what}: a pair by keyboard`,
    'assertive',
    new RegExp('^' + escape(VERDICTS[1])),
  );
  const violations = await page.evaluate(() => window.violations);
  check(
    `${what}: no security policy violated`,
    violations.length === 0,
    JSON.stringify(violations),
  );
  if (!unpacking)
    check(
      `${what}: the plain decoder is used`,
      decoders.some((n) => /\.wasm\?/.test(n)),
      JSON.stringify(decoders),
    );
  await context.close();
  await server.close();
}

// A school's page on another origin, scrolled half-way, with the quiz in two frames: in one
// of the window's size, keys the quiz cannot use at a list's ends never move the school's
// page; in a smaller one, the whole window is drawn smaller, and clicks and taps land on the
// names and the button shown.
async function embedded(browser, server) {
  const school = http.createServer((request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' }).end(
      `<!doctype html><title>Училище</title><div style="height:1500px"></div>
         <iframe src="${server.url}" width="${WIDTH}" height="${HEIGHT}" title="${FORM.title}"></iframe>
         <iframe src="${server.url}" width="320" height="270" title="ЗУН - митология"
                 style="border:0"></iframe><div style="height:1500px"></div>`,
    );
  });
  await new Promise((done) => school.listen(0, 'localhost', done));
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 900, height: 700, hasTouch: true });
  await page.goto(`http://localhost:${school.address().port}/`);
  await page.evaluate(() => window.scrollTo(0, 1300));
  const elements = await page.$$('iframe');
  // Asked again each time: a frame of another origin may be swapped while it loads.
  const frames = () => Promise.all(elements.map((element) => element.contentFrame()));
  const running = (frame) =>
    Promise.race([
      frame.evaluate(() => !!document.querySelector('#zun-canvas.running')).catch(() => false),
      sleep(1000).then(() => false),
    ]);
  const started = async () => (await Promise.all((await frames()).map(running))).every(Boolean);
  for (let waited = 0; waited < 120 && !(await started()); ++waited) await sleep(500);
  await (await frames())[0].focus('#zun-canvas');
  const player = new Player(page);
  await player.keys(
    'Tab',
    'End',
    'ArrowDown',
    'PageDown',
    'Home',
    'ArrowUp',
    'PageUp',
    'Tab',
    'Home',
    'ArrowUp',
  );
  const scrolled = await page.evaluate(() => window.scrollY);
  check(
    "in a school's frame, keys at a list's ends leave the school's page where it was",
    scrolled === 1300,
    `scrollY ${scrolled}`,
  );

  // In the small frame, asked for again whenever its frame does not answer within seconds.
  const inSmall = async (work) => {
    for (let tries = 1; ; ++tries) {
      const [, small] = await frames();
      const late = sleep(5000).then(() => Promise.reject(new Error('the frame did not answer')));
      try {
        return await Promise.race([small.evaluate(work), late]);
      } catch (error) {
        if (tries === 6) throw error;
      }
    }
  };
  const fit = await inSmall(() => [
    document.getElementById('zun-canvas').getBoundingClientRect().toJSON(),
    innerWidth,
    innerHeight,
  ]);
  check(
    'in a frame of 320 x 270 the window is drawn smaller, whole',
    fit[0].left === 0 && fit[0].top === 0 && fit[0].right <= fit[1] && fit[0].bottom <= fit[2],
    JSON.stringify(fit),
  );
  await page.screenshot({ path: picture('frames.png') });
  // Where a point of the window is on the school's page, the window drawn to the frame's size.
  const at = async (x, y) => {
    const box = await elements[1].boundingBox();
    return [box.x + (x * box.width) / WIDTH, box.y + (y * box.width) / WIDTH];
  };
  const said = () => inSmall(() => document.getElementById('zun-assertive').textContent);
  await page.mouse.click(...(await at(LIST[GREEK].left + 40, LIST[GREEK].top + 1 + ROW * 1.5)));
  await sleep(400);
  check(
    'in the smaller frame, a click picks the name shown',
    (await said()) === 'Избрано: Артемида.',
    JSON.stringify(await said()),
  );
  await page.touchscreen.tap(...(await at(LIST[ROMAN].left + 40, LIST[ROMAN].top + 1 + ROW * 5.5)));
  await sleep(400);
  check(
    'in the smaller frame, a tap picks the name shown',
    /^Вярно: гръцки: Артемида и римски: Диана\./.test(await said()),
    JSON.stringify(await said()),
  );
  await page.touchscreen.tap(...(await at(...CLEAR_BUTTON.middle))); // in the window's lower half
  await sleep(400);
  check(
    'in the smaller frame, "Чисти" is where it shows',
    /^Нов кръг\./.test(await said()),
    JSON.stringify(await said()),
  );
  await context.close();
  await new Promise((done) => school.close(done));
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
    await page.waitForSelector('#zun-canvas.running', { timeout: 60000 });
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

// The round by keyboard in another engine, then a pair by mouse, each judged on what the
// screen reader is told; nothing unhandled.
async function otherEngine(start) {
  const server = await serve(SITE, { errors: true });
  let engine;
  try {
    engine = await start();
  } catch (error) {
    check(`${start.name}: the browser starts`, false, error.message);
    await server.close();
    return;
  }
  const said = () => engine.evaluate("return document.getElementById('zun-assertive').textContent");
  try {
    await engine.open(server.url);
    for (let waited = 0; waited < 120; ++waited) {
      if (await engine.evaluate("return !!document.querySelector('#zun-canvas.running')")) break;
      await sleep(500);
    }
    await sleep(500);
    const [x, y] = await engine.evaluate(
      "const r = document.getElementById('zun-canvas').getBoundingClientRect(); return [r.x, r.y];",
    );
    await engine.click(x + 200, y + 290); // the message field, where the focus starts
    await sleep(300);
    // WebKitWebDriver sends Shift+Tab as a key named "Unidentified", which the page cannot take
    // for a back-tab (not tried: a keyboard's Shift+Tab in Safari or Epiphany); there the
    // round goes forward round the window's stops instead.
    const backTab = engine.name === 'WebKitGTK' ? Array(STOPS - 1).fill('Tab') : ['Shift+Tab'];
    for (const [number, step] of ROUND.steps.entries()) {
      const keys = step.keys.map((key) => KEYS[key] || key);
      await engine.keys(keys.flatMap((key) => (key === 'Shift+Tab' ? backTab : [key])));
      await sleep(300);
      if (step.say)
        check(
          `${engine.name}: round step ${number + 1} (${step.keys.join(' ')})`,
          (await said()) === spoken(step),
          JSON.stringify(await said()),
        );
    }
    await engine.screenshot(picture(`${start.name}.png`));
    // A pair by mouse, the first name of each list, after the round's new round.
    for (const list of [GREEK, ROMAN]) {
      await engine.click(x + LIST[list].left + 40, y + LIST[list].top + 1 + ROW / 2);
      await sleep(300);
    }
    check(
      `${engine.name}: a wrong pair by mouse`,
      (await said()).startsWith(VERDICTS[1] + ' Верни: 0, грешни: 1.'),
      JSON.stringify(await said()),
    );
    const errors = await engine.evaluate('return window.zunErrors');
    check(`${engine.name}: nothing unhandled`, errors.length === 0, JSON.stringify(errors));
  } finally {
    await engine.close();
    await server.close();
  }
}

// An upload gone wrong: a copy of the site with one file cut short or missing.
async function broken(browser, file, damage, pattern) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zun-site-'));
  fs.cpSync(SITE, folder, { recursive: true });
  const target = path.join(folder, file);
  if (damage === 'cut') fs.truncateSync(target, Math.floor(fs.statSync(target).size / 2));
  else fs.rmSync(target);
  const server = await serve(folder);
  const what = `${file} ${damage === 'cut' ? 'cut short' : 'missing'}: a sentence naming it`;
  if (file === 'zun-loader.js') {
    // nothing runs: the page itself tells, after a while
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.goto(server.url);
    await sleep(21000);
    const shown = await page.$eval(
      '#zun-stuck',
      (p) => getComputedStyle(p).visibility === 'visible' && p.textContent.replace(/\s+/g, ' '),
    );
    check(what, pattern.test(shown), JSON.stringify(shown));
    await context.close();
  } else if (file === 'sw.js') {
    // the quiz plays, and says it will not offline
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.goto(server.url);
    await page.waitForSelector('#zun-canvas.running', { timeout: 60000 });
    await sleep(1500);
    const note = await page.$eval('#zun-note', (p) => (p.hidden ? '' : p.textContent));
    check(what, pattern.test(note), JSON.stringify(note));
    await context.close();
  } else {
    await sentence(browser, server.url, what, pattern);
  }
  await server.close();
  fs.rmSync(folder, { recursive: true });
}

const NEXT_VERSION = '1.0.1';

async function main() {
  const next = path.join(ROOT, 'build-web-next', 'site');
  execFileSync(path.join(ROOT, 'scripts', 'build-web'), ['--next', NEXT_VERSION], {
    stdio: 'inherit',
  });
  await update(next);
  await update(next, true);
  const server = await serve(SITE);
  const browser = await launch();
  try {
    await laptop(browser, server);
    await phone(browser, server);
    await offline(browser, server);
    await sentence(
      browser,
      'file://' + path.join(SITE, 'index.html'),
      'opened from a file: a sentence',
      /не се отваря като файл/,
    );
    await embedded(browser, server);
    await host(browser, 'a host that compresses every file', { gzip: true });
    await host(browser, 'a host that sends packed files as encoded', { encodings: true });
    await host(
      browser,
      'a browser that cannot unpack gzip, from a host that sends the .wasm ' +
        'as application/octet-stream',
      { wasmType: 'application/octet-stream' },
      false,
    );
    await host(browser, 'a host with a strict security policy', {
      headers: { 'Content-Security-Policy': STRICT },
    });
    await broken(
      browser,
      'sw.js',
      'missing',
      /„sw\.js“ липсва на сайта.*качете отново цялата папка/,
    );
    await broken(
      browser,
      'zun-mitologia.wasm.br',
      'cut',
      /„zun-mitologia\.wasm\.br“ липсва на сайта или не е цял.*качете отново цялата папка/,
    );
    await broken(
      browser,
      'zun-unbrotli.wasm.gz',
      'missing',
      /„zun-unbrotli\.wasm\.gz“ липсва на сайта или не е цял.*качете отново цялата папка/,
    );
    await broken(
      browser,
      'zun-loader.js',
      'missing',
      /„zun-loader\.js“ липсва на сайта или не е цял.*качете отново цялата папка/,
    );
    await broken(
      browser,
      'zun-mitologia.js',
      'missing',
      /„zun-mitologia\.js“ липсва на сайта или не е цял.*качете отново цялата папка/,
    );
  } finally {
    await browser.close();
  }
  await otherEngine(firefox);
  await otherEngine(webkit);
  const noWebGL = await launch(['--disable-3d-apis', '--disable-webgl']);
  try {
    await sentence(noWebGL, server.url, 'without WebGL: a sentence', /няма WebGL/);
  } finally {
    await noWebGL.close();
    await server.close();
  }
  console.log(`page: ${problems.length ? 'failed' : 'passed'}`);
  process.exit(problems.length ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
