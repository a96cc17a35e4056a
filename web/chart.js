// The chart of "График": the five series of the desktop's chart, drawn by uPlot.
import uPlot from './lib/uPlot.esm.js';
import { t } from './i18n.js';

// The series' colours; their captions are the core's (captions().series).
const STROKES = ['#008000', '#c8b400', '#ff0000', '#00c0c0', '#0000ff'];
let captions = [];

export function setSeriesCaptions(series) {
  captions = series;
}

let plot = null;

function size(box) {
  return { width: Math.max(200, box.clientWidth - 4), height: Math.max(180, Math.min(320, box.clientWidth * 0.6)) };
}

// `points`: [year, prc, men (thousands), resources, factories, mines] per plotted year;
// `shown`: which of resources, factories and mines the calculation plots.
export function showChart(box, points, shown) {
  const visible = [true, true, shown.resources, shown.factories, shown.mines];
  const data = [points.map((p) => p[0])];
  STROKES.forEach((_, i) => data.push(points.map((p) => (visible[i] ? p[i + 1] : null))));
  plot?.destroy();
  const series = [{ label: t('Год') }];
  STROKES.forEach((stroke, i) => series.push({ label: captions[i], stroke, show: visible[i], width: 2,
    points: { show: true, size: 5 } }));
  plot = new uPlot({ ...size(box), series, scales: { x: { time: false } },
    axes: [{ label: t('Год') }, {}], legend: { live: false } }, data, box);
}

export function clearChart() {
  plot?.destroy();
  plot = null;
}

// The chart follows the width of its page.
export function fitChart(box) {
  if (plot && box.clientWidth > 0) plot.setSize(size(box));
}
