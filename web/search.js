// "Подбор вариантов ОП": the task shown on entering the tab, the search in a worker with its
// progress, "Прервать", the best variant found and "В график".
import { $, ctx, intOf, setValue, say, fillList } from './context.js';
import { startHelpers, helperPorts } from './pool.js';

let worker = null;
let running = null; // the calculation and the seed of the search
let lastFound = null; // the individual the worker last reported (bytes): what an interrupt shows

export function searching() {
  return worker !== null;
}

// Entering the tab also starts the helpers, so that a search finds them ready. `values`: the
// page's fields as the controller takes them.
export function enterGenetic(values) {
  startHelpers();
  const s = ctx.refresh();
  setValue($('editGenPlanetPrc'), s.genPlanet);
  const [interval, landing] = ctx.controller.enterSearch(values);
  setValue($('editGenLYear'), interval);
  setValue($('editGenFixed'), landing);
}

export function searchTabValues() {
  const params = [1, 2, 3, 4, 5, 6].map((n) => intOf($(`editGeneticP${n}`)));
  const checked = document.querySelector('input[name="criterion"]:checked');
  return [...params, checked ? Number(checked.value) : 2, intOf($('editGenLYear')),
    intOf($('editGenFixed'))];
}

export function showSearchTab(search) {
  search.params.forEach((value, i) => setValue($(`editGeneticP${i + 1}`), value));
  $(`rgGenMaxFactor${search.criterion}`).checked = true;
  setValue($('editGenLYear'), search.interval);
  setValue($('editGenFixed'), search.landing);
}

export function showFound(figures, minus, plus) {
  figures.forEach((value, i) => { $(`sGenValue${i + 1}`).textContent = String(value); });
  fillList($('lbGenQueue1'), minus);
  fillList($('lbGenQueue2'), plus);
}

// The tab's start state: no figures, templates or progress, "В график" disabled; and with
// `forget` the session's search result forgotten too.
export function clearFound(forget = true) {
  for (let i = 1; i <= 8; ++i) $(`sGenValue${i}`).textContent = '';
  fillList($('lbGenQueue1'), []);
  fillList($('lbGenQueue2'), []);
  $('sTimeReady').textContent = '';
  $('sTimeRemai').textContent = '';
  $('pbGenetic').value = 0;
  $('bnToGraphic').disabled = true;
  if (forget) ctx.controller.clearSearchResult();
}

// The seed of a search: the page's address may fix it (?seed=S), so that a search repeats.
export function seed() {
  const fixed = new URLSearchParams(location.search).get('seed');
  if (fixed !== null && /^\d+$/.test(fixed)) return Number(fixed) >>> 0;
  return crypto.getRandomValues(new Uint32Array(1))[0];
}

function setBusy(busy, saveEnabled) {
  $('bnGeneticCalc').textContent = busy ? 'Прервать' : 'Расчет';
  $('bnLoadRaceFile').disabled = busy;
  $('bnLoadCalcFile').disabled = busy;
  ctx.controller.setSearching(busy);
  $('bnSaveCalcFile').disabled = !ctx.refresh().canSave;
  document.body.classList.toggle('busy', busy);
}

function adopt(found) {
  showFound(found.figures, found.minus, found.plus);
  ctx.controller.adoptSearchResult(found.cal);
  $('bnToGraphic').disabled = false;
}

function stop(saveEnabled) {
  worker.terminate();
  worker = null;
  setBusy(false, saveEnabled);
}

// `calText`: the page's calculation with the search tab's fields (saveCalc).
export function startSearch(calText, startValues) {
  const problem = ctx.controller.searchRefusal(startValues);
  if (problem) {
    say(`Подбор ОП: ${problem}`);
    return;
  }
  const saveEnabled = !$('bnSaveCalcFile').disabled;
  say('');
  $('pbGenetic').value = 0;
  $('sTimeReady').textContent = '';
  $('sTimeRemai').textContent = '';
  setBusy(true, saveEnabled);
  lastFound = null;
  worker = new Worker(new URL('./worker.js', import.meta.url), { type: 'module' });
  worker.onmessage = (event) => {
    const { progress, last, result, milliseconds } = event.data;
    if (last) {
      lastFound = last;
      return;
    }
    if (progress) {
      $('sTimeReady').textContent = progress.elapsed;
      $('sTimeRemai').textContent = progress.remaining;
      $('pbGenetic').value = progress.position;
      if (progress.last) lastFound = progress.last;
      return;
    }
    if (result.error) {
      say(result.error);
    } else {
      adopt(result);
      document.body.dataset.searchMs = String(Math.round(milliseconds));
    }
    stop(saveEnabled);
  };
  worker.onerror = (event) => {
    say(`Подбор ОП: ${event.message}`);
    stop(saveEnabled);
  };
  running = { cal: calText, seed: seed() };
  const ports = helperPorts({ kind: 'search', ...running });
  worker.postMessage({ kind: 'search', module: ctx.module, ...running }, ports);
  $('bnGeneticCalc').dataset.saveEnabled = String(saveEnabled);
}

// "Прервать": the worker ends where it is and the tab shows the individual it simulated last
// of those it reported (every few of its own individuals and after each generation),
// simulated again here.
export function interruptSearch() {
  if (!worker) return;
  if (lastFound) {
    const found = JSON.parse(ctx.core.searchFound(running.cal, running.seed, lastFound));
    if (!found.error) adopt(found);
  }
  stop($('bnGeneticCalc').dataset.saveEnabled === 'true');
}
