// What the page's checks share: the build they play (skipped, saying why, where it or
// Chromium is missing), the round every check plays, a line for each check, and the run's
// end with its status.
'use strict';
const fs = require('fs');
const path = require('path');

const ROOT = path.resolve(__dirname, '..', '..');
let failed = 0;
const ROUND = JSON.parse(fs.readFileSync(path.join(ROOT, 'acceptance', 'round.json'), 'utf8'));
// The round's right pair (Зевс and Юпитер) and its wrong one (Арес and Амур), as judged.
const [RIGHT, WRONG] = ROUND.steps.filter((step) => step.message);
// A text that starts with what the quiz says first of a step.
const saysFirst = (step) => new RegExp('^' + step.say[0].replace(/[.*+?^${}()|[\]\\]/g, '\\$&'));

function build(argv) {
  const folder = path.resolve(argv[2] || path.join(ROOT, 'build-web'));
  const site = path.join(folder, 'site');
  if (!fs.existsSync(path.join(site, 'index.html')) || !fs.existsSync('/usr/bin/chromium')) {
    console.log(`skipped: no ${site}/index.html or no Chromium; scripts/build-web makes them`);
    process.exit(77);
  }
  return { ROOT, BUILD: folder, SITE: site };
}

function check(what, ok, detail = '') {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${detail ? ': ' + detail : ''}`);
  if (!ok) failed++;
}

function run(name, main) {
  main().then(
    () => {
      console.log(`${name}: ${failed ? 'failed' : 'passed'}`);
      process.exit(failed ? 1 : 0);
    },
    (error) => {
      console.error(error);
      process.exit(1);
    },
  );
}

module.exports = { build, check, run, ROUND, RIGHT, WRONG, saysFirst };
