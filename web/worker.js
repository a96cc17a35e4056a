// The page's worker: the core's search of the search tab and the ranking of a planet list,
// away from the page's thread, so that the page answers clicks while they run. An interrupt
// ends the worker itself. The search's generations are scored together with the helper
// workers whose ports come with the job.
import { coreOf } from './core_module.js';

// Individuals this worker scores between two reports of the last one simulated.
const SLICE = 8;

let core = null;

// Cuts of a generation's n pending individuals: the helpers take the front in near-equal
// parts, this worker the tail (never empty when n > 0), scored last, so that the individual
// simulated last is the one one-by-one scoring would leave.
function cuts(n, parts) {
  return Array.from({ length: parts + 1 }, (_, i) => Math.floor((i * n) / parts));
}

async function search(module, job, ports) {
  const driver = new module.SearchDriver(job.cal, job.seed);
  try {
    if (driver.error()) return { error: driver.error() };
    const answers = new Map();
    let asked = 0;
    for (const port of ports) {
      port.onmessage = (e) => {
        answers.get(e.data.id)(e.data.scores);
        answers.delete(e.data.id);
      };
    }
    const ask = (port, first, count) => {
      const id = asked++;
      const bytes = driver.pendingBytes(first, count);
      port.postMessage({ id, bytes }, [bytes.buffer]);
      return new Promise((resolve) => answers.set(id, resolve))
        .then((scores) => driver.takeScores(first, scores));
    };
    while (driver.generationsDone() < driver.generations()) {
      const n = driver.begin();
      const at = cuts(n, ports.length + 1);
      const asking = [];
      ports.forEach((port, i) => {
        if (at[i + 1] > at[i]) asking.push(ask(port, at[i], at[i + 1] - at[i]));
      });
      for (let first = at[ports.length]; first < n; first += SLICE) {
        driver.evaluate(first, Math.min(SLICE, n - first));
        self.postMessage({ last: driver.last() });
      }
      await Promise.all(asking);
      const progress = JSON.parse(driver.end());
      progress.last = driver.last();
      self.postMessage({ progress });
    }
    return JSON.parse(driver.finish());
  } finally {
    driver.delete();
  }
}

self.onmessage = async (event) => {
  const job = event.data;
  core ??= coreOf(job.module);
  const module = await core;
  const started = performance.now();
  let result;
  if (job.kind === 'rank') {
    const progress = (done, total, elapsed, remaining) =>
      self.postMessage({ progress: { done, total, elapsed, remaining } });
    result = JSON.parse(module.runRank(job.cal, job.list, job.settings, job.search, progress));
  } else {
    result = await search(module, job, event.ports);
  }
  self.postMessage({ result, milliseconds: performance.now() - started });
};
