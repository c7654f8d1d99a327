// The page's other browser engines, each behind the same few calls, for page.js:
// Debian's Firefox ESR (Gecko) through puppeteer over WebDriver BiDi, and WebKitGTK (the
// engine of Safari) through its WebDriver, both on the harness's X server.
//   const engine = await firefox() or await webkit();
//   await engine.open(url); await engine.keys(['Tab', 'ArrowDown']); await engine.click(x, y);
//   await engine.evaluate('return document.title'); await engine.screenshot(file);
//   await engine.close();
'use strict';
const fs = require('fs');
const { spawn } = require('child_process');
const { puppeteer } = require('./serve.js');

// The X server the harness gives this process (acceptance/harness.py); neither engine
// draws WebGL headless here.
function needDisplay() {
  if (!process.env.DISPLAY) throw new Error('no DISPLAY: run this under acceptance/harness.py');
}

const WEBDRIVER_KEYS = {
  Tab: '\uE004',
  Enter: '\uE007',
  Shift: '\uE008',
  End: '\uE010',
  Home: '\uE011',
  ArrowUp: '\uE013',
  ArrowDown: '\uE015',
  ' ': ' ',
};

// A puppeteer page behind the engines' calls: a script's body evaluated, and keys pressed
// by name ('Shift+Tab' as a chord), PAUSE milliseconds apart.
function driven(page, pause = 0) {
  return {
    evaluate: (body) => page.evaluate(new Function(body)),
    async keys(names) {
      for (const name of names) {
        const [modifier, key] = name.includes('+') ? name.split('+') : [null, name];
        if (modifier) await page.keyboard.down(modifier);
        await page.keyboard.press(key);
        if (modifier) await page.keyboard.up(modifier);
        await new Promise((done) => setTimeout(done, pause));
      }
    },
  };
}

async function firefox() {
  needDisplay();
  const browser = await puppeteer().launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: false,
    env: process.env,
    extraPrefsFirefox: { 'browser.shell.checkDefaultBrowser': false },
  });
  const page = await browser.newPage();
  await page.setViewport({ width: 900, height: 700 });
  return {
    name: 'Firefox ESR',
    open: (url) => page.goto(url),
    ...driven(page, 60),
    click: (x, y) => page.mouse.click(x, y),
    screenshot: (file) => page.screenshot({ path: file }),
    async close() {
      await browser.close();
    },
  };
}

// Plain W3C WebDriver over HTTP: WebKitWebDriver starts MiniBrowser in automation mode.
async function webkit() {
  needDisplay();
  const port = 4444 + Math.floor(Math.random() * 1000);
  const driver = spawn('WebKitWebDriver', ['--port=' + port], {
    env: process.env,
    stdio: 'ignore',
  });
  const call = async (method, route, body) => {
    const response = await fetch(`http://127.0.0.1:${port}${route}`, {
      method,
      headers: { 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${route}: ${JSON.stringify(answer.value)}`);
    return answer.value;
  };
  for (let tries = 0; ; ++tries) {
    try {
      await call('GET', '/status');
      break;
    } catch (error) {
      if (tries > 50) throw error;
      await new Promise((done) => setTimeout(done, 100));
    }
  }
  const { sessionId } = await call('POST', '/session', {
    capabilities: {
      alwaysMatch: {
        'webkitgtk:browserOptions': {
          binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
          args: ['--automation'],
        },
      },
    },
  });
  const session = (method, route, body) => call(method, `/session/${sessionId}${route}`, body);
  await session('POST', '/window/rect', { width: 900, height: 700 });
  const act = (actions) => session('POST', '/actions', { actions });
  return {
    name: 'WebKitGTK',
    open: (url) => session('POST', '/url', { url }),
    evaluate: (body) => session('POST', '/execute/sync', { script: body, args: [] }),
    async keys(names) {
      for (const name of names) {
        const chord = name.split('+').map((key) => WEBDRIVER_KEYS[key]);
        await act([
          {
            type: 'key',
            id: 'keys',
            actions: [
              ...chord.map((value) => ({ type: 'keyDown', value })),
              { type: 'pause', duration: 30 },
              ...chord.reverse().map((value) => ({ type: 'keyUp', value })),
              { type: 'pause', duration: 60 },
            ],
          },
        ]);
      }
    },
    click: (x, y) =>
      act([
        {
          type: 'pointer',
          id: 'mouse',
          parameters: { pointerType: 'mouse' },
          actions: [
            { type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport' },
            { type: 'pointerDown', button: 0 },
            { type: 'pause', duration: 50 },
            { type: 'pointerUp', button: 0 },
          ],
        },
      ]),
    async screenshot(file) {
      fs.writeFileSync(file, Buffer.from(await session('GET', '/screenshot'), 'base64'));
    },
    async close() {
      await session('DELETE', '').catch(() => {});
      driver.kill();
    },
  };
}

module.exports = { firefox, webkit, driven };
