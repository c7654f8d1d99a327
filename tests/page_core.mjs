// The page's logic module under Node.js: the round that every check plays, judged by the
// words of acceptance/round.json, through the module's own exports.
//   node tests/page_core.mjs zun-core.wasm round.json
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import test from 'node:test';

const [wasm, roundFile] = process.argv.slice(2);
const round = JSON.parse(readFileSync(roundFile, 'utf8'));
// Its one import ends the module when it aborts (out of memory): the page says it stopped.
const stopped = (status) => {
  throw new Error(`the quiz's logic stopped (${status})`);
};
const imports = { wasi_snapshot_preview1: { proc_exit: stopped } };
const { instance } = await WebAssembly.instantiate(readFileSync(wasm), imports);
const core = instance.exports;
core._initialize();
core.zun_start();

const text = (start) =>
  new TextDecoder('utf-16le').decode(
    new Uint8Array(core.memory.buffer, start, core.zun_length() * 2),
  );
const items = (list) =>
  Array.from({ length: core.zun_count(list) }, (_, at) => text(core.zun_item(list, at)));
// What is said, with the frame where it is in the list that has the focus (-1: none).
const told = (list = -1, at = -1) =>
  [text(core.zun_told(0, list, at)), text(core.zun_told(1, list, at))].filter(Boolean).join(' ');
const pick = (name) => {
  const list = items(0).includes(name) ? 0 : 1;
  return core.zun_pick(list, items(list).indexOf(name));
};
const [PICK, VERDICT, NEW_ROUND] = [1, 2, 3];
const said = (step) => round.steps[step].say.join(' ');

test('a fresh round: both lists sorted, both counters 0', () => {
  assert.deepEqual(items(0), round.greek);
  assert.deepEqual(items(1), round.roman);
  assert.deepEqual([text(core.zun_field(1)), text(core.zun_field(2))], ['0', '0']);
});

test('a pick, then the right pair, as a screen reader hears them', () => {
  assert.equal(pick('Зевс'), PICK);
  assert.equal(told(), said(2));
  assert.equal(pick('Юпитер'), VERDICT);
  assert.equal(told(1, items(1).indexOf(round.steps[5].focus)), said(5));
  assert.equal(text(core.zun_field(0)), round.steps[5].message.replace('\n', '\r\n'));
  assert.deepEqual([core.zun_selection(0), core.zun_selection(1), core.zun_count(0)], [-1, -1, 15]);
  assert.deepEqual(
    [text(core.zun_pair(0)), text(core.zun_pair(1)), core.zun_right()],
    ['Зевс', 'Юпитер', 1],
  );
});

test('a pick outside a list judges nothing', () => {
  assert.equal(core.zun_pick(0, 99), 0);
  assert.equal(core.zun_pick(2, 0), 0);
  assert.equal(text(core.zun_field(1)), '1');
});

test('"Чисти" starts a new round and empties the message', () => {
  assert.equal(core.zun_clear(), NEW_ROUND);
  assert.equal(told(), said(round.steps.findIndex((step) => step.message === '')));
  assert.equal(text(core.zun_field(0)), '');
  assert.deepEqual(items(0), round.greek);
});

test('a whole round of wrong pairs empties both lists and counts 16', () => {
  while (core.zun_count(0) > 0) {
    core.zun_pick(0, 0);
    core.zun_pick(1, core.zun_count(1) - 1);
  }
  assert.deepEqual([text(core.zun_field(1)), text(core.zun_field(2))], ['0', '16']);
  assert.equal(core.zun_count(1), 0);
});
