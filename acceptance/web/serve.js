// A static web server on 127.0.0.1 for the page's checks and benchmark: any port, nothing
// cached by the browser, and as a school's host may be set up: the .wasm with another type,
// every response compressed, packed files sent as encoded (the browser unpacks them), extra
// headers.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const zlib = require('zlib');

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
  '.woff2': 'font/woff2',
  '.gz': 'application/gzip',
};

// Put first in the page by the `errors` option: keeps what would reach the console unhandled.
const ERRORS = `window.zunErrors = [];
addEventListener('error', (e) => zunErrors.push(String(e.message)));
addEventListener('unhandledrejection',
                 (e) => zunErrors.push('unhandled: ' + ((e.reason && e.reason.stack) || e.reason)));
`;

// serve(folder, {wasmType, gzip, encodings, validators, headers, errors}) resolves to
// {url, close(), sent(), upload(folder, headers)}: sent() counts the bytes of the bodies sent
// so far; upload() serves another folder from then on, as a new version put on the host. With
// validators it answers as a stock host does: ETag and Last-Modified, no Cache-Control.
function serve(folder, options = {}) {
  const types = { ...TYPES, ...(options.wasmType ? { '.wasm': options.wasmType } : {}) };
  let sent = 0;
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (options.errors && name === '/zun-errors.js') {
      response.writeHead(200, { 'Content-Type': TYPES['.js'] }).end(ERRORS);
      return;
    }
    let file = path.join(folder, path.normalize(name === '/' ? '/index.html' : name));
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    const accepts = request.headers['accept-encoding'] || '';
    const headers = {
      'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-store',
      ...options.headers,
    };
    if (options.validators) {
      const stat = fs.statSync(file);
      delete headers['Cache-Control'];
      headers.ETag = `"${stat.size}-${stat.mtimeMs}"`;
      headers['Last-Modified'] = stat.mtime.toUTCString();
      if (request.headers['if-none-match'] === headers.ETag) {
        response.writeHead(304, headers).end();
        return;
      }
    }
    let body = fs.createReadStream(file);
    if (options.errors && file.endsWith('index.html')) {
      body = require('stream').Readable.from([
        fs
          .readFileSync(file, 'utf8')
          .replace('<head>', '<head>\n<script src="zun-errors.js"></script>'),
      ]);
    }
    const encoding = { '.br': 'br', '.gz': 'gzip' }[path.extname(file)];
    if (options.encodings && encoding) {
      Object.assign(headers, { 'Content-Type': 'application/wasm', 'Content-Encoding': encoding });
    } else if (options.gzip && !/\.(gz|br|png|woff2)$/.test(file) && /\bgzip\b/.test(accepts)) {
      headers['Content-Encoding'] = 'gzip';
      body = body.pipe(zlib.createGzip({ level: 6 }));
    }
    response.writeHead(200, headers);
    body.on('data', (chunk) => {
      sent += chunk.length;
    });
    body.pipe(response);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () =>
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () =>
          new Promise((done) => {
            server.closeAllConnections();
            server.close(done);
          }),
        sent: () => sent,
        upload: (next, headers) => {
          folder = next;
          options = { ...options, headers: { ...options.headers, ...headers } };
        },
      }),
    );
  });
}

// Debian's Chromium, headless, quiet on a machine without a network beyond its own.
const CHROMIUM_ARGS = [
  '--no-sandbox',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--disable-quic',
  '--use-angle=swiftshader',
  '--enable-unsafe-swiftshader',
];

function puppeteer() {
  return require(path.join(__dirname, 'node_modules', 'puppeteer-core'));
}

function launch(extraArgs = []) {
  return puppeteer().launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: [...CHROMIUM_ARGS, ...extraArgs],
  });
}

// The strictest policy a school's host may send that the page must run under.
const STRICT =
  "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; " +
  "img-src 'self' data:; worker-src 'self'; connect-src 'self'";

module.exports = { serve, launch, puppeteer, STRICT };

// As a program, for the checks in Python: serves one folder and prints its address.
if (require.main === module)
  serve(path.resolve(process.argv[2])).then((server) => console.log(server.url));
