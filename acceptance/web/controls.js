#!/usr/bin/env node
// The page made of the browser's own controls, in Debian's headless Chromium on a phone's
// screen (360 x 740, touch): the accessibility tree a touch screen reader walks, the round of
// round.json by keyboard, and picks by a click fired on an option, as a double tap fires it.
//   acceptance/web/controls.js WEB_BUILD
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');

const { build, check, run, ROUND, RIGHT, WRONG, saysFirst } = require('./check.js');
const { ROOT, SITE } = build(process.argv);
const { serve, launch, STRICT } = require('./serve.js');
const { firefox, webkit, driven } = require('./engines.js');
const RUNNING = "return document.documentElement.classList.contains('running')";
const KEYS = { Down: 'ArrowDown', space: ' ', Return: 'Enter', shift: 'Shift' };

// What Chromium gives a screen reader: each option's name and place, by list.
async function tree(page, all = false) {
  const cdp = await page.target().createCDPSession();
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  if (all) return nodes.filter((n) => !n.ignored);
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
const WRONG_PAIR = saysFirst(WRONG);
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
  await click(0, 'Зевс');
  // What a touch screen reader reads of each control: role, name, value, state.
  const FORM = JSON.parse(fs.readFileSync(path.join(ROOT, 'data', 'form.json'), 'utf8'));
  const read = (n) => {
    const state = Object.fromEntries((n.properties || []).map((p) => [p.name, p.value.value]));
    const value = n.value?.value ?? '';
    return [
      n.role.value,
      n.name?.value,
      String(value).slice(0, 12),
      state.readonly,
      n.description?.value,
    ];
  };
  const seen = (await tree(page, true)).filter((n) =>
    ['textbox', 'button', 'option'].includes(n.role.value),
  );
  const described = await page.$eval('#zun-picked', (e) => e.textContent);
  const picked = seen.filter((n) => read(n)[4] === described).map((n) => n.name.value);
  const controls = seen.filter((n) => n.role.value !== 'option').map(read);
  const wanted = FORM.controls
    .filter((c) => ['MessageBox', 'CounterBox', 'Button'].includes(c.kind))
    .sort((a, b) => a.tabIndex - b.tabIndex)
    .map((c) => [
      c.kind === 'Button' ? 'button' : 'textbox',
      c.name,
      c.kind === 'CounterBox' ? '0' : '',
    ]);
  check(
    "the tree a touch screen reader reads: each control's role, name, value, read-only, the pick",
    JSON.stringify(controls.map((c) => c.slice(0, 3))) === JSON.stringify(wanted) &&
      controls.every(([role, , , readonly]) => role === 'button' || readonly === true) &&
      JSON.stringify(picked) === '["Зевс"]',
    JSON.stringify([controls, picked]),
  );
  await click(1, 'Юпитер');
  const verdict = await page.$eval('#zun-said', (e) => e.textContent);
  check('a click fired on each option judges the pair', saysFirst(RIGHT).test(verdict), verdict);
  await phone(page);
  check('nothing unhandled', errors.length === 0, JSON.stringify(errors));
  for (const row of HOSTS) await host(browser, row);
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
