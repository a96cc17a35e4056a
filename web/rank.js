// "Рейтинг…": the planets of the loaded list ranked by the core, sorted by any column, a row
// picked by double-click or Enter, and the rows as CSV.
import { $, ctx, download } from './context.js';
import { el } from './fields.js';

let columns = [];
let sortColumn = -1;
let ascending = true;

function numeric(text) {
  return /^-?\d+$/.test(text);
}

function showRows(rows) {
  const head = $('tbRank').tHead;
  head.replaceChildren(el('tr', {}, ...columns.map((caption, c) => {
    const button = el('button', { type: 'button' }, caption);
    button.addEventListener('click', () => sortBy(c));
    const th = el('th', { scope: 'col' }, button);
    if (c === sortColumn) th.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
    return th;
  })));
  const body = $('tbRank').tBodies[0];
  body.replaceChildren(...rows.map(({ fields, row }) => {
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
  $('tbRank').tHead.replaceChildren();
  $('tbRank').tBodies[0].replaceChildren();
  $('bnRankSaveCsv').disabled = true;
}

// `settings`: years, growth, start habitability, П1..П6, criterion, seed; `pick(row)` uses a
// row of the ranking (the session's row number).
export function connectRank(settings, pick) {
  $('bnPlanetRank').addEventListener('click', () => {
    $('RankView').hidden = false;
    $('RankView').scrollIntoView({ block: 'nearest' });
    $('bnRank').focus();
  });
  $('bnRankClose').addEventListener('click', () => {
    $('RankView').hidden = true;
    $('bnPlanetRank').focus();
  });
  $('bnRank').addEventListener('click', () => {
    const ranked = JSON.parse(ctx.session.rank(settings()));
    columns = ranked.columns || [];
    sortColumn = -1;
    showRows((ranked.rows || []).map((fields, row) => ({ fields, row })));
    $('bnRankSaveCsv').disabled = !ranked.rows || ranked.rows.length === 0;
  });
  $('bnRankSaveCsv').addEventListener('click', () =>
    download('rank.csv', ctx.session.rankCsv(), 'text/csv;charset=utf-8'));
  const body = $('tbRank').tBodies[0];
  body.addEventListener('dblclick', (e) => {
    const tr = e.target.closest('tr');
    if (tr) pick(Number(tr.dataset.row));
  });
  body.addEventListener('keydown', (e) => {
    const tr = e.target.closest('tr');
    if (!tr) return;
    if (e.key === 'Enter') pick(Number(tr.dataset.row));
    else if (e.key === 'ArrowDown') tr.nextElementSibling?.focus();
    else if (e.key === 'ArrowUp') tr.previousElementSibling?.focus();
    else return;
    e.preventDefault();
  });
}
