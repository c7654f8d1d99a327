// The page's other browser engines, each behind the same few calls, for check-web:
// Debian's Firefox ESR (Gecko) through puppeteer over WebDriver BiDi, and WebKitGTK (the
// engine of Safari) through its WebDriver. Neither draws WebGL headless here, so both run
// on a private X server.
//   const engine = await firefox() or await webkit();
//   await engine.open(url); await engine.keys(['Tab', 'ArrowDown']); await engine.click(x, y);
//   await engine.evaluate('return document.title'); await engine.screenshot(file);
//   await engine.close();
'use strict';
const fs = require('fs');
const { spawn } = require('child_process');
const { puppeteer } = require('./serve.js');

// A private X server on the first free display; resolves to {display, stop()}.
function xvfb() {
  const server = spawn('Xvfb',
                       ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                       { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  return new Promise((resolve, reject) => {
    server.on('error', reject);
    server.stdio[3].once('data', (data) => resolve({
      display: ':' + String(data).trim(),
      stop: () => server.kill(),
    }));
  });
}

const WEBDRIVER_KEYS = {
  Tab: '\uE004', Enter: '\uE007', Shift: '\uE008', End: '\uE010', Home: '\uE011',
  ArrowUp: '\uE013', ArrowDown: '\uE015', ' ': ' ',
};

async function firefox() {
  const x = await xvfb();
  const browser = await puppeteer().launch({
    browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false,
    env: { ...process.env, DISPLAY: x.display },
    extraPrefsFirefox: { 'browser.shell.checkDefaultBrowser': false },
  });
  const page = await browser.newPage();
  await page.setViewport({ width: 900, height: 700 });
  return {
    name: 'Firefox ESR',
    open: (url) => page.goto(url),
    evaluate: (body) => page.evaluate(new Function(body)),
    async keys(names) {
      for (const name of names) {
        await page.keyboard.press(name);
        await new Promise((done) => setTimeout(done, 60));
      }
    },
    click: (x, y) => page.mouse.click(x, y),
    screenshot: (file) => page.screenshot({ path: file }),
    async close() {
      await browser.close();
      x.stop();
    },
  };
}

// Plain W3C WebDriver over HTTP: WebKitWebDriver starts MiniBrowser in automation mode.
async function webkit() {
  const x = await xvfb();
  const port = 4444 + Math.floor(Math.random() * 1000);
  const driver = spawn('WebKitWebDriver', ['--port=' + port],
                       { env: { ...process.env, DISPLAY: x.display }, stdio: 'ignore' });
  const call = async (method, route, body) => {
    const response = await fetch(`http://127.0.0.1:${port}${route}`, {
      method, headers: { 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await response.json();
    if (!response.ok)
      throw new Error(`WebDriver ${route}: ${JSON.stringify(answer.value)}`);
    return answer.value;
  };
  for (let tries = 0; ; ++tries) {
    try {
      await call('GET', '/status');
      break;
    } catch (error) {
      if (tries > 50)
        throw error;
      await new Promise((done) => setTimeout(done, 100));
    }
  }
  const { sessionId } = await call('POST', '/session', { capabilities: { alwaysMatch: {
    'webkitgtk:browserOptions': {
      binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'],
    },
  } } });
  const session = (method, route, body) => call(method, `/session/${sessionId}${route}`, body);
  await session('POST', '/window/rect', { width: 900, height: 700 });
  const act = (actions) => session('POST', '/actions', { actions });
  return {
    name: 'WebKitGTK',
    open: (url) => session('POST', '/url', { url }),
    evaluate: (body) => session('POST', '/execute/sync', { script: body, args: [] }),
    async keys(names) {
      for (const name of names)
        await act([{ type: 'key', id: 'keys', actions: [
          { type: 'keyDown', value: WEBDRIVER_KEYS[name] }, { type: 'pause', duration: 30 },
          { type: 'keyUp', value: WEBDRIVER_KEYS[name] }, { type: 'pause', duration: 60 }] }]);
    },
    click: (x, y) => act([{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' },
      actions: [{ type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport' },
                { type: 'pointerDown', button: 0 }, { type: 'pause', duration: 50 },
                { type: 'pointerUp', button: 0 }] }]),
    async screenshot(file) {
      fs.writeFileSync(file, Buffer.from(await session('GET', '/screenshot'), 'base64'));
    },
    async close() {
      await session('DELETE', '').catch(() => {});
      driver.kill();
      x.stop();
    },
  };
}

module.exports = { firefox, webkit };
