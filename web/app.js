// Quendal's window in the browser: the three tabs, the race, the templates, "Расчет", the
// calculation files and the link. Every rule is the core's (quendal_web.js, built from the
// same sources as the desktop); this page only shows what the core answers.
import { loadCore } from './core_module.js';
import { $, ctx, intOf, setValue, say, download, bytesOf, fillList, selectedLine, setListEnabled,
  connectListBox } from './context.js';
import { buildFields, el } from './fields.js';
import { t, language, languages, startLanguage, chosenLanguage, keepLanguage } from './i18n.js';
import { showChart, clearChart, fitChart, setSeriesCaptions } from './chart.js';
import { showParams, showPlanetList, connectParams } from './params.js';
import { enterGenetic, searchTabValues, showSearchTab, showFound, clearFound, startSearch,
  interruptSearch, searching, seed } from './search.js';
import { connectRank, resetRank } from './rank.js';
import { linkFor, calcOfFragment } from './link.js';

const TABS = { tabBtnCalc: 'TabCalc', tabBtnAddParam: 'TabAddParam', tabBtnGenetic: 'TabGenetic' };
let shownTab = 'TabCalc';
let calcFileName = 'quendal.cal';

// ---- Tabs: leaving a tab runs its exit rule before the next tab's enter rule.

function selectTab(buttonId) {
  const next = TABS[buttonId];
  if (next === shownTab) return;
  if (shownTab === 'TabCalc') ctx.controller.takeStartPrc(intOf($('editStartPlanetPrc')));
  for (const [button, page] of Object.entries(TABS)) {
    $(button).setAttribute('aria-selected', String(page === next));
    $(button).tabIndex = page === next ? 0 : -1;
    $(page).hidden = page !== next;
  }
  shownTab = next;
  if (next === 'TabCalc') {
    const s = ctx.refresh();
    if (intOf($('editStartPlanetPrc')) !== s.planetPrc) setValue($('editStartPlanetPrc'), s.planetPrc);
  } else if (next === 'TabAddParam') {
    showParams();
  } else {
    enterGenetic(pageValues());
  }
}

// Arrow keys move along a tab list, as in the desktop's tab bar.
function connectTabList(list, choose) {
  list.addEventListener('click', (e) => {
    const tab = e.target.closest('[role="tab"]');
    if (tab) choose(tab.id);
  });
  list.addEventListener('keydown', (e) => {
    if (e.key !== 'ArrowRight' && e.key !== 'ArrowLeft') return;
    const tabs = [...list.querySelectorAll('[role="tab"]:not([hidden])')];
    const at = tabs.indexOf(document.activeElement);
    const next = tabs[(at + (e.key === 'ArrowRight' ? 1 : tabs.length - 1)) % tabs.length];
    choose(next.id);
    next.focus();
    e.preventDefault();
  });
}

function selectOutput(buttonId) {
  for (const tab of $('PageControl2').querySelectorAll('[role="tab"]')) {
    const on = tab.id === buttonId;
    tab.setAttribute('aria-selected', String(on));
    tab.tabIndex = on ? 0 : -1;
    $(tab.getAttribute('aria-controls')).hidden = !on;
  }
  if (buttonId === 'tabBtnDataChart') fitChart($('TabDataChart'));
}

// ---- The race.

function setRaceControls(enable) {
  $('rbQueueMinus').checked = true;
  for (const id of ['rbQueueMinus', 'rbQueuePlus', 'bnQueueDel', 'bnQueueUp', 'bnQueueDown',
    'bnQueueClear', 'cbItemAdd', 'editItemAdd', 'bnItemAdd'])
    $(id).disabled = !enable;
  setListEnabled($('lbQueueM'), enable);
  setListEnabled($('lbQueue'), false);
  $('tabBtnAddParam').hidden = !enable;
  $('tabBtnGenetic').hidden = !enable;
}

function showLoadedRace() {
  const s = ctx.refresh();
  $('fileName').textContent = s.racePath;
  $('raceName').textContent = s.raceName;
  setValue($('editMenYearPrc'), s.growth);
  $('editStartPlanetPrc').disabled = true;
  setValue($('editStartPlanetPrc'), s.planetPrc);
  setRaceControls(true);
  $('cbItemAdd').selectedIndex = -1;
  $('bnSaveCalcFile').disabled = true;
  $('bnLoadRaceFile').textContent = t('Очистить');
}

function clearRaceFromPage() {
  ctx.controller.clearRace();
  $('fileName').textContent = '';
  $('raceName').textContent = '';
  fillList($('lbQueueM'), []);
  fillList($('lbQueue'), []);
  $('editStartPlanetPrc').disabled = false;
  setRaceControls(false);
  clearFound();
  $('bnSaveCalcFile').disabled = true;
  $('bnLoadRaceFile').textContent = t('Загрузить');
}

async function openRace(file) {
  if (ctx.state.raceLoaded) clearRaceFromPage();
  ctx.controller.loadRace(await bytesOf(file), file.name, intOf($('editStartPlanetPrc')));
  showLoadedRace();
  showPlanetList(ctx.refresh(), -1);
  resetRank();
}

async function openPlanetList(file) {
  if (!ctx.refresh().raceLoaded) return;
  ctx.controller.loadPlanetList(await bytesOf(file), file.name);
  showPlanetList(ctx.refresh(), -1);
  resetRank();
}

// ---- The templates.

const activePlus = () => $('rbQueuePlus').checked;
const activeList = () => (activePlus() ? $('lbQueue') : $('lbQueueM'));

function showTemplates(selected = -1) {
  const s = ctx.refresh();
  fillList($('lbQueueM'), s.minus, activePlus() ? -1 : selected);
  fillList($('lbQueue'), s.plus, activePlus() ? selected : -1);
}

function connectTemplates() {
  const controller = () => ctx.controller;
  const chooseTemplate = () => {
    setListEnabled($('lbQueueM'), !activePlus());
    setListEnabled($('lbQueue'), activePlus());
  };
  for (const id of ['lbQueueM', 'lbQueue', 'lbGenQueue1', 'lbGenQueue2']) connectListBox($(id));
  $('rbQueueMinus').addEventListener('change', chooseTemplate);
  $('rbQueuePlus').addEventListener('change', chooseTemplate);
  $('bnItemAdd').addEventListener('click', () => {
    const entry = $('cbItemAdd').selectedIndex;
    if (entry >= 0 && controller().addElement(activePlus(), entry, $('editItemAdd').value))
      showTemplates();
  });
  const act = (id, action) => $(id).addEventListener('click', () => {
    const line = selectedLine(activeList());
    showTemplates(action(line));
  });
  act('bnQueueDel', (line) => controller().deleteLine(activePlus(), line));
  act('bnQueueUp', (line) => controller().moveUp(activePlus(), line));
  act('bnQueueDown', (line) => controller().moveDown(activePlus(), line));
  act('bnQueueClear', () => { controller().clearTemplate(activePlus()); return -1; });
}

// ---- "Расчет".

function calculate() {
  const result = JSON.parse(ctx.controller.calculate(pageValues()));
  const rows = (list, lines) => list.replaceChildren(...lines.map((line) => {
    const item = document.createElement('li');
    item.textContent = line;
    return item;
  }));
  rows($('lbDataSet'), result.data);
  rows($('lbMineral'), result.minerals);
  if ($('TabDataChart').hidden) clearChart();
  showChart($('TabDataChart'), result.chart, result.shown);
  $('bnSaveCalcFile').disabled = !ctx.refresh().canSave;
  document.body.dataset.calculated = String(Number(document.body.dataset.calculated || 0) + 1);
}

// ---- Calculation files and links.

function pageValues() {
  return [intOf($('editStartPlanetPrc')), intOf($('editStartPlanetMen')),
    intOf($('editMenYearPrc')), intOf($('editLightYears')), ...searchTabValues()];
}

function calcText() {
  if (shownTab === 'TabCalc') ctx.controller.takeStartPrc(intOf($('editStartPlanetPrc')));
  return ctx.controller.saveCalc(pageValues());
}

// The calculation as a file holds it, or null, said with `caption`, when its reader would
// refuse a field: the page never writes a file, a link or a ranking it could not open.
function checkedCalcText(caption) {
  if (shownTab === 'TabCalc') ctx.controller.takeStartPrc(intOf($('editStartPlanetPrc')));
  const problem = ctx.controller.refusal(pageValues());
  if (problem) {
    say(`${caption}: ${problem}`);
    return null;
  }
  return calcText();
}

function saveCalc() {
  const text = checkedCalcText(t('Сохранить результат расчета'));
  if (text !== null) download(calcFileName, text, 'application/x-quendal-calculation');
}

// A calculation opened: shown as if typed, then calculated. A refused one changes nothing.
function openCalcText(bytes, name) {
  const opened = JSON.parse(ctx.controller.openCalc(bytes, name));
  if (opened.error) {
    say(opened.error);
    return false;
  }
  say('');
  selectTab('tabBtnCalc');
  clearFound(false); // the file's result, if any, stands in the controller
  const s = ctx.refresh();
  if (s.raceLoaded) {
    showLoadedRace();
  } else {
    $('fileName').textContent = '';
    $('raceName').textContent = '';
    $('editStartPlanetPrc').disabled = false;
    setRaceControls(false);
    $('bnLoadRaceFile').textContent = t('Загрузить');
  }
  setValue($('editStartPlanetPrc'), opened.prc);
  setValue($('editStartPlanetMen'), opened.men);
  setValue($('editMenYearPrc'), opened.growth);
  setValue($('editLightYears'), opened.years);
  showTemplates();
  showPlanetList(s, s.chosen);
  showSearchTab(opened);
  setValue($('editGenPlanetPrc'), s.genPlanet);
  if (opened.result) {
    showFound(opened.result.figures, opened.result.minus, opened.result.plus);
    $('bnToGraphic').disabled = false;
  }
  resetRank();
  calculate();
  $('fileName').textContent = name;
  calcFileName = name.endsWith('.cal') ? name : 'quendal.cal';
  return true;
}

async function shareLink() {
  const text = checkedCalcText(t('Ссылка'));
  if (text === null) return;
  const link = await linkFor(text);
  setValue($('editShareLink'), link);
  try {
    await navigator.clipboard.writeText(link);
    say(t('Ссылка скопирована'), false);
  } catch {
    $('editShareLink').select();
  }
}

async function openFragment() {
  let bytes;
  try {
    bytes = await calcOfFragment(location.hash);
  } catch {
    say(t('Ссылка повреждена: в ней нет расчета Quendal. Открыта страница по умолчанию.'));
    return;
  }
  if (bytes && !openCalcText(bytes, t('ссылка')))
    say(t('Ссылка не открыта, открыта страница по умолчанию. %1', $('message').textContent));
}

// ---- Files by picker or by dropping them on the page.

function openFile(file) {
  const name = file.name.toLowerCase();
  if (name.endsWith('.cal')) bytesOf(file).then((bytes) => openCalcText(bytes, file.name));
  else if (name.endsWith('.txt')) openPlanetList(file);
  else openRace(file);
}

function connectFiles() {
  const picker = (button, input, open) => {
    $(input).addEventListener('change', (e) => {
      const file = e.target.files[0];
      e.target.value = '';
      if (file) open(file);
    });
    if (button) $(button).addEventListener('click', () => $(input).click());
  };
  $('bnLoadRaceFile').addEventListener('click', () => {
    if (ctx.refresh().raceLoaded) clearRaceFromPage();
    else $('bnLoadRaceFileInput').click();
  });
  picker(null, 'bnLoadRaceFileInput', openRace);
  picker('bnPlanetList', 'bnPlanetListInput', openPlanetList);
  picker('bnLoadCalcFile', 'bnLoadCalcFileInput',
    (file) => bytesOf(file).then((bytes) => openCalcText(bytes, file.name)));
  document.addEventListener('dragover', (e) => e.preventDefault());
  document.addEventListener('drop', (e) => {
    e.preventDefault();
    const file = e.dataTransfer.files[0];
    if (file && !searching()) openFile(file);
  });
}

// ---- Start.

// The ranking's own settings; the rest comes with the calculation.
function rankSettings() {
  return [Number($('cbRankCriterion').value), seed()];
}

// A ranked row: its entry chosen (and a searched row's templates taken), then calculated.
function pickRanked(index, minus, plus, searched) {
  if (shownTab === 'TabCalc') ctx.controller.takeStartPrc(intOf($('editStartPlanetPrc')));
  const men = ctx.controller.useRankedPlanet(index, minus, plus, searched);
  if (men < 0) return;
  setValue($('editStartPlanetMen'), men);
  showPlanetList(ctx.refresh(), ctx.state.chosen);
  showTemplates();
  selectTab('tabBtnCalc');
  selectOutput('tabBtnDataChart');
  calculate();
  $('bnCalculate').focus();
}

// The language choice: as the browser, or a language named in itself; it applies when the page
// is opened again.
function connectLanguage() {
  const box = $('cbLanguage');
  for (const { code, name } of languages()) box.append(el('option', { value: code }, name));
  box.value = chosenLanguage();
  box.addEventListener('change', () => {
    keepLanguage(box.value);
    $('sLanguageNote').textContent = t('Язык сменится, когда страница откроется снова.');
  });
}

async function start() {
  ({ core: ctx.core, module: ctx.module } = await loadCore());
  await startLanguage(ctx.core);
  connectLanguage();
  ctx.core.setLanguage(language());
  ctx.controller = new ctx.core.Controller();
  ctx.controller.setLanguage(language());
  ctx.refresh();
  const captions = JSON.parse(ctx.core.captions());
  buildFields(captions);
  setSeriesCaptions(captions.series);
  ['sHead1', 'sHead2', 'sHead3', 'sHead4'].forEach((id, i) => {
    $(id).textContent = captions.headers[i];
  });
  connectTabList($('PageControl1'), selectTab);
  connectTabList($('PageControl2').querySelector('[role="tablist"]'), selectOutput);
  connectFiles();
  connectTemplates();
  connectParams();
  connectRank(() => checkedCalcText(t('Рейтинг планет')), rankSettings, pickRanked);
  $('bnCalculate').addEventListener('click', calculate);
  $('bnSaveCalcFile').addEventListener('click', saveCalc);
  $('bnShareLink').addEventListener('click', shareLink);
  $('bnGeneticCalc').addEventListener('click', () => {
    if (searching()) interruptSearch();
    else startSearch(calcText(), pageValues());
  });
  $('bnToGraphic').addEventListener('click', () => {
    const [years, men] = ctx.controller.takeFound(pageValues());
    setValue($('editLightYears'), years);
    setValue($('editStartPlanetMen'), men);
    showTemplates();
  });
  new ResizeObserver(() => fitChart($('TabDataChart'))).observe($('TabDataChart'));
  setRaceControls(false);
  await openFragment();
  document.body.dataset.ready = 'true';
  if ('serviceWorker' in navigator && location.protocol !== 'file:')
    navigator.serviceWorker.register('sw.js').catch(() => {});
}

start();
