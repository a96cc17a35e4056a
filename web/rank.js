// "Рейтинг…": the planets of the loaded list ranked by the core in the worker, by calculation
// or with a search for every planet; sorted by any column; a row picked by double-click or
// Enter; the rows downloaded as the companion's CSV.
import { $, ctx, download, say } from './context.js';
import { el } from './fields.js';
import { startHelpers, helperPorts, restartHelpers } from './pool.js';

let columns = [];
let ranked = null; // the worker's answer: rows, picks, CSV
let sortColumn = -1;
let ascending = true;
let worker = null;

function numeric(text) {
  return /^-?\d+$/.test(text);
}

function showRows(rows) {
  $('tbRank').tHead.replaceChildren(el('tr', {}, ...columns.map((caption, c) => {
    const button = el('button', { type: 'button' }, caption);
    button.addEventListener('click', () => sortBy(c));
    const th = el('th', { scope: 'col' }, button);
    if (c === sortColumn) th.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
    return th;
  })));
  $('tbRank').tBodies[0].replaceChildren(...rows.map(({ fields, row }) => {
    const tr = el('tr', { tabIndex: 0 }, ...fields.map((text) =>
      el('td', { class: numeric(text) ? 'num' : '' }, text)));
    tr.dataset.row = String(row);
    return tr;
  }));
}

function currentRows() {
  return [...$('tbRank').tBodies[0].rows].map((tr) => ({
    fields: [...tr.cells].map((td) => td.textContent), row: Number(tr.dataset.row) }));
}

// Number columns by value, texts as texts; a second click on a column turns the order round.
function sortBy(c) {
  ascending = c === sortColumn ? !ascending : true;
  sortColumn = c;
  const rows = currentRows();
  rows.sort((a, b) => {
    const x = a.fields[c];
    const y = b.fields[c];
    const order = numeric(x) && numeric(y) ? Number(x) - Number(y) : x.localeCompare(y, 'ru');
    return ascending ? order : -order;
  });
  showRows(rows);
}

export function resetRank() {
  interruptRank();
  ranked = null;
  $('tbRank').tHead.replaceChildren();
  $('tbRank').tBodies[0].replaceChildren();
  $('bnRankSaveCsv').disabled = true;
  $('pbRank').value = 0;
  $('sRankElapsed').textContent = '';
  $('sRankRemaining').textContent = '';
}

function setIdle(idle) {
  $('bnRank').textContent = idle ? 'Рассчитать' : 'Прервать';
  $('cbRankCriterion').disabled = !idle;
  $('cbRankSearch').disabled = !idle;
}

function stopRank() {
  if (!worker) return;
  worker.terminate();
  worker = null;
  setIdle(true);
}

// "Прервать" and every other end of a running ranking: the helpers may be in a planet's
// search, which ends with them.
function interruptRank() {
  if (!worker) return;
  stopRank();
  restartHelpers();
}

function startRank(calText, settings) {
  say('');
  setIdle(false);
  $('pbRank').value = 0;
  worker = new Worker(new URL('./worker.js', import.meta.url), { type: 'module' });
  worker.onmessage = (event) => {
    const { progress, result } = event.data;
    if (progress) {
      $('pbRank').max = progress.total;
      $('pbRank').value = progress.done;
      $('sRankElapsed').textContent = progress.elapsed;
      $('sRankRemaining').textContent = progress.remaining;
      return;
    }
    stopRank();
    if (result.error) {
      say(result.error);
      return;
    }
    ranked = result;
    columns = result.columns;
    sortColumn = -1;
    showRows(result.rows.map((fields, row) => ({ fields, row })));
    $('bnRankSaveCsv').disabled = result.rows.length === 0;
  };
  worker.onerror = (event) => {
    stopRank();
    say(`Рейтинг планет: ${event.message}`);
  };
  const job = { kind: 'rank', cal: calText, list: ctx.controller.listBytes(), settings,
    search: $('cbRankSearch').checked };
  worker.postMessage({ ...job, module: ctx.module }, helperPorts(job));
}

// `calcText()`: the page's calculation (null when it cannot be ranked); `settings()`: years, growth, start habitability,
// П1..П6, criterion, seed; `pick(index, minus, plus, searched)` uses a ranked row.
export function connectRank(calcText, settings, pick) {
  $('bnPlanetRank').addEventListener('click', () => {
    startHelpers();
    $('RankView').hidden = false;
    $('RankView').scrollIntoView({ block: 'nearest' });
    $('bnRank').focus();
  });
  $('bnRankClose').addEventListener('click', () => {
    interruptRank();
    $('RankView').hidden = true;
    $('bnPlanetRank').focus();
  });
  $('bnRank').addEventListener('click', () => {
    if (worker) interruptRank();
    else {
      const cal = calcText();
      if (cal !== null) startRank(cal, settings());
    }
  });
  $('bnRankSaveCsv').addEventListener('click', () =>
    download('rank.csv', ranked.csv, 'text/csv;charset=utf-8'));
  const use = (tr) => {
    const p = ranked?.picks[Number(tr.dataset.row)];
    if (p) pick(p.index, p.minus, p.plus, ranked.searched);
  };
  const body = $('tbRank').tBodies[0];
  body.addEventListener('dblclick', (e) => {
    const tr = e.target.closest('tr');
    if (tr) use(tr);
  });
  body.addEventListener('keydown', (e) => {
    const tr = e.target.closest('tr');
    if (!tr) return;
    if (e.key === 'Enter') use(tr);
    else if (e.key === 'ArrowDown') tr.nextElementSibling?.focus();
    else if (e.key === 'ArrowUp') tr.previousElementSibling?.focus();
    else return;
    e.preventDefault();
  });
}
