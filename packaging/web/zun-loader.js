// Starts the quiz in the page: checks that this browser can run it, fetches the program
// with a progress line, then gives Qt the canvas. Every way it can fail ends in a sentence
// on the page, never in a blank page or an error seen only in the console.
(function () {
  'use strict';
  const page = document.documentElement.dataset;
  const program = page.program;
  const build = '?v=' + page.build; // the files of this page's own upload, never an older one
  const canvas = document.getElementById('zun-canvas');
  const status = document.getElementById('zun-status');
  let failed = false;
  document.getElementById('zun-stuck').remove(); // the loader has come

  // A file of the site that is missing or cut short: the school's administrator can mend it.
  class BrokenFile extends Error {
    constructor(name, why) {
      super(name + ': ' + why);
      this.file = name;
    }
  }

  function progress(received, total) {
    if (!failed)
      status.textContent = 'Зарежда се … ' + Math.min(100, Math.floor(received * 100 / total)) + ' %';
  }

  function fail(sentence) {
    failed = true;
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

  // A file of the site as bytes; a gzipped one unpacked here unless the host already did.
  async function fetchBytes(name) {
    const response = await fetch(name + build);
    if (!response.ok)
      throw new BrokenFile(name, 'сървърът върна ' + response.status);
    const bytes = new Uint8Array(await response.arrayBuffer());
    if (bytes[0] !== 0x1f || bytes[1] !== 0x8b)
      return bytes;
    const plain = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Uint8Array(await new Response(plain).arrayBuffer());
  }

  // Brotli packs the program a sixth tighter than gzip, but browsers unpack it only from a
  // host that says it sent it so; the page brings a small decoder of its own, gzipped for
  // the browsers that unpack gzip.
  async function unbrotli() {
    const name = 'zun-unbrotli.wasm' + (typeof DecompressionStream === 'function' ? '.gz' : '');
    const bytes = await fetchBytes(name);
    const { instance } = await WebAssembly.instantiate(bytes).catch(function (error) {
      console.error(error);
      throw new BrokenFile(name, 'не е цял');
    });
    const decoder = instance.exports;
    decoder._initialize();
    if (!decoder.zun_begin())
      throw new Error('no memory for the brotli decoder');
    const memory = () => new Uint8Array(decoder.memory.buffer);
    const input = decoder.zun_input();
    const room = decoder.zun_input_size();
    const output = decoder.zun_output();
    const [BROKEN, MORE_OUTPUT] = [0, 3];
    return new TransformStream({
      transform(chunk, controller) {
        for (let at = 0; at < chunk.length; at += room) {
          const piece = chunk.subarray(at, at + room);
          memory().set(piece, input);
          decoder.zun_feed(piece.length);
          let result;
          do {
            result = decoder.zun_step();
            const produced = decoder.zun_produced();
            if (produced)
              controller.enqueue(memory().slice(output, output + produced));
          } while (result === MORE_OUTPUT);
          if (result === BROKEN)
            throw new Error('broken brotli stream');
        }
      },
      flush() {
        if (!decoder.zun_finished())
          throw new Error('brotli stream cut short');
      },
    });
  }

  // The program comes packed, so that a host which compresses nothing still sends a third
  // of its bytes; it is unpacked and compiled while it arrives. A host that unpacks the
  // file itself hands over the program as it is.
  async function fetchProgram() {
    const name = program + '.wasm.br';
    const decoder = unbrotli();
    decoder.catch(function () {}); // awaited below; a failure is reported from there
    const response = await fetch(name + build);
    if (!response.ok)
      throw new BrokenFile(name, 'сървърът върна ' + response.status);
    const reader = response.body.getReader();
    let first = await reader.read();
    const head = first.value || new Uint8Array(0);
    const wasm = head[0] === 0 && head[1] === 0x61 && head[2] === 0x73 && head[3] === 0x6d;
    const total = Number(wasm ? page.wasmBytes : page.packedBytes) || 1;
    let received = 0;
    const counted = new ReadableStream({
      async pull(controller) {
        const { done, value } = first || await reader.read();
        first = null;
        if (done) {
          controller.close();
          return;
        }
        received += value.length;
        progress(received, total);
        controller.enqueue(value);
      },
    });
    const body = new Response(wasm ? counted : counted.pipeThrough(await decoder),
                              { headers: { 'Content-Type': 'application/wasm' } });
    try {
      return await (WebAssembly.compileStreaming ? WebAssembly.compileStreaming(body)
                                                 : WebAssembly.compile(await body.arrayBuffer()));
    } catch (error) {
      console.error(error);
      throw new BrokenFile(name, 'не е цял');
    }
  }

  function loadScript(source, query) {
    return new Promise(function (resolve, reject) {
      const script = document.createElement('script');
      script.src = source + query;
      script.onload = resolve;
      script.onerror = function () { reject(new BrokenFile(source, 'не се зареди')); };
      document.body.appendChild(script);
    });
  }

  const SCROLL_KEYS = new Set(['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'PageUp',
                               'PageDown', 'Home', 'End', ' ']);
  const stopped = 'Викторината спря поради грешка. Презаредете страницата; '
      + 'ако се повтори, използвайте друг браузър.';

  // In a frame smaller than the window Qt draws it smaller. Qt paints no finer than one
  // pixel to a point, so the canvas gets as many pixels as the window at full size and the
  // browser shows them shrunk: Qt is told that many pixels make one of the page's.
  function scaleDown(scale) {
    const screen = Object.getOwnPropertyDescriptor(window, 'devicePixelRatio');
    Object.defineProperty(window, 'devicePixelRatio', {
      configurable: true,
      get: function () { return screen.get.call(window) / scale; },
    });
  }

  // The quiz plays without its service worker, only not offline: a line under the window
  // tells the administrator, when the file is missing (a browser may refuse workers too).
  async function offlineMissing(error) {
    console.warn(error);
    const response = await fetch('sw.js', { method: 'HEAD', cache: 'no-store' }).catch(() => null);
    if (!response || response.ok) // no network, or a browser that keeps no workers
      return;
    const note = document.getElementById('zun-note');
    note.textContent = 'Без мрежа викторината няма да се отваря: файлът „sw.js“ липсва на сайта. '
        + 'За администратора на сайта: качете отново цялата папка на викторината.';
    note.hidden = false;
  }

  // Qt asks for the clipboard's permissions and never reads the answer; WebKit knows no such
  // permissions and refuses, which would leave an error unhandled. The answer is unchanged.
  function quietPermissions() {
    const permissions = navigator.permissions;
    if (!permissions || !permissions.query)
      return;
    const query = permissions.query.bind(permissions);
    permissions.query = function (descriptor) {
      const answer = query(descriptor);
      answer.catch(function () {});
      return answer;
    };
  }

  // The canvas is focused and editable from the start, so that when the page has loaded a
  // screen reader finds the quiz holding the focus and passes it every key. Focused only
  // once the program runs, it came while the reader was reading the page aloud, and the
  // reader then kept the arrows for itself.
  function focusEarly() {
    // Keys the quiz has no use for at an end of a list would scroll the page around it,
    // a school's page when it sits in a frame there.
    canvas.addEventListener('keydown', function (event) {
      if (SCROLL_KEYS.has(event.key))
        event.preventDefault();
    });
    // Editable only for the reader and the clipboard: keys are the program's, never text
    // written into the canvas.
    canvas.addEventListener('beforeinput', function (event) { event.preventDefault(); });
    canvas.focus({ preventScroll: true });
  }

  async function start() {
    quietPermissions();
    focusEarly();
    if (page.scale)
      scaleDown(Number(page.scale));
    const [wasm] = await Promise.all([fetchProgram(), loadScript(program + '.js', build)]);
    status.textContent = 'Стартира се …';
    await window.createQtAppInstance({
      qtContainerElements: [canvas],
      qtFontDpi: 96,
      preRun: [function (module) {
        if (page.scale)
          module.ENV.QT_SCALE_FACTOR = page.scale;
      }],
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
      navigator.serviceWorker.register('sw.js').catch(offlineMissing);
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
      if (navigator.onLine === false)
        fail('Няма връзка с мрежата, а викторината още не е запазена на това устройство. '
             + 'Отворете я веднъж с връзка.');
      else if (error instanceof BrokenFile)
        fail('Викторината не може да се зареди: файлът „' + error.file + '“ липсва на сайта '
             + 'или не е цял. За администратора на сайта: качете отново цялата папка '
             + 'на викторината.');
      else
        fail(stopped);
    });
  }
})();
