// A job's worker: the core's search of the search tab, or the ranking of a planet list, away
// from the page's thread, so that the page answers clicks while it runs. An interrupt ends the
// worker itself. The job shares its work with the helper workers whose ports come with it; a
// helper that fails or goes silent is given up and its part done here.
import { BUILD, coreOf } from './core_module.js';
import { tNoop } from './i18n.js';

// Individuals in one piece of a generation, at most: what a helper scores at a time, and this
// worker between two reports of the individual it simulated last (its bytes: the page
// simulates it again if the search is interrupted). A helper holds at most two pieces, so that
// an interrupted search leaves it little to finish. Toward the end of a generation the pieces
// shrink, to a SHARE-th of what is left for each worker, down to one individual, so that
// every worker ends the generation at about the same time.
const PIECE = 8;
const SHARE = 4;

// A helper that has owed an answer for longer than this, or than SILENT_FACTOR times the
// longest a piece has taken anywhere, is taken for silent (dead, or stuck).
const SILENT_MS = 2000;
const SILENT_FACTOR = 4;

let core = null;

// Lets the messages that arrived meanwhile (the helpers' answers) be handled.
const tick = new MessageChannel();
function pause() {
  return new Promise((resolve) => {
    tick.port1.onmessage = resolve;
    tick.port2.postMessage(0);
  });
}

// The helpers of one job. `work`: what they do, `next()` the next item for a helper (null when
// there is none), `message(item)` its message and transfer list, `take(item, answer)` a
// helper's answer, `redo(item)` the item done here instead. A helper that fails, or owes an
// answer too long while this worker waits, gets no more; its items are done here and the page
// is told, so that it ends that helper.
class Crew {
  constructor(ports, depth) {
    this.helpers = ports.map((port, k) => ({ port, k, out: new Map(), since: 0, lost: false }));
    this.depth = depth;
    this.slowest = 0;
    this.ids = 0;
    this.wake = null;
    for (const h of this.helpers) h.port.onmessage = (e) => this.answer(h, e.data);
  }

  // The workers at work: the helpers not given up and this one.
  size() {
    return 1 + this.helpers.filter((h) => !h.lost).length;
  }

  // Every helper given as much as it holds.
  start(work) {
    this.work = work;
    this.helpers.forEach((h) => this.fill(h));
  }

  fill(h) {
    while (!h.lost && h.out.size < this.depth) {
      const item = this.work.next();
      if (item === null) return;
      const id = this.ids++;
      if (h.out.size === 0) h.since = performance.now();
      h.out.set(id, item);
      const [message, transfer] = this.work.message(item);
      h.port.postMessage({ id, ...message }, transfer);
    }
  }

  answer(h, data) {
    const item = h.out.get(data.id);
    if (item === undefined) return; // given up meanwhile
    h.out.delete(data.id);
    const now = performance.now();
    this.timed(now - h.since);
    h.since = now;
    if (data.failed) {
      this.work.redo(item);
      this.giveUp(h);
    } else {
      this.work.take(item, data);
      this.fill(h);
    }
    this.wake?.();
  }

  // How long an item took here or in a helper: the measure of a silent helper.
  timed(ms) {
    this.slowest = Math.max(this.slowest, ms);
  }

  giveUp(h) {
    h.lost = true;
    const items = [...h.out.values()];
    h.out.clear();
    self.postMessage({ lost: h.k });
    items.forEach((item) => this.work.redo(item));
  }

  // Waits for the items the helpers hold, doing those of a silent helper here.
  async settle() {
    for (;;) {
      const owing = this.helpers.filter((h) => h.out.size > 0);
      if (owing.length === 0) return;
      const bound = Math.max(SILENT_MS, SILENT_FACTOR * this.slowest);
      const now = performance.now();
      const silent = owing.find((h) => now - h.since > bound);
      if (silent) {
        this.giveUp(silent);
        continue;
      }
      const wait = Math.min(...owing.map((h) => h.since + bound - now)) + 1;
      await new Promise((resolve) => {
        const timer = setTimeout(resolve, wait);
        this.wake = () => {
          clearTimeout(timer);
          resolve();
        };
      });
      this.wake = null;
    }
  }
}

// Each generation's pending individuals but the last are scored in pieces, by the helpers and
// by this worker, in whatever order they come; this worker scores the last one itself, last,
// so that the individual simulated last is the one one-by-one scoring would leave. A piece a
// helper failed is scored here apart, leaving that individual as it is.
async function search(module, job, ports) {
  const driver = new module.SearchDriver(job.cal, job.seed);
  try {
    if (driver.error()) return { error: driver.error() };
    const crew = new Crew(ports, 2);
    while (driver.generationsDone() < driver.generations()) {
      const n = driver.begin();
      const end = n - 1;
      let next = 0;
      const piece = () => {
        const first = next;
        const share = Math.floor((end - next) / (SHARE * crew.size()));
        next = Math.min(end, next + Math.max(1, Math.min(PIECE, share)));
        return { first, count: next - first };
      };
      crew.start({
        next: () => (next < end ? piece() : null),
        message: ({ first, count }) => {
          const bytes = driver.pendingBytes(first, count);
          return [{ bytes }, [bytes.buffer]];
        },
        take: ({ first }, { scores }) => driver.takeScores(first, scores),
        redo: ({ first, count }) => driver.scoreApart(first, count),
      });
      while (next < end) {
        const { first, count } = piece();
        const started = performance.now();
        driver.evaluate(first, count);
        crew.timed(performance.now() - started);
        self.postMessage({ last: driver.pendingBytes(first + count - 1, 1) });
        await pause();
      }
      let last = null;
      if (n > 0) {
        driver.evaluate(end, 1);
        last = driver.pendingBytes(end, 1);
      }
      await crew.settle();
      const progress = JSON.parse(driver.end());
      progress.last = last;
      self.postMessage({ progress });
    }
    return JSON.parse(driver.finish());
  } finally {
    driver.delete();
  }
}

// The planets are ranked one by one, by the helpers (one planet each at a time, from the front
// of the list) and by this worker (from the back, at least the last planet); each row goes to
// the page as it ends, so that an interrupt keeps the planets ranked. The core orders the rows
// at the end, whoever ranked them.
async function rank(module, job, ports) {
  const ranking = new module.RankJob(job.cal, job.list, job.settings, job.search);
  try {
    if (ranking.error()) return { error: ranking.error() };
    const total = ranking.count();
    let front = 0;
    let back = total;
    let mine = false; // this worker has begun its planets: the helpers may take the last one
    let done = 0;
    const crew = new Crew(ports, 1);
    const ended = (row) => {
      const progress = JSON.parse(ranking.progress(++done));
      self.postMessage({ progress, row });
    };
    const here = (index) => {
      const started = performance.now();
      const row = ranking.row(index);
      crew.timed(performance.now() - started);
      ended(row);
    };
    crew.start({
      next: () => (front < back - (mine ? 0 : 1) ? front++ : null),
      message: (index) => [{ index }, []],
      take: (index, { row }) => {
        ranking.take(row);
        ended(row);
      },
      redo: here,
    });
    mine = true;
    while (front < back) {
      here(--back);
      await pause();
    }
    await crew.settle();
    return JSON.parse(ranking.finish());
  } finally {
    ranking.delete();
  }
}

// 'start' instantiates the core ahead of the jobs. A job that cannot run (a core that does not
// instantiate, a worker of another build) or fails answers with the reason (`fault`), which the
// page shows under the job's caption.
self.onmessage = async (event) => {
  const job = event.data;
  if (job.kind === 'start') {
    core ??= coreOf(job.module);
    core.catch(() => {}); // said by the job
    return;
  }
  let result;
  try {
    if (job.build !== BUILD) throw new Error(tNoop('обработчик из другой версии страницы, перезагрузите её'));
    core ??= coreOf(job.module);
    const module = await core;
    module.setLanguage(job.lang ?? 'ru'); // of the texts the job answers with
    result = await (job.kind === 'rank' ? rank : search)(module, job, event.ports);
  } catch (error) {
    result = { fault: String(error?.message ?? error) };
  }
  self.postMessage({ result });
};
