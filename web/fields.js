// The rows of controls that repeat: built once with the desktop window's names, and the
// captions, ranges, steps and first values the core gives both.

import { t } from './i18n.js';

const FACTOR_CLASSES = ['navy', 'maroon', 'green'];
const MINERAL_CLASSES = ['navy', 'green', 'yellow'];

function el(tag, props = {}, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(props)) {
    if (key === 'class') node.className = value;
    else if (key === 'for') node.htmlFor = value;
    else node[key] = value;
  }
  node.append(...children);
  return node;
}

// A number field; without a range, the one the core gives its name (setRanges).
function number(id, min, max, step, value) {
  const field = el('input', { id, type: 'number' });
  if (value !== undefined) setRange(field, min, max, step, value);
  return field;
}

function setRange(field, min, max, step, value) {
  Object.assign(field, { min, max, step, value: String(value) });
}

// A label holding its caption and its field: the label names the field for every reader.
function row(captionId, caption, field, cls = '', fieldFirst = false) {
  const text = el('span', { id: captionId }, caption);
  const label = el('label', { class: `row ${cls}`, for: field.id });
  if (fieldFirst) label.append(field, text);
  else label.append(text, field);
  return label;
}

// `captions`: the core's (captions()).
export function buildFields(captions) {
  const $ = (id) => document.getElementById(id);
  captions.economy.forEach(([caption, ...range], i) => {
    const n = i + 1;
    $('gbRace').append(row(`sRaceP${n}`, caption,
      number(`editRaceP${n}`, ...range), 'navy b', true));
  });
  captions.factors.forEach((caption, i) => {
    const n = i + 1;
    $('gbMaxTFormPrc').append(row(`sMaxTFormPrc${n}`, caption,
      number(`editMaxTFormPrc${n}`), `${FACTOR_CLASSES[i]} b`));
    $('gbPlanetEnv').append(row(`sPlanetEnv${n}`, caption,
      number(`editPlanetEnv${n}`), `${FACTOR_CLASSES[i]} b`));
    $('gbRaceOpt').append(el('div', { id: `sEnv${n}Opt`, class: `${FACTOR_CLASSES[i]} b` },
      captions.optimum[i]));
  });
  $('editMaxTFormPrc1').disabled = true;
  captions.minerals.forEach((name, i) => {
    const cls = MINERAL_CLASSES[i];
    const n = i + 1;
    const con = number(`editPlanetConPrc${n}`);
    const mineral = number(`editPlanetMineral${n}`);
    con.setAttribute('aria-label', t('%1: концентрация', name));
    mineral.setAttribute('aria-label', t('%1: на поверхности', name));
    $('gbPlanetMineral').append(el('div', { class: 'mrow' },
      el('span', { id: `sPlanetMineral${n}`, class: `${cls} b` }, name), con, mineral));
  });
  captions.genetic.forEach(([caption, ...range], i) => {
    const n = i + 1;
    $('gbGenetic').append(row(`sGeneticP${n}`, caption,
      number(`editGeneticP${n}`, ...range), i === 0 ? 'navy b' : '', true));
  });
  const criteriaBox = el('div', { class: 'criteria' });
  $('rgGenMaxFactor').append(criteriaBox);
  captions.criteria.forEach((caption, i) => {
    const radio = el('input', { type: 'radio', name: 'criterion', id: `rgGenMaxFactor${i}`,
      value: String(i), checked: i === 2 });
    criteriaBox.append(el('label', { class: 'green b' }, radio, ` ${caption}`));
    $('cbRankCriterion').append(el('option', { value: String(i), selected: i === 2 }, caption));
  });
  captions.results.slice(0, 5).forEach((caption, i) => {
    const n = i + 1;
    $('genFigures').append(el('div', {},
      el('dt', { id: `sGenResult${n}`, class: 'navy' }, caption),
      el('dd', { id: `sGenValue${n}`, class: 'navy b' })));
  });
  const minerals = el('div', { class: 'gmin' },
    el('dt', { id: 'sGenResult6', class: 'navy i' }, captions.results[5]));
  captions.mineralShort.forEach((name, i) => {
    minerals.append(el('dd', {}, el('span', { id: `sGenMineral${i + 1}`, class: 'navy' }, name),
      el('span', { id: `sGenValue${i + 6}`, class: 'navy b' })));
  });
  $('genFigures').append(minerals);
  // Every other number field by its name, or its row's stem (editPlanetEnv for ...1..3).
  const ranges = new Map(captions.numbers.map(([name, ...range]) => [name, range]));
  document.querySelectorAll('input[type="number"]').forEach((field) => {
    const range = ranges.get(field.id.replace(/\d+$/, ''));
    if (range) setRange(field, ...range);
  });
}

export { el };
