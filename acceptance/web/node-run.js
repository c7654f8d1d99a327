#!/usr/bin/env node
// Runs a program built for WebAssembly under Node.js, as CTest's emulator for the web build,
// and exits with the program's status.
//   acceptance/web/node-run.js PROGRAM.js [ARGS...]
'use strict';
const path = require('path');

// Given a global fetch, emscripten's loader asks the network for the .wasm beside it.
delete globalThis.fetch;
const [program, ...args] = process.argv.slice(2);
const create = require(path.resolve(program));
create({
  arguments: args,
  print: (text) => process.stdout.write(text + '\n'),
  printErr: (text) => process.stderr.write(text + '\n'),
  onExit: (status) => process.exit(status),
  quit: (status) => process.exit(status),
}).catch((error) => {
  console.error(error);
  process.exit(1);
});
