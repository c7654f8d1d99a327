// The checks' JavaScript runs in Node.js, and in the page through page.evaluate(); the page's
// own scripts are classic scripts, made one by the build.
'use strict';
const js = require('@eslint/js');
const globals = require('globals');

module.exports = [
  js.configs.recommended,
  {
    languageOptions: {
      sourceType: 'commonjs',
      globals: { ...globals.node, ...globals.browser },
    },
  },
  { files: ['**/*.mjs'], languageOptions: { sourceType: 'module' } },
  { files: ['page/*.js'], languageOptions: { sourceType: 'script' } },
];
