// The page's worker: the core's search of the search tab and the ranking of a planet list,
// away from the page's thread, so that the page answers clicks while they run. An interrupt
// ends the worker itself.
import QuendalCore from './quendal_web.js';

const core = QuendalCore();

self.onmessage = async (event) => {
  const job = event.data;
  const module = await core;
  const started = performance.now();
  let result;
  if (job.kind === 'rank') {
    const progress = (done, total, elapsed, remaining) =>
      self.postMessage({ progress: { done, total, elapsed, remaining } });
    result = module.runRank(job.cal, job.list, job.settings, job.search, progress);
  } else {
    const progress = (generations, position, elapsed, remaining, last) =>
      self.postMessage({ progress: { generations, position, elapsed, remaining,
        last: JSON.parse(last) } });
    result = module.runSearch(job.cal, job.seed, progress);
  }
  self.postMessage({ result: JSON.parse(result), milliseconds: performance.now() - started });
};
