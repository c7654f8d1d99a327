#!/usr/bin/env node
// The page as a school serves it, in Debian's headless Chromium: on a laptop, its title and
// language, every file asked for under its build's name, a pair by mouse, the verdict copied
// from the message field, "Чисти" by Enter; on a school's page of another origin, in two
// frames under a slowed CPU, one smaller than the window; zoomed to 400 % and in a narrow
// window; in forced colours; with a pupil's minimum font size; an upload that lost the page's
// script.
// Pictures go to $ZUN_PICTURES.
//   acceptance/web/school.js WEB_BUILD
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const http = require('http');

const { build, check, run, ROUND, RIGHT, WRONG } = require('./check.js');
const { ROOT, SITE } = build(process.argv);
const { serve, launch } = require('./serve.js');
const { driven } = require('./engines.js');
const FORM = JSON.parse(fs.readFileSync(path.join(ROOT, 'data', 'form.json'), 'utf8'));
const [WIDTH, HEIGHT] = FORM.client.map((t) => t / FORM.twipsPerPixel);
const PICTURES = process.env.ZUN_PICTURES || path.join(os.tmpdir(), 'zun-pictures');
fs.mkdirSync(PICTURES, { recursive: true });
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Where a name of a list is, scrolled to as a pupil would, in the coordinates of the page
// that holds `frame`'s element.
async function nameAt(frame, offset, list, name) {
  const box = await frame.$$eval(
    `#List1_${list} [role=option]`,
    (options, n) => {
      const option = options.find((o) => o.textContent === n);
      option.scrollIntoView({ block: 'nearest' });
      return option.getBoundingClientRect().toJSON();
    },
    name,
  );
  return [offset.x + box.x + box.width / 2, offset.y + box.y + box.height / 2];
}

async function laptop(browser, server) {
  const context = await browser.createBrowserContext();
  await context.overridePermissions(server.url, ['clipboard-read', 'clipboard-write']);
  const page = await context.newPage();
  await page.setViewport({ width: 900, height: 700 });
  const asked = [];
  page.on('request', (r) =>
    asked.push(new URL(r.url()).pathname.slice(1) + new URL(r.url()).search),
  );
  await page.goto(server.url);
  await page.waitForSelector('html.running');
  await page.evaluate(() => document.fonts.ready);
  const build = await page.$eval('html', (h) => h.dataset.build);
  const parts = asked.filter((name) => /\.(js|css|wasm|woff2)(\?|$)/.test(name));
  check(
    "every file is asked for under its build's name",
    parts.length === 5 && parts.every((name) => name.endsWith('?v=' + build)),
    JSON.stringify(parts),
  );
  check(
    "the page is titled with the window's caption, in Bulgarian",
    (await page.title()) === `www.example.org ${FORM.title}` &&
      (await page.$eval('html', (h) => h.lang)) === 'bg',
    await page.title(),
  );
  await page.screenshot({ path: path.join(PICTURES, 'laptop.png') });
  for (const [list, name] of [
    [0, 'Зевс'],
    [1, 'Юпитер'],
  ])
    await page.mouse.click(...(await nameAt(page.mainFrame(), { x: 0, y: 0 }, list, name)));
  await page.focus('#Text1_0');
  await driven(page).keys(['Control+a', 'Control+c']);
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  check(
    'a pair by mouse, its verdict copied from the message field',
    copied.replace(/\r/g, '') === RIGHT.message,
    JSON.stringify(copied),
  );
  await page.focus('#Command1_0');
  await driven(page).keys(['Enter']);
  const [said, fields] = await page.evaluate(() => [
    document.getElementById('zun-said').textContent,
    ['Text1_0', 'Text2_0', 'Text2_1'].map((id) => document.getElementById(id).value),
  ]);
  check(
    '"Чисти" by Enter: a new round',
    /^Нов кръг\./.test(said) && JSON.stringify(fields) === '["","0","0"]',
    `${said} ${JSON.stringify(fields)}`,
  );
  await context.close();
}

// A school's page on another origin, scrolled half-way, with the quiz in two frames: in one
// of the window's size, keys at a list's ends never move the school's page; in a smaller one,
// the whole window is drawn smaller, and clicks and taps land on the names and button shown.
async function embedded(browser, server) {
  const school = http.createServer((request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' }).end(
      `<!doctype html><title>Училище</title><div style="height:1500px"></div>
         <iframe src="${server.url}" width="${WIDTH}" height="${HEIGHT}" title="${FORM.title}"></iframe>
         <iframe src="${server.url}" width="320" height="270" title="${FORM.title}"
                 style="border:0"></iframe><div style="height:1500px"></div>`,
    );
  });
  await new Promise((done) => school.listen(0, 'localhost', done));
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 900, height: 700, hasTouch: true });
  // A busy school computer: each frame's process slowed six times as its page arrives.
  await page.emulateCPUThrottling(6);
  page.on('framenavigated', (frame) =>
    frame.client?.send('Emulation.setCPUThrottlingRate', { rate: 6 }).catch(() => {}),
  );
  await page.goto(`http://localhost:${school.address().port}/`);
  await page.evaluate(() => window.scrollTo(0, 1300));
  const elements = await page.$$('iframe');
  const frames = await Promise.all(elements.map((element) => element.contentFrame()));
  await Promise.all(frames.map((frame) => frame.waitForSelector('html.running')));
  const started = await Promise.all(
    frames.map((frame) =>
      frame.evaluate(() => Math.round(performance.getEntriesByName('zun-running')[0].startTime)),
    ),
  );
  await page.emulateCPUThrottling(null);
  check(
    "in a school's two frames, with the CPU slowed 6x, each starts within 3 s",
    started.every((ms) => ms <= 3000),
    `${started.join(', ')} ms`,
  );
  await frames[0].focus('#List1_0');
  const ends = ['End', 'ArrowDown', 'PageDown', 'Home', 'ArrowUp', 'PageUp', 'Tab', 'Home'];
  await driven(page, 60).keys([...ends, 'ArrowUp']);
  const scrolled = await page.evaluate(() => window.scrollY);
  check(
    "in a school's frame, keys at a list's ends leave the school's page where it was",
    scrolled === 1300,
    `scrollY ${scrolled}`,
  );

  const small = frames[1];
  const fit = await small.evaluate(() => [
    document.querySelector('main').getBoundingClientRect().toJSON(),
    innerWidth,
    innerHeight,
  ]);
  check(
    'in a frame of 320 x 270 the window is drawn smaller, whole',
    fit[0].left >= 0 && fit[0].top >= 0 && fit[0].right <= fit[1] && fit[0].bottom <= fit[2],
    JSON.stringify(fit),
  );
  await page.screenshot({ path: path.join(PICTURES, 'frames.png') });
  const offset = await elements[1].boundingBox();
  const said = () => small.$eval('#zun-said', (e) => e.textContent);
  await page.mouse.click(...(await nameAt(small, offset, 0, 'Зевс')));
  check(
    'in the smaller frame, a click picks the name shown',
    (await said()) === ROUND.steps[2].say[0],
  );
  await page.touchscreen.tap(...(await nameAt(small, offset, 1, 'Юпитер')));
  await sleep(300);
  check(
    'in the smaller frame, a tap picks the name shown',
    (await said()).startsWith(RIGHT.say[0]),
    await said(),
  );
  const button = await small.$eval('#Command1_0', (b) => b.getBoundingClientRect().toJSON());
  await page.touchscreen.tap(
    offset.x + button.x + button.width / 2,
    offset.y + button.y + button.height / 2,
  );
  await sleep(300);
  check('in the smaller frame, "Чисти" is where it shows', /^Нов кръг\./.test(await said()));
  // A frame keeps no worker: nothing of one frame's start waits on another's.
  await sleep(2000);
  const workers = await Promise.all(
    frames.map((frame) => frame.evaluate(() => navigator.serviceWorker.getRegistrations())),
  );
  check(
    "the school's frames register no worker",
    workers.every((w) => w.length === 0),
  );
  await context.close();
  await new Promise((done) => school.close(done));
}

// A low-vision pupil's desktop browser: zoomed to 200 % and 400 % (320 CSS px wide, as WCAG's
// reflow asks), and a window 360 px wide; the window never cut, every part reachable by
// scrolling, a pair played by mouse.
const NARROW = [
  { what: 'zoomed to 400 %', width: 320, height: 256, scale: 4 },
  { what: 'zoomed to 200 %', width: 640, height: 512, scale: 2 },
  { what: 'a window 360 px wide', width: 360, height: 600, scale: 1 },
];

async function narrow(browser, server) {
  for (const row of NARROW) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport({ width: row.width, height: row.height, deviceScaleFactor: row.scale });
    await page.goto(server.url);
    await page.waitForSelector('html.running');
    const [box, scroll] = await page.evaluate(() => [
      document.querySelector('main').getBoundingClientRect().toJSON(),
      [document.scrollingElement.scrollWidth, document.scrollingElement.scrollHeight],
    ]);
    for (const list of [1, 0]) await (await page.$(`#List1_${list} [role=option]`)).click();
    const said = await page.$eval('#zun-said', (e) => e.textContent);
    await page.screenshot({ path: path.join(PICTURES, `narrow-${row.width}.png`) });
    check(
      `${row.what}: the window whole within reach, a pair by mouse`,
      box.left >= 0 &&
        box.top >= 0 &&
        scroll[0] >= box.right &&
        scroll[1] >= box.bottom &&
        said.startsWith(WRONG.say[0]),
      `${JSON.stringify(box)} ${scroll} ${said.slice(0, 40)}`,
    );
    await context.close();
  }
}

// A contrast theme (Windows' forced colours): the pick, the frame and the focus still show.
async function contrast(browser, server) {
  const page = await browser.newPage();
  const cdp = await page.target().createCDPSession();
  await cdp.send('Emulation.setEmulatedMedia', {
    features: [{ name: 'forced-colors', value: 'active' }],
  });
  await page.goto(server.url);
  await page.waitForSelector('html.running');
  await page.focus('#List1_0');
  await driven(page).keys(['ArrowDown', 'ArrowDown', 'ArrowDown', ' ', 'ArrowUp']);
  const [picked, framed, plain] = await page.$$eval('#List1_0 [role=option]', (options) =>
    [3, 2, 0].map((i) => {
      const style = getComputedStyle(options[i]);
      return [style.backgroundColor, style.outlineStyle];
    }),
  );
  check(
    'in forced colours the picked name, the frame and the focus are plain to see',
    picked[0] !== plain[0] && framed[1] !== 'none' && plain[1] === 'none',
    JSON.stringify([picked, framed, plain]),
  );
  await page.close();
}

// A pupil's minimum font size, Chromium's largest: no row of a list over another, no text cut.
async function largerText(server) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zun-profile-'));
  fs.mkdirSync(path.join(profile, 'Default'));
  const webprefs = { minimum_font_size: 24, minimum_logical_font_size: 24 };
  fs.writeFileSync(
    path.join(profile, 'Default', 'Preferences'),
    JSON.stringify({ webkit: { webprefs } }),
  );
  const browser = await launch([`--user-data-dir=${profile}`]);
  const page = await browser.newPage();
  await page.goto(server.url);
  await page.waitForSelector('html.running');
  const faults = await page.evaluate(() => {
    const cut = Array.from(document.querySelectorAll('.window > .label'), (label) => {
      const [box, text] = [label, label.firstChild].map((node) => {
        const range = document.createRange();
        range.selectNodeContents(node);
        return node === label ? label.getBoundingClientRect() : range.getBoundingClientRect();
      });
      const hidden = getComputedStyle(label).overflow !== 'visible';
      return hidden && (text.left < box.left || text.right > box.right) ? label.id : null;
    });
    const rows = Array.from(document.querySelectorAll('[role=option]'), (option) => {
      const size = parseFloat(getComputedStyle(option).fontSize);
      return option.getBoundingClientRect().height < size ? option.textContent : null;
    });
    return { size: getComputedStyle(document.querySelector('.window')).fontSize, cut, rows };
  });
  await page.screenshot({ path: path.join(PICTURES, 'larger-text.png') });
  check(
    'a minimum font size of 24 px: every label and name whole',
    faults.size === '24px' && [...faults.cut, ...faults.rows].every((fault) => fault === null),
    JSON.stringify(faults).slice(0, 200),
  );
  await browser.close();
  fs.rmSync(profile, { recursive: true });
}

// An upload that lost the page's script: nothing runs, and the page itself tells, after a while.
async function scriptMissing(browser) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zun-site-'));
  fs.cpSync(SITE, folder, { recursive: true });
  fs.rmSync(path.join(folder, 'zun-page.js'));
  const server = await serve(folder);
  const page = await browser.newPage();
  await page.goto(server.url);
  await sleep(21000);
  const shown = await page.$eval(
    '#zun-stuck',
    (p) => getComputedStyle(p).visibility === 'visible' && p.textContent.replace(/\s+/g, ' '),
  );
  check(
    'zun-page.js missing: a sentence naming it',
    /„zun-page\.js“ липсва на сайта или не е цял.*качете отново цялата папка/.test(shown),
    JSON.stringify(shown),
  );
  await page.close();
  await server.close();
  fs.rmSync(folder, { recursive: true });
}

async function main() {
  const server = await serve(SITE);
  const browser = await launch();
  await laptop(browser, server);
  await embedded(browser, server);
  await narrow(browser, server);
  await contrast(browser, server);
  await largerText(server);
  await scriptMissing(browser);
  await browser.close();
  await server.close();
}

run('school', main);
