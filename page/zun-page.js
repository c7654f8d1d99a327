// The page's face: the window's own elements, written by the build from the form table,
// driven by the quiz's logic in zun-core.wasm. The lists follow the listbox pattern: the
// list holds the focus and frames one name (aria-activedescendant); arrows, Home, End,
// Page Up/Down and a typed letter move the frame; Space or Enter picks the framed name; a
// click or a tap picks the name under it. Every name, count and verdict comes from the core.
'use strict';
(function () {
  const OUTCOME = { nothing: 0, pick: 1, verdict: 2, newRound: 3 };
  const build = document.documentElement.dataset.build;
  const lists = [document.getElementById('List1_0'), document.getElementById('List1_1')];
  const message = document.getElementById('Text1_0');
  const counters = [document.getElementById('Text2_0'), document.getElementById('Text2_1')];
  const said = document.getElementById('zun-said');
  const frames = [-1, -1]; // the framed name's position in each list, -1 before any
  let core = null;

  // A text the core gave: UTF-16 in its memory, at the address returned, zun_length() long.
  function text(address) {
    const units = new Uint16Array(core.memory.buffer, address, core.zun_length());
    return String.fromCharCode.apply(null, units);
  }

  // A list as the core has it: names taken out of play are removed, names back in play are
  // put in their places, a pick changes one attribute. A screen reader hears only that.
  function show(list) {
    const box = lists[list];
    const count = core.zun_count(list);
    const names = [];
    for (let position = 0; position < count; ++position)
      names.push(text(core.zun_item(list, position)));
    const byName = new Map(Array.from(box.children, (o) => [o.textContent, o]));
    byName.forEach((o, name) => names.includes(name) || o.remove());
    names.forEach((name, position) => {
      const o = byName.get(name) || option(name);
      if (box.children[position] !== o) box.insertBefore(o, box.children[position] || null);
    });
    frames[list] = Math.min(frames[list], count - 1);
    const picked = core.zun_selection(list);
    Array.from(box.children).forEach((o, position) => {
      // Only the picked name says so: a screen reader would call every other "not selected".
      if (position === picked) o.setAttribute('aria-selected', 'true');
      else o.removeAttribute('aria-selected');
    });
    frame(list, frames[list]);
  }

  let made = 0; // options made, for ids that stay while their name stays in the list

  function option(name) {
    const option = document.createElement('div');
    option.id = 'zun-option-' + made++;
    option.setAttribute('role', 'option');
    option.textContent = name;
    return option;
  }

  function showFields() {
    message.value = text(core.zun_field(0));
    counters[0].value = text(core.zun_field(1));
    counters[1].value = text(core.zun_field(2));
  }

  function frame(list, position) {
    const box = lists[list];
    frames[list] = position;
    const option = position >= 0 ? box.children[position] : null;
    for (const other of box.querySelectorAll('.framed')) other.classList.remove('framed');
    if (!option) {
      box.removeAttribute('aria-activedescendant');
      return;
    }
    option.classList.add('framed');
    box.setAttribute('aria-activedescendant', option.id);
    option.scrollIntoView({ block: 'nearest' });
  }

  // The quiz's own words, said once: the pick, the verdict with both counts and where the
  // frame now is, the new round.
  function tell(outcome, list) {
    if (outcome === OUTCOME.nothing) return;
    const focused = document.activeElement === lists[list] ? list : -1;
    const told = (part) => text(core.zun_told(part, focused, frames[focused] ?? -1));
    said.textContent = (told(0) + ' ' + told(1)).trim();
  }

  function pick(list, position) {
    frame(list, position);
    const outcome = core.zun_pick(list, position);
    show(0);
    show(1);
    if (outcome === OUTCOME.verdict) showFields(); // a pick leaves the fields as they are
    tell(outcome, list);
    if (outcome === OUTCOME.verdict) judged();
  }

  // A verdict for whoever listens on the page (a teacher's course): the pair and its table
  // rows, whether it was right, the counters as shown and the names left in each list.
  function judged() {
    const detail = {
      greek: text(core.zun_pair(0)),
      roman: text(core.zun_pair(1)),
      rows: [core.zun_row(0), core.zun_row(1)],
      right: core.zun_right() === 1,
      counts: counters.map((counter) => counter.value),
      left: [core.zun_count(0), core.zun_count(1)],
    };
    document.dispatchEvent(new CustomEvent('zun-verdict', { detail }));
  }

  function clear() {
    const outcome = core.zun_clear();
    frames[0] = frames[1] = -1;
    show(0);
    show(1);
    showFields();
    tell(outcome, -1);
  }

  function topShown(box) {
    const options = Array.from(box.children);
    return options.findIndex((option) => option.offsetTop >= box.scrollTop);
  }

  // Rows a page of the list holds, for Page Up and Page Down.
  function page(box) {
    const row = box.firstElementChild;
    return row ? Math.max(1, Math.floor(box.clientHeight / row.offsetHeight) - 1) : 1;
  }

  // The next name after the frame that starts with the letter typed, round the list.
  function byLetter(list, letter) {
    const names = Array.from(lists[list].children, (option) => option.textContent.toLowerCase());
    for (let step = 1; step <= names.length; ++step) {
      const position = (frames[list] + step) % names.length;
      if (names[position].startsWith(letter)) return position;
    }
    return -1;
  }

  function onKey(list, event) {
    const box = lists[list];
    const last = box.children.length - 1;
    const now = frames[list];
    const moves = {
      ArrowDown: now + 1,
      ArrowUp: now - 1,
      Home: 0,
      End: last,
      PageDown: now + page(box),
      PageUp: now - page(box),
    };
    if (event.altKey || event.ctrlKey || event.metaKey || last < 0) return;
    if (event.key in moves) frame(list, Math.max(0, Math.min(last, moves[event.key])));
    else if (event.key === ' ' || event.key === 'Enter') pick(list, Math.max(0, now));
    else if (event.key.length === 1 && byLetter(list, event.key.toLowerCase()) >= 0)
      frame(list, byLetter(list, event.key.toLowerCase()));
    else return;
    event.preventDefault(); // keys at a list's ends never scroll the school's page
  }

  function wire() {
    lists.forEach((box, list) => {
      box.addEventListener('keydown', (event) => onKey(list, event));
      // Entered by keys, the list frames the top name shown, so that there is one to pick
      // and nothing scrolls; a press or a tap frames the name it lands on.
      let pressed = false;
      box.addEventListener('pointerdown', () => (pressed = true));
      box.addEventListener('focus', () => {
        if (frames[list] < 0 && !pressed) frame(list, topShown(box));
        pressed = false;
      });
      box.addEventListener('click', (event) => {
        const option = event.target.closest('[role=option]');
        if (option) pick(list, Array.prototype.indexOf.call(box.children, option));
      });
    });
    document.getElementById('Command1_0').addEventListener('click', clear);
    // Tab into a field selects its text, which a screen reader would read out as "selected".
    for (const field of [message, ...counters])
      field.addEventListener('focus', () => field.setSelectionRange(0, 0));
    // How to play, said once, as the pupil first reaches a list.
    const help = () => {
      said.textContent = document.getElementById('zun-help').textContent.replace(/\s+/g, ' ');
      lists.forEach((box) => box.removeEventListener('focus', help));
    };
    lists.forEach((box) => box.addEventListener('focus', help));
  }

  // Every way the start can fail ends in a sentence in the window, never in lists with no
  // names or an error seen only in the console.
  const CORE = 'zun-core.wasm';
  const STOPPED =
    'Викторината спря поради грешка. Презаредете страницата; ако се повтори, използвайте друг браузър.';
  const broken = (file) =>
    'Викторината не може да се зареди: файлът „' +
    file +
    '“ липсва на сайта или не е цял. За администратора на сайта: качете отново цялата папка на викторината.';

  function fail(sentence) {
    const note = document.getElementById('zun-note');
    note.textContent = sentence;
    note.setAttribute('role', 'alert');
    note.hidden = false;
    document.documentElement.classList.add('failed');
  }

  function abort() {
    fail(STOPPED);
    throw new Error('the quiz stopped');
  }

  // The core, compiled as it arrives where the host names it as WebAssembly, else whole.
  async function load() {
    const imports = { wasi_snapshot_preview1: { proc_exit: abort } };
    const response = await fetch(CORE + '?v=' + build);
    if (!response.ok) throw new Error(broken(CORE));
    const streams = /^application\/wasm\b/.test(response.headers.get('Content-Type'));
    const compiled = streams
      ? WebAssembly.instantiateStreaming(response, imports)
      : response.arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, imports));
    return (await compiled.catch(() => Promise.reject(new Error(broken(CORE))))).instance;
  }

  function start(instance) {
    core = instance.exports;
    if (core._initialize) core._initialize();
    core.zun_start();
    show(0);
    show(1);
    wire();
    // As in the window, the message field holds the focus at the start; a school's page
    // that frames the quiz keeps its own.
    if (window.self === window.top) message.focus();
    document.documentElement.classList.add('running');
    performance.mark('zun-running');
    // Kept for the next time, with no network, where the page is a site of its own (a
    // course keeps its own copy), opened as itself: once the page and its font are in, as
    // the worker fetches every file again and would slow them down on mobile data. A frame
    // in a school's page leaves it be, so that frames start alone, whatever the worker does.
    const own = window.self === window.top && document.querySelector('link[rel=manifest]');
    if ('serviceWorker' in navigator && own)
      loaded()
        .then(() => document.fonts.ready)
        .then(() => navigator.serviceWorker.register('sw.js'))
        .catch(offlineMissing);
  }

  function loaded() {
    if (document.readyState === 'complete') return Promise.resolve();
    return new Promise((done) => window.addEventListener('load', done, { once: true }));
  }

  // The quiz plays without its service worker, only not offline: a line under the window
  // tells the administrator when the file is missing (a browser may refuse workers too).
  async function offlineMissing(error) {
    console.warn(error);
    const response = await fetch('sw.js', { method: 'HEAD', cache: 'no-store' }).catch(() => null);
    if (!response || response.ok) return; // no network, or a browser that keeps no workers
    const note = document.getElementById('zun-missing');
    note.textContent =
      'Без мрежа викторината няма да се отваря: файлът „sw.js“ липсва на сайта. ' +
      'За администратора на сайта: качете отново цялата папка на викторината.';
    note.hidden = false;
  }

  if (location.protocol === 'file:')
    fail(
      'Викторината не се отваря като файл от диска: браузърът не позволява това. ' +
        'Поставете папката на уеб сървър (сайта на училището или локален сървър) и отворете адреса ѝ.',
    );
  else if (typeof WebAssembly !== 'object')
    fail(
      'Този браузър не поддържа WebAssembly, затова викторината не може да работи в него. ' +
        'Отворете я с актуален Chrome, Edge, Firefox или Safari.',
    );
  else
    load()
      .then(start)
      .catch((error) => {
        console.error(error);
        if (navigator.onLine === false)
          fail(
            'Няма връзка с мрежата, а викторината още не е запазена на това устройство. ' +
              'Отворете я веднъж с връзка.',
          );
        else fail(/^Викторината/.test(error.message) ? error.message : STOPPED);
      });
})();
