// "Рейтинг…": the planets of the loaded list ranked by the core in the worker, by calculation
// or with a search for every planet; sorted by any column; a row picked by double-click or
// Enter; the rows downloaded as the companion's CSV.
import { $, ctx, download, say } from './context.js';
import { el } from './fields.js';
import { t, language } from './i18n.js';
import { BUILD } from './core_module.js';
import { startHelpers, hireHelpers, hireWorker, releaseWorker } from './pool.js';
import { seedProblem } from './search.js';

let columns = [];
let ranked = null; // the worker's answer: rows, picks, CSV
let sortColumn = -1;
let ascending = true;
let worker = null;
let running = null; // the job, its helpers, the helpers given up and the rows ended so far

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

// No rows, progress or status: a new list, or a new ranking, which shows nothing of an earlier
// one beside its progress.
export function resetRank() {
  stopRank(true);
  ranked = null;
  $('tbRank').tHead.replaceChildren();
  $('tbRank').tBodies[0].replaceChildren();
  $('bnRankSaveCsv').disabled = true;
  $('pbRank').value = 0;
  $('sRankElapsed').textContent = '';
  $('sRankRemaining').textContent = '';
  $('sRankStatus').textContent = '';
}

function setIdle(idle) {
  $('bnRank').textContent = idle ? t('Рассчитать') : t('Прервать');
  $('cbRankCriterion').disabled = !idle;
  $('cbRankSearch').disabled = !idle;
}

// Every end of a ranking; `interrupted`: the helpers may be in a planet's search, and end
// with it; `done`: the ranking ended as it should, its worker waits for the next job.
function stopRank(interrupted, done = false) {
  if (!worker) return;
  releaseWorker(worker, done);
  worker = null;
  running.crew.release(running.lost, interrupted);
  setIdle(true);
}

function showRanked(result) {
  ranked = result;
  columns = result.columns;
  sortColumn = -1;
  showRows(result.rows.map((fields, row) => ({ fields, row })));
  $('bnRankSaveCsv').disabled = result.rows.length === 0;
}

// "Прервать": the planets ranked so far stay, ordered by the core as the whole ranking is,
// under the window's caption.
function interruptRank() {
  if (!worker) return;
  stopRank(true);
  const { job, rows } = running;
  const partial = new ctx.core.RankJob(job.cal, job.list, job.settings, job.search);
  try {
    rows.forEach((row) => partial.take(row));
    showRanked(JSON.parse(partial.finish()));
    $('sRankRemaining').textContent = '';
    $('sRankStatus').textContent =
      t('Прервано, рассчитано планет: %1 из %2', rows.length, partial.count());
  } finally {
    partial.delete();
  }
}

function startRank(calText, settings) {
  resetRank();
  say(seedProblem);
  setIdle(false);
  const job = { kind: 'rank', cal: calText, list: ctx.controller.listBytes(), settings,
    search: $('cbRankSearch').checked, build: BUILD, lang: language() };
  running = { job, crew: hireHelpers(job), lost: new Set(), rows: [] };
  worker = hireWorker();
  worker.onmessage = (event) => {
    const { progress, row, lost, result } = event.data;
    if (lost !== undefined) {
      running.lost.add(lost);
      return;
    }
    if (progress) {
      running.rows.push(row);
      $('pbRank').max = progress.total;
      $('pbRank').value = progress.done;
      $('sRankElapsed').textContent = progress.elapsed;
      $('sRankRemaining').textContent = progress.remaining;
      return;
    }
    stopRank(false, !result.fault);
    if (result.fault) say(t('Рейтинг планет: %1', t(result.fault)));
    else if (result.error) say(result.error);
    else showRanked(result);
  };
  worker.onerror = (event) => {
    stopRank(true);
    say(t('Рейтинг планет: %1', event.message));
  };
  worker.postMessage(job, running.crew.ports);
}

// `calcText()`: the page's calculation (null when it cannot be ranked); `settings()`: criterion
// and seed; `pick(index, minus, plus, searched)` uses a ranked row.
export function connectRank(calcText, settings, pick) {
  $('bnPlanetRank').addEventListener('click', () => {
    startHelpers();
    $('RankView').hidden = false;
    $('RankView').scrollIntoView({ block: 'nearest' });
    $('bnRank').focus();
  });
  $('bnRankClose').addEventListener('click', () => {
    if (worker) {
      stopRank(true); // as the window's close: the ranking forgotten
      $('sRankStatus').textContent = t('Прервано');
    }
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
