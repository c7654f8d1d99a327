// Starts the quiz in the page: checks that this browser can run it, fetches the program
// with a progress line, then gives Qt the canvas. Every way it can fail ends in a sentence
// on the page, never in a blank page or an error seen only in the console.
(function () {
  'use strict';
  const program = document.documentElement.dataset.program;
  const expected = Number(document.documentElement.dataset.wasmBytes) || 0;
  const canvas = document.getElementById('zun-canvas');
  const status = document.getElementById('zun-status');
  const note = document.getElementById('zun-note');

  function fail(sentence) {
    status.textContent = sentence;
    status.setAttribute('role', 'alert');
    status.hidden = false;
    canvas.classList.remove('running');
    canvas.hidden = true;
  }

  // Qt draws the window through WebGL; without it there is nothing to draw with.
  function hasWebGL() {
    try {
      const probe = document.createElement('canvas');
      return !!(window.WebGLRenderingContext
                && (probe.getContext('webgl') || probe.getContext('experimental-webgl')));
    } catch (e) {
      return false;
    }
  }

  async function fetchProgram() {
    const response = await fetch(program + '.wasm');
    if (!response.ok)
      throw new Error('сървърът върна ' + response.status + ' за ' + program + '.wasm');
    const type = (response.headers.get('Content-Type') || '').split(';')[0].trim();
    if (type !== 'application/wasm') {
      note.textContent = 'За администратора на сайта: сървърът изпраща ' + program
          + '.wasm с тип „' + (type || 'без тип') + '“ вместо „application/wasm“. '
          + 'Викторината работи, но задайте този тип.';
      note.hidden = false;
    }
    const chunks = [];
    let received = 0;
    const reader = response.body.getReader();
    for (;;) {
      const { done, value } = await reader.read();
      if (done)
        break;
      chunks.push(value);
      received += value.length;
      const percent = expected ? Math.min(100, Math.floor(received * 100 / expected)) : 0;
      status.textContent = 'Зарежда се … ' + percent + ' %';
    }
    const bytes = new Uint8Array(received);
    let at = 0;
    for (const chunk of chunks) {
      bytes.set(chunk, at);
      at += chunk.length;
    }
    return WebAssembly.compile(bytes);
  }

  function loadScript(source) {
    return new Promise(function (resolve, reject) {
      const script = document.createElement('script');
      script.src = source;
      script.onload = resolve;
      script.onerror = function () { reject(new Error('не се зареди ' + source)); };
      document.body.appendChild(script);
    });
  }

  const stopped = 'Викторината спря поради грешка. Презаредете страницата; '
      + 'ако се повтори, използвайте друг браузър.';

  async function start() {
    const [wasm] = await Promise.all([fetchProgram(), loadScript(program + '.js')]);
    status.textContent = 'Стартира се …';
    await window.createQtAppInstance({
      qtContainerElements: [canvas],
      qtFontDpi: 96,
      instantiateWasm: function (imports, done) {
        WebAssembly.instantiate(wasm, imports).then(function (instance) {
          done(instance, wasm);
        }, function (error) {
          console.error(error);
          fail(stopped);
        });
        return {};
      },
      print: function (text) { console.log(text); },
      printErr: function (text) { console.warn(text); },
      onAbort: function () { fail(stopped); },
      quit: function (code) { if (code !== 0) fail(stopped); },
    });
    status.hidden = true;
    canvas.classList.add('running');
    canvas.focus();
    // Kept for the next time, with no network: after the start, so as not to slow it.
    if ('serviceWorker' in navigator)
      navigator.serviceWorker.register('sw.js').catch(function () {});
  }

  if (location.protocol === 'file:') {
    fail('Викторината не се отваря като файл от диска: браузърът не позволява това. '
         + 'Поставете папката на уеб сървър (сайта на училището или локален сървър) '
         + 'и отворете адреса ѝ.');
  } else if (typeof WebAssembly !== 'object') {
    fail('Този браузър не поддържа WebAssembly, затова викторината не може да работи в него. '
         + 'Отворете я с актуален Chrome, Edge, Firefox или Safari.');
  } else if (!hasWebGL()) {
    fail('Този браузър или устройство няма WebGL, а викторината рисува прозореца си с него. '
         + 'Включете хардуерното ускорение или отворете я с актуален Chrome, Edge, Firefox '
         + 'или Safari на друго устройство.');
  } else {
    start().catch(function (error) {
      console.error(error);
      fail(navigator.onLine === false
           ? 'Няма връзка с мрежата, а викторината още не е запазена на това устройство. '
             + 'Отворете я веднъж с връзка.'
           : stopped);
    });
  }
})();
