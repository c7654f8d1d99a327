// A list of names as the WAI-ARIA listbox pattern has it: the list holds the focus and frames
// one name (aria-activedescendant), and the picked name, if any, is described as picked.
//
// Keys: Down and Up move the frame one name, Home and End to the ends, Page Down and Page Up
// by what the list shows; a letter frames the next name that starts with it, round the list;
// Space or Enter picks the framed name. A click or a tap picks the name under it. Entered by
// keys, the list frames the top name shown, so that there is one to pick and nothing scrolls;
// a press frames the name it lands on. Keys at a list's ends never scroll the page around it.
'use strict';
/* exported Listbox */
class Listbox {
  static made = 0; // options made, for ids that stay while their name stays in the list

  constructor(box, onPick) {
    this.box = box;
    this.framed = -1; // the framed name's position, -1 before any
    this.picked = -1;
    this.onPick = onPick;
    box.addEventListener('keydown', (event) => this.onKey(event));
    let pressed = false;
    box.addEventListener('pointerdown', () => (pressed = true));
    box.addEventListener('blur', () => this.describe());
    box.addEventListener('focus', () => {
      if (this.framed < 0 && !pressed) this.frame(this.topShown());
      pressed = false;
    });
    box.addEventListener('click', (event) => {
      const option = event.target.closest('[role=option]');
      if (option) this.pick(Array.prototype.indexOf.call(box.children, option));
    });
  }

  // The names as given: names gone are removed, names back are put in their places, a pick
  // changes one name's class and description. A screen reader hears only that.
  show(names, picked) {
    const box = this.box;
    const byName = new Map(Array.from(box.children, (o) => [o.textContent, o]));
    byName.forEach((o, name) => names.includes(name) || o.remove());
    names.forEach((name, position) => {
      const o = byName.get(name) || this.option(name);
      if (box.children[position] !== o) box.insertBefore(o, box.children[position] || null);
    });
    this.picked = picked;
    this.frame(Math.min(this.framed, names.length - 1));
  }

  // The pick is described as picked, and marked by no ARIA state: selection stays the
  // browser's, following the frame as in any single-choice list. Chromium, once a name of a
  // list has had aria-selected or aria-checked, calls every other name of it "not selected"
  // for good, and that would be all a screen reader says of them. The description comes as
  // the frame or the focus leaves the pick, so that a pick is not told twice: the quiz says
  // it already.
  describe() {
    const framed = document.activeElement === this.box ? this.framed : -1;
    Array.from(this.box.children).forEach((o, position) => {
      o.classList.toggle('picked', position === this.picked);
      if (position === this.picked && position !== framed)
        o.setAttribute('aria-describedby', 'zun-picked');
      else if (position !== this.picked) o.removeAttribute('aria-describedby');
    });
  }

  option(name) {
    const option = document.createElement('div');
    option.id = 'zun-option-' + Listbox.made++;
    option.setAttribute('role', 'option');
    option.textContent = name;
    return option;
  }

  frame(position) {
    const box = this.box;
    this.framed = position;
    const option = position >= 0 ? box.children[position] : null;
    for (const other of box.querySelectorAll('.framed')) other.classList.remove('framed');
    this.describe();
    if (!option) {
      box.removeAttribute('aria-activedescendant');
      return;
    }
    // Scrolled first: Chromium, busy with a scroll, could tell a screen reader the newly
    // framed name's state before it follows the frame.
    option.scrollIntoView({ block: 'nearest' });
    option.classList.add('framed');
    box.setAttribute('aria-activedescendant', option.id);
  }

  pick(position) {
    this.frame(position);
    this.onPick(position);
  }

  topShown() {
    const options = Array.from(this.box.children);
    return options.findIndex((option) => option.offsetTop >= this.box.scrollTop);
  }

  // Rows a page of the list holds, less one that stays in sight.
  page() {
    const row = this.box.firstElementChild;
    return row ? Math.max(1, Math.floor(this.box.clientHeight / row.offsetHeight) - 1) : 1;
  }

  byLetter(letter) {
    const names = Array.from(this.box.children, (option) => option.textContent.toLowerCase());
    for (let step = 1; step <= names.length; ++step) {
      const position = (this.framed + step) % names.length;
      if (names[position].startsWith(letter)) return position;
    }
    return -1;
  }

  onKey(event) {
    const last = this.box.children.length - 1;
    const now = this.framed;
    const moves = {
      ArrowDown: now + 1,
      ArrowUp: now - 1,
      Home: 0,
      End: last,
      PageDown: now + this.page(),
      PageUp: now - this.page(),
    };
    const letter = event.key.length === 1 ? this.byLetter(event.key.toLowerCase()) : -1;
    if (event.altKey || event.ctrlKey || event.metaKey || last < 0) return;
    if (event.key in moves) this.frame(Math.max(0, Math.min(last, moves[event.key])));
    else if (event.key === ' ' || event.key === 'Enter') this.pick(Math.max(0, now));
    else if (letter >= 0) this.frame(letter);
    else return;
    event.preventDefault();
  }
}
