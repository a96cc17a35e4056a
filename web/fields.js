// The rows of controls that repeat: built once from tables with the desktop window's names,
// captions, ranges, steps and defaults.

const FACTORS = ['Гравитация:', 'Температура:', 'Радиация:'];
const FACTOR_CLASSES = ['navy', 'maroon', 'green'];

const ECONOMY = [
  ['Колонистов дают 1 ресурс в год', 700, 2500, 100, 1000],
  ['Ресурсов дают в год 10 фабрик', 5, 15, 1, 10],
  ['Ресурсов стоит 1 фабрика', 5, 25, 1, 10],
  ['Фабрик, управляемых 10000 колонистами', 5, 25, 1, 10],
  ['Ресурсов стоит 1 шахта', 2, 15, 1, 10],
  ['Шахт, управляемых 10000 колонистами', 5, 25, 1, 10],
  ['кТ каждого минерала в год добывают 5 шахт', 5, 25, 1, 10],
];

const GENETIC = [
  ['1. Численность популяции особей (вариантов)', 50, 999, 50, 100],
  ['2. Число поколений (итераций алгоритма)', 1, 999, 10, 20],
  ["3. 'Элита', % от популяции (немутируемые особи)", 1, 50, 1, 5],
  ['4. Фактор выживания: >= (F(x)-min)/(max-min)', 50, 99, 1, 80],
  ['5. Вероятность мутации особи', 1, 50, 1, 1],
  ['6. Вероятность скрещивания особи', 0, 50, 1, 40],
];

const MINERALS = [['Ирониум', 'navy'], ['Ураниум', 'green'], ['Либериум', 'yellow']];

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

function number(id, min, max, step, value) {
  return el('input', { id, type: 'number', min, max, step, value: String(value) });
}

// A label holding its caption and its field: the label names the field for every reader.
function row(captionId, caption, field, cls = '', fieldFirst = false) {
  const text = el('span', { id: captionId }, caption);
  const label = el('label', { class: `row ${cls}`, for: field.id });
  if (fieldFirst) label.append(field, text);
  else label.append(text, field);
  return label;
}

export function buildFields(criteria) {
  const $ = (id) => document.getElementById(id);
  ECONOMY.forEach(([caption, min, max, step, value], i) => {
    const n = i + 1;
    $('gbRace').append(row(`sRaceP${n}`, caption,
      number(`editRaceP${n}`, min, max, step, value), 'navy b', true));
  });
  FACTORS.forEach((caption, i) => {
    const n = i + 1;
    $('gbMaxTFormPrc').append(row(`sMaxTFormPrc${n}`, caption,
      number(`editMaxTFormPrc${n}`, 1, 15, 1, 11), `${FACTOR_CLASSES[i]} b`));
    $('gbPlanetEnv').append(row(`sPlanetEnv${n}`, caption,
      number(`editPlanetEnv${n}`, 0, 100, 1, 0), `${FACTOR_CLASSES[i]} b`));
    $('gbRaceOpt').append(el('div', { id: `sEnv${n}Opt`, class: `${FACTOR_CLASSES[i]} b` },
      i === 0 ? '50  <17..67>' : 'Иммунитет'));
  });
  $('editMaxTFormPrc1').disabled = true;
  MINERALS.forEach(([name, cls], i) => {
    const n = i + 1;
    const con = number(`editPlanetConPrc${n}`, 1, 100, 1, 100);
    const mineral = number(`editPlanetMineral${n}`, 0, 32000, 100, 0);
    con.setAttribute('aria-label', `${name}: концентрация`);
    mineral.setAttribute('aria-label', `${name}: на поверхности`);
    $('gbPlanetMineral').append(el('div', { class: 'mrow' },
      el('span', { id: `sPlanetMineral${n}`, class: `${cls} b` }, name), con, mineral));
  });
  GENETIC.forEach(([caption, min, max, step, value], i) => {
    const n = i + 1;
    $('gbGenetic').append(row(`sGeneticP${n}`, caption,
      number(`editGeneticP${n}`, min, max, step, value), i === 0 ? 'navy b' : '', true));
  });
  const criteriaBox = el('div', { class: 'criteria' });
  $('rgGenMaxFactor').append(criteriaBox);
  criteria.forEach((caption, i) => {
    const radio = el('input', { type: 'radio', name: 'criterion', id: `rgGenMaxFactor${i}`,
      value: String(i), checked: i === 2 });
    criteriaBox.append(el('label', { class: 'green b' }, radio, ` ${caption}`));
    $('cbRankCriterion').append(el('option', { value: String(i), selected: i === 2 }, caption));
  });
  const results = ['Планета (%):', 'Население (чел):', 'Ресурсы:', 'Фабрики:', 'Шахты:'];
  results.forEach((caption, i) => {
    const n = i + 1;
    $('genFigures').append(el('div', {},
      el('dt', { id: `sGenResult${n}`, class: 'navy' }, caption),
      el('dd', { id: `sGenValue${n}`, class: 'navy b' })));
  });
  const minerals = el('div', { class: 'gmin' },
    el('dt', { id: 'sGenResult6', class: 'navy i' }, 'Минералы (кТ):'));
  ['Ир.', 'Ур.', 'Либ.'].forEach((name, i) => {
    minerals.append(el('dd', {}, el('span', { id: `sGenMineral${i + 1}`, class: 'navy' }, name),
      el('span', { id: `sGenValue${i + 6}`, class: 'navy b' })));
  });
  $('genFigures').append(minerals);
}

export { el };
