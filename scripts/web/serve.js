// A static web server on 127.0.0.1 for the page's checks and benchmark: any port, the .wasm
// with its proper type unless told otherwise, nothing cached by the browser.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm', '.png': 'image/png', '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
};

// serve(folder, {wasmType}) resolves to {url, close()}.
function serve(folder, options = {}) {
  const types = { ...TYPES, ...(options.wasmType ? { '.wasm': options.wasmType } : {}) };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, path.normalize(name === '/' ? '/index.html' : name));
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-store',
    });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => resolve({
      url: `http://127.0.0.1:${server.address().port}/`,
      close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
    }));
  });
}

// Debian's Chromium, headless, quiet on a machine without a network beyond its own.
const CHROMIUM_ARGS = [
  '--no-sandbox', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--disable-quic',
  '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
];

function puppeteer() {
  return require(path.join(__dirname, 'node_modules', 'puppeteer-core'));
}

function launch(extraArgs = []) {
  return puppeteer().launch({
    executablePath: '/usr/bin/chromium', headless: true,
    args: [...CHROMIUM_ARGS, ...extraArgs],
  });
}

module.exports = { serve, launch };
