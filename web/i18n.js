// The page's language: Russian, in which the page is written, or one whose catalogue the build
// made (i18n/<code>.json, by scripts/catalogue.py from i18n/quendal_<code>.ts, as the window's
// and the core's). The player's choice is kept in the browser; without one the browser's
// language decides, by the core's rule for a locale (the window's too).

const KEY = 'quendal.language';
let texts = {}; // the page's texts in its language, by their Russian source
let current = 'ru';

// Marks a text for the catalogue where it cannot be translated yet (a worker's message, which
// the page translates when it shows it).
export const tNoop = (source) => source;

// `source` (the page's Russian text) in the page's language, %1.. replaced by `args`.
export function t(source, ...args) {
  const text = texts[source] ?? source;
  return text.replace(/%([1-9])/g, (mark, n) => (n <= args.length ? String(args[n - 1]) : mark));
}

export function language() {
  return current;
}

// The choice kept from the page ('' to follow the browser).
export function chosenLanguage() {
  try {
    return localStorage.getItem(KEY) ?? '';
  } catch {
    return '';
  }
}

export function keepLanguage(code) {
  try {
    if (code) localStorage.setItem(KEY, code);
    else localStorage.removeItem(KEY);
  } catch {
    // no storage (a private window): the choice lasts as long as the page
  }
}

// The languages there are, Russian first: [{code, name}], each named in itself.
let known = [{ code: 'ru', name: 'Русский' }];
export function languages() {
  return known;
}

// The page's own texts that the markup holds: text nodes, and the attributes that name or
// describe a control.
const ATTRIBUTES = ['aria-label', 'placeholder', 'title'];

function translateText(node) {
  const text = node.nodeValue;
  const source = text.replace(/\s+/g, ' ').trim();
  if (!source || !(source in texts)) return;
  const [lead] = text.match(/^\s*/);
  const [tail] = text.match(/\s*$/);
  node.nodeValue = (lead ? ' ' : '') + texts[source] + (tail ? ' ' : '');
}

export function translatePage(root = document) {
  const walker = document.createTreeWalker(root.body ?? root, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) translateText(node);
  for (const element of (root.body ?? root).querySelectorAll('*'))
    for (const name of ATTRIBUTES)
      if (element.hasAttribute(name)) element.setAttribute(name, t(element.getAttribute(name)));
  const description = document.querySelector('meta[name="description"]');
  if (description) description.content = t(description.content);
}

// Loads the language the player chose, or the one the core gives the browser's first
// preference, and puts the page's markup into it.
export async function startLanguage(core) {
  try {
    known = await (await fetch('i18n/languages.json')).json();
  } catch {
    known = [{ code: 'ru', name: 'Русский' }];
  }
  const codes = known.map((l) => l.code);
  const chosen = chosenLanguage();
  current = codes.includes(chosen) ? chosen
    : core.languageForLocale(navigator.languages?.[0] ?? navigator.language ?? '');
  if (current !== 'ru') {
    try {
      texts = (await (await fetch(`i18n/${current}.json`)).json()).Page ?? {};
    } catch {
      current = 'ru';
      texts = {};
    }
  }
  document.documentElement.lang = current;
  if (current !== 'ru') translatePage(document);
  return current;
}
