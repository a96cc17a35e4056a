// "Дополнительные параметры": each field goes to the core as it is typed; the derived
// fields and the limits come back from it.
import { $, ctx, intOf, setValue, fillSelect } from './context.js';

const three = [1, 2, 3];

// The tab as the model holds it (entering the tab, or after a list entry is chosen).
export function showParams() {
  const s = ctx.refresh();
  showDerived(s);
  s.economy.forEach((value, i) => setValue($(`editRaceP${i + 1}`), value));
  $('cbFullTForm').checked = s.fullTForm;
  three.forEach((n, i) => {
    const limit = $(`editMaxTFormPrc${n}`);
    limit.max = String(s.tformLimitMax);
    setValue(limit, s.limits[i]);
    setValue($(`editPlanetEnv${n}`), s.env[i]);
    $(`sEnv${n}Opt`).textContent = s.optimum[i];
    showFactorRow(s, i);
    setValue($(`editPlanetConPrc${n}`), s.conPrc[i]);
    setValue($(`editPlanetMineral${n}`), s.mineral[i]);
  });
  setValue($('editPlanetFabr'), s.fabr);
  setValue($('editPlanetMine'), s.mine);
  $('cbPlanetHW').checked = s.homeworld;
}

function showDerived(s) {
  setValue($('editCurPlanetPrc'), s.planetPrc);
  setValue($('editCurTFormPrc'), s.tformPrc);
}

// A factor's fields take no typing while it holds the immune mark; a field whose spin the
// race's immunity locks too is disabled.
function showFactorRow(s, i) {
  const n = i + 1;
  for (const id of [`editPlanetEnv${n}`, `editMaxTFormPrc${n}`])
    $(id).disabled = !s.spinEnabled[i];
  for (const id of [`sPlanetEnv${n}`, `sMaxTFormPrc${n}`])
    $(id).classList.toggle('off', !s.rowEnabled[i]);
}

export function showPlanetList(s, chosen) {
  fillSelect($('cbPlanetList'), s.planets, chosen);
  $('bnPlanetRank').disabled = s.planets.length === 0;
}

export function connectParams() {
  const controller = () => ctx.controller;
  three.forEach((n, i) => {
    $(`editPlanetEnv${n}`).addEventListener('input', (e) => {
      controller().typeFactor(i, intOf(e.target));
      showDerived(ctx.refresh());
    });
    $(`editMaxTFormPrc${n}`).addEventListener('input', (e) => {
      controller().typeTFormLimit(i, intOf(e.target));
      showDerived(ctx.refresh());
    });
    $(`editPlanetConPrc${n}`).addEventListener('input', (e) =>
      controller().setConcentration(i, intOf(e.target)));
    $(`editPlanetMineral${n}`).addEventListener('input', (e) =>
      controller().setMineral(i, intOf(e.target)));
  });
  for (let i = 0; i < 7; ++i)
    $(`editRaceP${i + 1}`).addEventListener('input', (e) =>
      controller().setEconomy(i, intOf(e.target)));
  $('editPlanetFabr').addEventListener('input', (e) => controller().setFactories(intOf(e.target)));
  $('editPlanetMine').addEventListener('input', (e) => controller().setMines(intOf(e.target)));
  $('cbFullTForm').addEventListener('change', (e) => {
    controller().setFullTForm(e.target.checked);
    const s = ctx.refresh();
    three.forEach((n, i) => {
      $(`editMaxTFormPrc${n}`).max = String(s.tformLimitMax);
      setValue($(`editMaxTFormPrc${n}`), s.limits[i]);
    });
    showDerived(s);
  });
  $('cbPlanetHW').addEventListener('change', (e) => {
    controller().setHomeworld(e.target.checked);
    const s = ctx.refresh();
    three.forEach((n, i) => setValue($(`editPlanetConPrc${n}`), s.conPrc[i]));
  });
  $('cbPlanetList').addEventListener('change', (e) => {
    const men = controller().choosePlanet(e.target.selectedIndex);
    if (men >= 0) setValue($('editStartPlanetMen'), men);
    showParams();
  });
}
