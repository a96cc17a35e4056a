// What the page's modules share: the core, the one controller, the last state it reported and
// small helpers for fields.

export const $ = (id) => document.getElementById(id);

// A field's value as the desktop's fields read theirs (the core's leading integer).
export function intOf(input) {
  return ctx.core.leadingInt(input.value);
}

export function setValue(input, value) {
  input.value = String(value);
}

export const ctx = {
  core: null,
  module: null, // the core's compiled WebAssembly, for the workers
  controller: null,
  state: null,
  // Reads the controller's state again after a change.
  refresh() {
    this.state = JSON.parse(this.controller.state());
    return this.state;
  },
};

// One line of text for the player: an error or a notice, until the next action.
export function say(text, isError = true) {
  const box = $('message');
  box.textContent = text;
  box.hidden = !text;
  box.classList.toggle('error', isError);
}

// Fills a list box (a select of rows) with lines, keeping `selected` selected (-1 none).
export function fillSelect(select, lines, selected = -1) {
  select.replaceChildren(...lines.map((line) => {
    const option = document.createElement('option');
    option.textContent = line;
    return option;
  }));
  select.selectedIndex = selected;
}

// A download of `text` as a file named `name`.
export function download(name, text, type) {
  const url = URL.createObjectURL(new Blob([text], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// The bytes of a chosen or dropped file.
export async function bytesOf(file) {
  return new Uint8Array(await file.arrayBuffer());
}

// A list box of lines (a list with the listbox role): the lines keep their spacing, as in
// the window's fixed-pitch list boxes; one line is selected by a click or the arrow keys.
export function fillList(list, lines, selected = -1) {
  list.replaceChildren(...lines.map((line, i) => {
    const item = document.createElement('li');
    item.setAttribute('role', 'option');
    item.id = `${list.id}-${i}`;
    item.textContent = line;
    return item;
  }));
  selectLine(list, selected);
}

export function selectedLine(list) {
  return Number(list.dataset.selected ?? -1);
}

function selectLine(list, line) {
  list.dataset.selected = String(line);
  [...list.children].forEach((item, i) => item.setAttribute('aria-selected', String(i === line)));
  if (line >= 0) {
    list.setAttribute('aria-activedescendant', `${list.id}-${line}`);
    list.children[line].scrollIntoView({ block: 'nearest' });
  } else {
    list.removeAttribute('aria-activedescendant');
  }
}

export function setListEnabled(list, enabled) {
  list.setAttribute('aria-disabled', String(!enabled));
  list.tabIndex = enabled ? 0 : -1;
}

export function connectListBox(list) {
  list.addEventListener('click', (e) => {
    const item = e.target.closest('li');
    if (item && list.getAttribute('aria-disabled') !== 'true')
      selectLine(list, [...list.children].indexOf(item));
  });
  list.addEventListener('keydown', (e) => {
    const step = { ArrowDown: 1, ArrowUp: -1 }[e.key];
    if (!step || list.children.length === 0) return;
    const line = Math.max(0, Math.min(list.children.length - 1, selectedLine(list) + step));
    selectLine(list, line);
    e.preventDefault();
  });
}
