#!/usr/bin/env node
// The page made of the browser's own controls, in Debian's headless Chromium on a phone's
// screen (360 x 740, touch): the accessibility tree a touch screen reader walks, the round of
// round.json by keyboard, and picks by a click fired on an option, as a double tap fires it.
//   acceptance/web/controls.js WEB_BUILD
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');

const { build, check, run } = require('./check.js');
const { ROOT, BUILD, SITE } = build(process.argv);
const { serve, launch, STRICT } = require('./serve.js');
const { firefox, webkit, driven } = require('./engines.js');
const RUNNING = "return document.documentElement.classList.contains('running')";
const ROUND = JSON.parse(fs.readFileSync(path.join(ROOT, 'acceptance', 'round.json'), 'utf8'));
const KEYS = { Down: 'ArrowDown', space: ' ', Return: 'Enter', shift: 'Shift' };

// What Chromium gives a screen reader: each option's name and place, by list.
async function tree(page) {
  const cdp = await page.target().createCDPSession();
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  const byId = new Map(nodes.map((n) => [n.nodeId, n]));
  const lists = nodes.filter((n) => !n.ignored && n.role.value === 'listbox');
  return lists.map((list) => ({
    name: list.name.value,
    options: (list.childIds || [])
      .map((id) => byId.get(id))
      .filter((n) => n.role.value === 'option'),
  }));
}

// What the pupil and a screen reader have after each step, read in the page.
const STATE = `const at = document.activeElement, framed = at.getAttribute('aria-activedescendant');
  const value = (id) => document.getElementById(id).value;
  return [framed ? document.getElementById(framed).textContent : at.textContent || at.ariaLabel,
          document.getElementById('zun-said').textContent,
          [value('Text1_0'), value('Text2_0'), value('Text2_1')]];`;

// The round of round.json by keyboard in one engine, from the page's start.
async function play(engine, who) {
  for (const [number, step] of ROUND.steps.entries()) {
    await engine.keys(step.keys.map((key) => key.replace(/\w+/g, (k) => KEYS[k] || k)));
    const [focus, said, shown] = await engine.evaluate(STATE);
    const what = `${who}round step ${number + 1} (${step.keys.join(' ')})`;
    if (step.focus) check(`${what}: the focus is on ${step.focus}`, focus === step.focus, focus);
    if (step.say) check(`${what}: said`, said === step.say.join(' '), said);
    if (step.message !== undefined) {
      const wanted = [step.message, ...step.counts];
      check(
        `${what}: shown`,
        JSON.stringify(shown) === JSON.stringify(wanted),
        JSON.stringify(shown),
      );
    }
  }
}

// On the phone, from the page's start: the whole window shown; a swipe scrolls a list or the
// introduction and picks nothing; a tap then picks the name where it shows.
async function phone(page) {
  await page.reload();
  await page.waitForSelector('html.running');
  const fit = await page.evaluate(() => {
    const zoom = visualViewport.scale;
    const r = document.querySelector('main').getBoundingClientRect();
    return [r.left, r.top, r.right, r.bottom].map((edge) => Math.round(edge * zoom));
  });
  const [left, top, right, bottom] = fit;
  check(
    'the whole window is shown',
    left >= 0 && top >= 0 && right <= 360 && bottom <= 740,
    `${fit}`,
  );
  const scrolled = (id) => page.$eval(id, (e) => e.scrollTop);
  const said = () => page.$eval('#zun-said', (e) => e.textContent);
  for (const id of ['#Text1_0', '#List1_0']) {
    const box = await page.$eval(id, (e) => e.getBoundingClientRect().toJSON());
    const [x, y] = [box.x + box.width / 2, box.y + box.height - 10];
    await page.touchscreen.touchStart(x, y);
    for (let step = 1; step <= 10; ++step) await page.touchscreen.touchMove(x, y - step * 12);
    await page.touchscreen.touchEnd();
    await new Promise((done) => setTimeout(done, 1500));
    check(
      `a swipe up ${id} scrolls it and picks nothing`,
      (await scrolled(id)) > 0 && !(await said()),
      `${await scrolled(id)}`,
    );
  }
  const last = await page.$eval('#List1_0', (box) => {
    const shown = [...box.children].filter(
      (o) => o.offsetTop + o.offsetHeight <= box.scrollTop + box.clientHeight,
    );
    return shown[shown.length - 1].textContent;
  });
  const option = await page.$$eval(
    '#List1_0 [role=option]',
    (options, name) => options.findIndex((o) => o.textContent === name),
    last,
  );
  await (await page.$(`#List1_0 [role=option]:nth-child(${option + 1})`)).tap();
  check(
    'a tap after the swipe picks the name shown there',
    (await said()) === `Избрано: ${last}.`,
    await said(),
  );
}

// Hosts as schools have them, and uploads that lost a file or part of one: the quiz plays a
// pair under no broken policy, or says in the window what is wrong.
const WRONG_PAIR = /^Грешно Арес грешна релация с Амур\./;
const BROKEN = /„zun-core\.wasm“ липсва на сайта или не е цял.*качете отново цялата папка/;
const HOSTS = [
  ['a host that compresses every file', { gzip: true }, WRONG_PAIR],
  [
    'a host that sends the core as octet-stream',
    { wasmType: 'application/octet-stream' },
    WRONG_PAIR,
  ],
  ['a host with a strict policy', { headers: { 'Content-Security-Policy': STRICT } }, WRONG_PAIR],
  ['the core missing', { lose: (file) => fs.rmSync(file) }, BROKEN],
  ['the core cut short', { lose: (file) => fs.truncateSync(file, 9000) }, BROKEN],
  ['opened from a file', { file: true }, /не се отваря като файл/],
];

async function host(browser, [what, options, wanted]) {
  let folder = SITE;
  if (options.lose) {
    folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zun-upload-'));
    fs.cpSync(SITE, folder, { recursive: true });
    options.lose(path.join(folder, 'zun-core.wasm'));
  }
  const server = await serve(folder, options);
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(() => {
    window.violations = [];
    document.addEventListener('securitypolicyviolation', (e) =>
      violations.push(e.violatedDirective),
    );
  });
  await page.goto(options.file ? 'file://' + path.join(folder, 'index.html') : server.url);
  await page.waitForSelector('html.running, html.failed', { timeout: 30000 });
  await driven(page).keys(['Tab', ' ', 'Tab', ' ']);
  const [said, note, violations] = await page.evaluate(() => [
    document.getElementById('zun-said').textContent,
    document.getElementById('zun-note').textContent,
    window.violations,
  ]);
  check(`${what}: ${wanted.source}`, wanted.test(said || note) && !violations.length, said || note);
  await page.close();
  await server.close();
  if (folder !== SITE) fs.rmSync(folder, { recursive: true });
}

// A teacher's course: the SCORM package unpacked beside a parent page whose window.API is
// scorm-again's SCORM 1.2 run-time, the package's launch page in a frame. What Moodle needs
// of the manifest; then a whole round by keys, what the course recorded, and the frame
// removed. A course whose API throws leaves the round playable.
const COURSE = `window.API = new Scorm12API({ logLevel: 5 });
API.loadFromJSON({ student_data: { mastery_score: '50' } });
window.calls = [];
for (const name of ['LMSInitialize', 'LMSSetValue', 'LMSCommit', 'LMSFinish']) {
  const real = API[name].bind(API);
  API[name] = (...args) => {
    calls.push([name, ...args].join(' '));
    if (location.hash === '#throwing') throw new Error('a broken course');
    return real(...args);
  };
}`;

function unpackCourse() {
  const [zip] = fs.readdirSync(BUILD).filter((name) => name.endsWith('-scorm12.zip'));
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zun-course-'));
  execFileSync('/usr/bin/python3', ['-m', 'zipfile', '-e', path.join(BUILD, zip), folder + '/sco']);
  const runtime = path.join(__dirname, 'node_modules', 'scorm-again', 'dist', 'scorm12.min.js');
  fs.copyFileSync(runtime, path.join(folder, 'scorm12.js'));
  fs.writeFileSync(path.join(folder, 'course.js'), COURSE);
  fs.writeFileSync(
    path.join(folder, 'index.html'),
    '<!doctype html><meta charset="utf-8"><title>Курс</title><script src="scorm12.js"></script>' +
      '<script src="course.js"></script><iframe src="sco/index.html" width="427" height="360"></iframe>',
  );
  const manifest = fs.readFileSync(path.join(folder, 'sco', 'imsmanifest.xml'), 'utf8');
  const listed = [...manifest.matchAll(/<file href="([^"]+)"/g)].map((m) => m[1]).sort();
  const packed = fs.readdirSync(path.join(folder, 'sco')).filter((n) => n !== 'imsmanifest.xml');
  check(
    "the package's manifest: SCORM 1.2, one SCO launching index.html, every file listed",
    /<schemaversion>1\.2<\/schemaversion>/.test(manifest) &&
      manifest.match(/adlcp:scormtype="sco"/g).length === 1 &&
      /scormtype="sco" href="index\.html"/.test(manifest) &&
      JSON.stringify(listed) === JSON.stringify(packed.sort()),
    JSON.stringify(listed),
  );
  return folder;
}

async function course(browser, folder, throwing) {
  const server = await serve(folder);
  const page = await browser.newPage();
  await page.goto(server.url + (throwing ? '#throwing' : ''));
  const sco = await (await page.waitForSelector('iframe')).contentFrame();
  await sco.waitForSelector('html.running');
  await sco.focus('#List1_0');
  const keys = driven(page).keys;
  for (let pair = 0; pair < (throwing ? 1 : 16); ++pair)
    await keys(['Home', ' ', 'Tab', 'Home', ' ', 'Shift+Tab']);
  const said = await sco.$eval('#zun-said', (e) => e.textContent);
  if (throwing) {
    check(
      'a course whose API throws: the round plays on',
      /^Грешно Арес грешна релация с Амур\./.test(said),
      said,
    );
  } else {
    const right = Number(await sco.$eval('#Text2_0', (e) => e.value));
    const got = (name) => page.evaluate((n) => window.API.LMSGetValue(n), name);
    // Interactions are write-only to a SCO: read as the course keeps them.
    const recorded = await page.evaluate(() =>
      Object.values(window.API.renderCMIToJSONObject().cmi.interactions).map(
        (i) => `${i.id} ${i.student_response} ${i.result}`,
      ),
    );
    const [first, last] = [recorded[0], recorded[15]];
    const score = await got('cmi.core.score.raw');
    const status = await got('cmi.core.lesson_status');
    check(
      'a round in the course: 16 interactions with their pairs and results',
      recorded.length === 16 &&
        first === 'pair-1 Арес.Амур wrong' &&
        /^pair-16 \S+\.\S+ (correct|wrong)$/.test(last) &&
        recorded.filter((r) => r.endsWith(' correct')).length === right,
      JSON.stringify([first, last, right]),
    );
    check(
      'a round in the course: the score and status, committed after the last judgement',
      score === String((right * 100) / 16) &&
        status === (right >= 8 ? 'passed' : 'failed') &&
        (await page.evaluate(() => window.calls.at(-1))) === 'LMSCommit ',
      `${score} ${status}`,
    );
    await page.$eval('iframe', (frame) => frame.remove());
    await new Promise((done) => setTimeout(done, 500));
    const end = await page.evaluate(() => window.calls.slice(-2).join(' | '));
    check('the frame removed: commit and finish, once', end === 'LMSCommit  | LMSFinish ', end);
  }
  await page.close();
  await server.close();
}

// After the round's new round, the first name of each list by mouse; nothing unhandled.
async function pairByMouse(engine) {
  for (const list of [0, 1])
    await engine.click(
      ...(await engine.evaluate(`const r = document.querySelector('#List1_${list} [role=option]')
        .getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2];`)),
    );
  const [said, errors] = await engine.evaluate(
    "return [document.getElementById('zun-said').textContent, window.zunErrors]",
  );
  check(
    `${engine.name}: a wrong pair by mouse, nothing unhandled`,
    WRONG_PAIR.test(said) && said.includes('Верни: 0, грешни: 1.') && errors.length === 0,
    `${said} ${JSON.stringify(errors)}`,
  );
}

async function main() {
  const server = await serve(SITE);
  const browser = await launch();
  const page = await browser.newPage();
  await page.setViewport({ width: 360, height: 740, isMobile: true, hasTouch: true });
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(server.url);
  await page.waitForSelector('html.running', { timeout: 30000 });

  const lists = await tree(page);
  const names = lists.map((l) => l.options.map((o) => o.name.value));
  check(
    'the tree has two listboxes of 16 options, the names sorted',
    JSON.stringify(names) === JSON.stringify([ROUND.greek, ROUND.roman]),
    JSON.stringify(lists.map((l) => [l.name, l.options.length])),
  );
  const inside = await page.$$eval('[role=listbox]', (boxes) =>
    boxes.flatMap((box) => {
      const frame = box.getBoundingClientRect();
      return [...box.children]
        .map((o) => o.getBoundingClientRect())
        .filter((r) => r.bottom > frame.top && r.top < frame.bottom)
        .map((r) => r.left >= frame.left && r.right <= frame.right && r.width > 0);
    }),
  );
  check(
    'each option shown lies inside its drawn list, on the whole window shown',
    inside.length >= 14 && inside.every(Boolean),
    `${inside.length} shown`,
  );

  await play(driven(page), '');
  const click = (list, name) =>
    page.$$eval(
      `#List1_${list} [role=option]`,
      (options, n) => options.find((o) => o.textContent === n).click(),
      name,
    );
  await click(0, 'Атина');
  await click(1, 'Минерва');
  const verdict = await page.$eval('#zun-said', (e) => e.textContent);
  check(
    'a click fired on each option judges the pair',
    /^Вярно: гръцки: Атина и римски: Минерва\./.test(verdict),
    verdict,
  );
  await phone(page);
  check('nothing unhandled', errors.length === 0, JSON.stringify(errors));
  for (const row of HOSTS) await host(browser, row);
  const folder = unpackCourse();
  await course(browser, folder, false);
  await course(browser, folder, true);
  fs.rmSync(folder, { recursive: true });
  await browser.close();
  await server.close();
  const watched = await serve(SITE, { errors: true });
  for (const start of [firefox, webkit]) {
    const engine = await start();
    await engine.open(watched.url);
    for (let tries = 0; tries < 100 && !(await engine.evaluate(RUNNING)); ++tries)
      await new Promise((done) => setTimeout(done, 100));
    await play(engine, `${engine.name}: `);
    await pairByMouse(engine);
    await engine.close();
  }
  await watched.close();
}

run('controls', main);
