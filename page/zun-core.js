// The bridge to the quiz's logic in zun-core.wasm: every name, count, verdict and sentence the
// page shows comes through here, as the core has it. Its texts are UTF-16 in its memory, at
// the address a call returns, zun_length() units long.
'use strict';
/* exported Core, CoreUnusable, OUTCOME */
const OUTCOME = { nothing: 0, pick: 1, verdict: 2, newRound: 3 };

// The file is missing or not a module: the site holds a broken upload.
class CoreUnusable extends Error {}

class Core {
  // Compiled as it arrives where the host names it as WebAssembly, else whole; its one import
  // is called only if it aborts.
  static async load(address, abort) {
    const imports = { wasi_snapshot_preview1: { proc_exit: abort } };
    const response = await fetch(address);
    if (!response.ok) throw new CoreUnusable(address);
    const streams = /^application\/wasm\b/.test(response.headers.get('Content-Type'));
    const compiled = streams
      ? WebAssembly.instantiateStreaming(response, imports)
      : response.arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, imports));
    const { instance } = await compiled.catch(() => Promise.reject(new CoreUnusable(address)));
    return new Core(instance.exports);
  }

  constructor(exports) {
    this.core = exports;
    if (exports._initialize) exports._initialize();
    exports.zun_start();
  }

  text(address) {
    const units = new Uint16Array(this.core.memory.buffer, address, this.core.zun_length());
    return String.fromCharCode.apply(null, units);
  }

  names(list) {
    const count = this.core.zun_count(list);
    return Array.from({ length: count }, (_, at) => this.text(this.core.zun_item(list, at)));
  }

  picked(list) {
    return this.core.zun_selection(list);
  }

  pick(list, position) {
    return this.core.zun_pick(list, position);
  }

  clear() {
    return this.core.zun_clear();
  }

  // The message field's text, then the two counters'.
  fields() {
    return [0, 1, 2].map((field) => this.text(this.core.zun_field(field)));
  }

  // What a screen reader is told of the latest outcome, with where the frame is in the list
  // that has the focus (list -1: none).
  told(list, position) {
    const part = (at) => this.text(this.core.zun_told(at, list, position));
    return (part(0) + ' ' + part(1)).trim();
  }

  // The latest verdict: the pair and its table rows, whether it was right, the names left.
  verdict() {
    const core = this.core;
    return {
      greek: this.text(core.zun_pair(0)),
      roman: this.text(core.zun_pair(1)),
      rows: [core.zun_row(0), core.zun_row(1)],
      right: core.zun_right() === 1,
      left: [core.zun_count(0), core.zun_count(1)],
    };
  }
}
