// The page's worker: the core's search of the search tab and the ranking of a planet list,
// away from the page's thread, so that the page answers clicks while they run. An interrupt
// ends the worker itself. Both jobs share their work with the helper workers whose ports come
// with the job.
import { coreOf } from './core_module.js';

// Individuals in one piece of a generation: what a helper scores at a time, and this worker
// between two reports of the individual it simulated last (its bytes: the page simulates it
// again if the search is interrupted). A helper holds at most two pieces,
// so that an interrupted search leaves it little to finish.
const PIECE = 8;

let core = null;

// Lets the messages that arrived meanwhile (the helpers' scores) be handled.
const tick = new MessageChannel();
function pause() {
  return new Promise((resolve) => {
    tick.port1.onmessage = resolve;
    tick.port2.postMessage(0);
  });
}

// The helpers' answers by id: each calls the function kept under its id.
function listen(ports) {
  const answers = new Map();
  for (const port of ports) {
    port.onmessage = (e) => {
      const answer = answers.get(e.data.id);
      answers.delete(e.data.id);
      answer(e.data);
    };
  }
  return answers;
}

// Each generation's pending individuals are scored in pieces, by the helpers and by this
// worker, in whatever order they come; this worker scores the last piece itself, last, so that
// the individual simulated last is the one one-by-one scoring would leave.
async function search(module, job, ports) {
  const driver = new module.SearchDriver(job.cal, job.seed);
  try {
    if (driver.error()) return { error: driver.error() };
    const answers = listen(ports);
    let asked = 0;
    while (driver.generationsDone() < driver.generations()) {
      const n = driver.begin();
      const tail = Math.max(0, n - PIECE);
      let next = 0;
      let out = 0; // pieces the helpers hold
      let wake = null;
      const feed = (port) => {
        if (next >= tail) return;
        const first = next;
        next = Math.min(tail, next + PIECE);
        const count = next - first;
        const id = asked++;
        const bytes = driver.pendingBytes(first, count);
        port.postMessage({ id, bytes }, [bytes.buffer]);
        ++out;
        answers.set(id, ({ scores, failed }) => {
          if (failed) driver.evaluate(first, count); // and the helper gets no more
          else driver.takeScores(first, scores);
          --out;
          if (!failed) feed(port);
          if (wake) wake();
        });
      };
      for (const port of ports) {
        feed(port);
        feed(port);
      }
      while (next < tail) {
        const first = next;
        next = Math.min(tail, next + PIECE);
        driver.evaluate(first, next - first);
        self.postMessage({ last: driver.pendingBytes(next - 1, 1) });
        await pause();
      }
      driver.evaluate(tail, n - tail);
      const last = n > 0 ? driver.pendingBytes(n - 1, 1) : null;
      while (out > 0) await new Promise((resolve) => { wake = resolve; });
      wake = null;
      const progress = JSON.parse(driver.end());
      progress.last = last;
      self.postMessage({ progress });
    }
    return JSON.parse(driver.finish());
  } finally {
    driver.delete();
  }
}

// The planets are ranked one by one, by the helpers (one planet each at a time) and by this
// worker; the core orders the rows at the end, whoever ranked them.
async function rank(module, job, ports) {
  const ranking = new module.RankJob(job.cal, job.list, job.settings, job.search);
  try {
    if (ranking.error()) return { error: ranking.error() };
    const answers = listen(ports);
    const total = ranking.count();
    let next = 0;
    let done = 0;
    let out = 0;
    let wake = null;
    const report = () => self.postMessage({ progress: JSON.parse(ranking.progress(++done)) });
    const feed = (port, id) => {
      if (next >= total) return;
      const index = next++;
      port.postMessage({ id, index });
      ++out;
      answers.set(id, ({ row, failed }) => {
        if (failed) ranking.rank(index); // and the helper gets no more
        else ranking.take(row);
        --out;
        report();
        if (!failed) feed(port, id);
        if (wake) wake();
      });
    };
    ports.forEach(feed);
    while (next < total) {
      ranking.rank(next++);
      report();
      await pause();
    }
    while (out > 0) await new Promise((resolve) => { wake = resolve; });
    return JSON.parse(ranking.finish());
  } finally {
    ranking.delete();
  }
}

self.onmessage = async (event) => {
  const job = event.data;
  core ??= coreOf(job.module);
  const module = await core;
  const started = performance.now();
  const result = await (job.kind === 'rank' ? rank : search)(module, job, event.ports);
  self.postMessage({ result, milliseconds: performance.now() - started });
};
