// "Подбор вариантов ОП": the task shown on entering the tab, the search in a worker with its
// progress, "Прервать", the best variant found and "В график".
import { $, ctx, intOf, setValue, say, fillList } from './context.js';
import { BUILD } from './core_module.js';
import { t, language } from './i18n.js';
import { startHelpers, hireHelpers, hireWorker, releaseWorker } from './pool.js';

let worker = null;
let running = null; // the calculation and the seed of the search
let lastFound = null; // the individual the worker last reported (bytes): what an interrupt shows
let crew = null; // the search's helpers
let lostHelpers = new Set(); // the helpers the worker gave up: ended with the search

export function searching() {
  return worker !== null;
}

// Entering the tab also starts the search's workers, so that a search finds them ready. `values`: the
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
// `forget` the controller's search result forgotten too.
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

// The seed of a search: the page's address may fix it (?seed=S, 0..4294967295), so that a
// search repeats. Another value is refused: `seedProblem` then tells the player, and the search
// takes a random seed, as without one.
export let seedProblem = '';
export function seed() {
  const fixed = new URLSearchParams(location.search).get('seed');
  seedProblem = '';
  if (fixed !== null) {
    if (/^\d+$/.test(fixed) && Number(fixed) <= 4294967295) return Number(fixed);
    seedProblem = t('Адрес страницы: seed=%1 вне допустимых пределов 0..4294967295, ' +
      'взят случайный seed', fixed);
  }
  return crypto.getRandomValues(new Uint32Array(1))[0];
}

function setBusy(busy) {
  $('bnGeneticCalc').textContent = busy ? t('Прервать') : t('Расчет');
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

// `done`: the search ended as it should, its worker waits for the next one.
function stop(done = false) {
  releaseWorker(worker, done);
  worker = null;
  crew.release(lostHelpers, false);
  crew = null;
  setBusy(false);
}

// `calText`: the page's calculation with the search tab's fields (saveCalc).
export function startSearch(calText, startValues) {
  const problem = ctx.controller.searchRefusal(startValues);
  if (problem) {
    say(t('Подбор ОП: %1', problem));
    return;
  }
  const clicked = performance.now();
  running = { cal: calText, seed: seed(), build: BUILD, lang: language() };
  say(seedProblem);
  // Nothing of an earlier search stands beside this one's progress: an interrupt before the
  // first report shows nothing.
  clearFound();
  setBusy(true);
  lastFound = null;
  lostHelpers = new Set();
  worker = hireWorker();
  worker.onmessage = (event) => {
    const { progress, last, lost, result } = event.data;
    if (lost !== undefined) {
      lostHelpers.add(lost);
      return;
    }
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
    if (result.fault) {
      say(t('Подбор ОП: %1', t(result.fault)));
    } else if (result.error) {
      say(result.error);
    } else {
      adopt(result);
      // From the click to the result shown: what the player waits.
      document.body.dataset.searchMs = String(Math.round(performance.now() - clicked));
    }
    stop(!result.fault);
  };
  worker.onerror = (event) => {
    say(t('Подбор ОП: %1', event.message));
    stop();
  };
  crew = hireHelpers({ kind: 'search', ...running });
  worker.postMessage({ kind: 'search', ...running }, crew.ports);
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
  stop();
}
