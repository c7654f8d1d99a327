// Writes the page's window from the form table: index.html with one element per control,
// in tab order, and the style sheet's rules for each control's place, the window's size,
// colours and font, after page.css's own; the web app manifest's name and colours. Run by
// the build:
//   node make-page.mjs FORM_JSON FOLDER BUILD SCHOOL_ADDRESS
import fs from 'node:fs';
import path from 'node:path';

const [formFile, folder, build, school] = process.argv.slice(2);
const form = JSON.parse(fs.readFileSync(formFile, 'utf8'));
const px = (twips) => twips / form.twipsPerPixel + 'px';
const rgb = (colour) => `rgb(${colour.join(' ')})`;
const hex = (colour) => '#' + colour.map((c) => c.toString(16).padStart(2, '0')).join('');
const html = (text) =>
  String(text).replace(
    /[&<>"]/g,
    (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c],
  );

// Each kind of control as the browser's own element.
const element = {
  Label: (c, id) => `<div id="${id}" class="label" aria-hidden="true">${html(c.text)}</div>`,
  ListBox: (c, id) =>
    `<div id="${id}" class="list" role="listbox" tabindex="0" aria-label="${html(c.name)}"` +
    ` aria-describedby="${id}-help"></div>\n<p id="${id}-help" hidden>${html(c.description)}</p>`,
  Button: (c, id) =>
    `<button id="${id}" class="button" type="button" aria-describedby="${id}-help">` +
    `${html(c.text)}</button>\n<p id="${id}-help" hidden>${html(c.description)}</p>`,
  CounterBox: (c, id) =>
    `<input id="${id}" class="field" readonly value="${html(c.text)}" aria-label="${html(c.name)}">`,
  MessageBox: (c, id) =>
    `<textarea id="${id}" class="field" readonly aria-label="${html(c.name)}">` +
    `${html(form.introduction.map((p) => p + '\n').join(''))}</textarea>`,
};

const controls = [...form.controls].sort((a, b) => a.tabIndex - b.tabIndex);
const id = (c) => `${c.array}_${c.index}`;
const body = controls.map((c) => element[c.kind](c, id(c))).join('\n');
const places = controls.map((c) => {
  const [left, top, width, height] = c.twips.map(px);
  return `#${id(c)} { left: ${left}; top: ${top}; width: ${width}; height: ${height}; }`;
});
const [width, height] = form.client.map(px);
// The font under the build's name too, as every file the page asks for.
const css = `/* Written by the build from the form table. */
@font-face {
  font-family: "Zun Serif";
  src: url("serif.woff2?v=${build}") format("woff2");
  font-display: block;
}
:root { --zun-width: ${width}; --zun-height: ${height}; }
html, body { background: ${rgb(form.colours.window)}; }
.window { font: ${form.font.points}pt "Zun Serif", "${form.font.family}", serif; }
.label { background: ${rgb(form.colours.label)}; }
.button { background: ${rgb(form.colours.button)}; }
${places.join('\n')}
`;

const template = fs.readFileSync(
  path.join(path.dirname(new URL(import.meta.url).pathname), 'index.html.in'),
  'utf8',
);
const page = template
  .replaceAll('@BUILD@', build)
  .replace('@CAPTION@', html(`${school} ${form.title}`)) // the window's caption
  .replaceAll('@TITLE@', html(form.title))
  .replace('@WIDTH@', parseFloat(width))
  .replace('@HEIGHT@', parseFloat(height))
  .replace('@COLOUR@', hex(form.colours.window))
  .replace('@WINDOW@', body);
fs.writeFileSync(path.join(folder, 'index.html'), page);
// The installed app's name and colours are the window's.
const manifestFile = path.join(folder, 'manifest.webmanifest');
const manifest = JSON.parse(fs.readFileSync(manifestFile, 'utf8'));
const colour = hex(form.colours.window);
Object.assign(manifest, { name: form.title, short_name: form.title });
Object.assign(manifest, { background_color: colour, theme_color: colour });
fs.writeFileSync(manifestFile, JSON.stringify(manifest, null, 2) + '\n');
fs.appendFileSync(path.join(folder, 'page.css'), css);
