// The search worker: the core's search of the search tab, away from the page's thread, so
// that the page answers clicks while it runs. "Прервать" ends the worker itself.
import QuendalCore from './quendal_web.js';

const core = QuendalCore();

self.onmessage = async (event) => {
  const { cal, seed } = event.data;
  const module = await core;
  const progress = (generations, position, elapsed, remaining, last) =>
    self.postMessage({ progress: { generations, position, elapsed, remaining,
      last: JSON.parse(last) } });
  const started = performance.now();
  const result = JSON.parse(module.runSearch(cal, seed, progress));
  self.postMessage({ result, milliseconds: performance.now() - started });
};
