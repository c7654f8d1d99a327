// The page's face: the window's own elements, written by the build from the form table, and
// its lists (zun-listbox.js) driven by the quiz's logic (zun-core.js). This file starts the
// quiz, routes the lists' picks and the button to the core, shows what the core says, and
// turns every way the start can fail into a sentence in the window.
'use strict';
/* global Core, CoreUnusable, Listbox, OUTCOME */
(function () {
  const build = document.documentElement.dataset.build;
  const boxes = [document.getElementById('List1_0'), document.getElementById('List1_1')];
  const fields = ['Text1_0', 'Text2_0', 'Text2_1'].map((id) => document.getElementById(id));
  const said = document.getElementById('zun-said');
  let core = null;
  let lists = [];

  function showLists() {
    lists.forEach((list, at) => list.show(core.names(at), core.picked(at)));
  }

  function showFields() {
    core.fields().forEach((text, at) => (fields[at].value = text));
  }

  // The quiz's own words, said once: the pick, the verdict with both counts and where the
  // frame now is, the new round.
  function tell(outcome, list) {
    if (outcome === OUTCOME.nothing) return;
    const focused = document.activeElement === boxes[list] ? list : -1;
    said.textContent = core.told(focused, focused >= 0 ? lists[focused].framed : -1);
  }

  function pick(list, position) {
    const outcome = core.pick(list, position);
    showLists();
    if (outcome === OUTCOME.verdict) showFields(); // a pick leaves the fields as they are
    tell(outcome, list);
    if (outcome === OUTCOME.verdict) judged();
  }

  // A verdict for whoever listens on the page (a teacher's course): the pair and its table
  // rows, whether it was right, the counters as shown and the names left in each list.
  function judged() {
    const detail = { ...core.verdict(), counts: [fields[1].value, fields[2].value] };
    document.dispatchEvent(new CustomEvent('zun-verdict', { detail }));
  }

  function clear() {
    const outcome = core.clear();
    lists.forEach((list) => list.frame(-1));
    showLists();
    showFields();
    tell(outcome, -1);
  }

  function wire() {
    lists = boxes.map((box, at) => new Listbox(box, (position) => pick(at, position)));
    document.getElementById('Command1_0').addEventListener('click', clear);
    // Tab into a field selects its text, which a screen reader would read out as "selected".
    for (const field of fields)
      field.addEventListener('focus', () => field.setSelectionRange(0, 0));
    // How to play, said once, as the pupil first reaches a list.
    const help = () => {
      said.textContent = document.getElementById('zun-help').textContent.replace(/\s+/g, ' ');
      boxes.forEach((box) => box.removeEventListener('focus', help));
    };
    boxes.forEach((box) => box.addEventListener('focus', help));
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

  function start(quiz) {
    core = quiz;
    wire();
    showLists();
    // As in the window, the message field holds the focus at the start; a school's page
    // that frames the quiz keeps its own.
    if (window.self === window.top) fields[0].focus();
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
    Core.load(CORE + '?v=' + build, abort)
      .then(start)
      .catch((error) => {
        console.error(error);
        if (navigator.onLine === false)
          fail(
            'Няма връзка с мрежата, а викторината още не е запазена на това устройство. ' +
              'Отворете я веднъж с връзка.',
          );
        else fail(error instanceof CoreUnusable ? broken(CORE) : STOPPED);
      });
})();
