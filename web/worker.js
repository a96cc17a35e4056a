// A job's worker: the core's search of the search tab, or the ranking of a planet list, away
// from the page's thread, so that the page answers clicks while it runs. An interrupt ends the
// worker itself. The job shares its work with the helper workers whose ports come with it; a
// helper that fails or goes silent is given up and its part done here.
import { BUILD, coreOf } from './core_module.js';
import { tNoop } from './i18n.js';

// Individuals in one piece of a generation, at most: what a helper scores at a time, and this
// worker between two reports of the individual it simulated last (its bytes: the page
// simulates it again if the search is interrupted).
const PIECE = 8;
// A search's helper holds its share of what is left of a generation by the pace of every
// worker so far, at most HOLD_MS of its work, so that an interrupted search leaves it little
// to finish; this worker hands out more every YIELD_MS of its own work. Every message between
// workers may wait for a core: the fewer, the better.
const HOLD_MS = 40;
const YIELD_MS = 8;

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

// The helpers of one job. `work`: what they do, `next(h)` the next item for helper h (null when
// there is none or it holds enough), `message(item)` its message and transfer list,
// `take(item, answer)` a helper's answer, `redo(item)` the item done here instead. A helper
// that fails, or owes an answer too long while this worker waits, gets no more; its items are
// done here and the page is told, so that it ends that helper.
class Crew {
  constructor(ports, depth) {
    // out: the items a helper owes; taken: the ids of those taken back, whose answers may come.
    this.helpers = ports.map((port, k) => ({ port, k, out: new Map(), taken: new Set(), since: 0,
      lost: false }));
    this.depth = depth;
    this.slowest = 0;
    this.ids = 0;
    this.wake = null;
    for (const h of this.helpers) h.port.onmessage = (e) => this.answer(h, e.data);
  }

  // The helpers not given up.
  working() {
    return this.helpers.filter((h) => !h.lost);
  }

  // Every helper given as much as it holds.
  start(work) {
    this.work = work;
    this.refill();
  }

  refill() {
    this.helpers.forEach((h) => this.fill(h));
  }

  fill(h) {
    while (!h.lost && h.out.size < this.depth) {
      const item = this.work.next(h);
      if (item === null) return;
      const id = this.ids++;
      if (h.out.size === 0 && h.taken.size === 0) h.since = performance.now();
      h.out.set(id, item);
      const [message, transfer] = this.work.message(item);
      h.port.postMessage({ id, ...message }, transfer);
    }
  }

  answer(h, data) {
    const item = h.out.get(data.id);
    const now = performance.now();
    if (item === undefined) {
      // Given up meanwhile, or taken back (done or let go): the helper goes on to the next.
      if (h.taken.delete(data.id)) h.since = now;
      return;
    }
    h.out.delete(data.id);
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

  // Waits for the items the helpers hold, doing those of a silent helper here. With `steal`
  // this worker does not wait: it takes back the item handed out last (the one least likely
  // begun) and does it here, until no helper owes one; the helper's answer to it, which may
  // come still, is let go.
  async settle(steal = false) {
    for (;;) {
      if (steal) await pause();
      const owing = this.helpers.filter((h) => h.out.size > 0);
      if (owing.length === 0) return;
      const bound = Math.max(SILENT_MS, SILENT_FACTOR * this.slowest);
      const now = performance.now();
      const silent = owing.find((h) => now - h.since > bound);
      if (silent) {
        this.giveUp(silent);
        continue;
      }
      if (steal) {
        const [h, id] = owing.map((o) => [o, Math.max(...o.out.keys())])
          .reduce((a, b) => (b[1] > a[1] ? b : a));
        const item = h.out.get(id);
        h.out.delete(id);
        h.taken.add(id);
        h.port.postMessage({ cancel: id }); // answered at once if not begun
        this.work.redo(item);
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

// Each generation's pending individuals but the last are scored in pieces: the helpers take
// theirs from the front, this worker from the back, until they meet; then this worker takes
// back what the helpers still owe (and scores here a piece a helper failed), and scores the
// last individual itself, last, so that the individual simulated last is the one one-by-one
// scoring would leave.
async function search(module, job, ports) {
  const driver = new module.SearchDriver(job.cal, job.seed);
  try {
    if (driver.error()) return { error: driver.error() };
    const crew = new Crew(ports, Infinity);
    // The pace of this worker and of the helpers so far: milliseconds and individuals.
    const here = { ms: 0, count: 0 };
    const there = { ms: 0, count: 0 };
    const perIndividual = (pace) => (pace.count > 0 && pace.ms > 0 ? pace.ms / pace.count : 1);
    while (driver.generationsDone() < driver.generations()) {
      const n = driver.begin();
      let front = 0;
      let back = Math.max(0, n - 1);
      const held = (h) => [...h.out.values()].reduce((sum, item) => sum + item.count, 0);
      crew.start({
        next: (h) => {
          if (front >= back) return null;
          // The helper's share of what no worker has done or begun, by the paces.
          const helpers = crew.working();
          const left = back - front + helpers.reduce((sum, o) => sum + held(o), 0);
          const mine = 1 / perIndividual(there);
          const share = (left * mine) / (mine * helpers.length + 1 / perIndividual(here));
          const want = Math.min(share, HOLD_MS / perIndividual(there)) - held(h);
          if (want < 1 && held(h) > 0) return null;
          const count = Math.min(back - front, PIECE, Math.max(1, Math.ceil(want / 2)));
          const first = front;
          front += count;
          return { first, count };
        },
        message: ({ first, count }) => {
          const bytes = driver.pendingBytes(first, count);
          return [{ bytes }, [bytes.buffer]];
        },
        take: ({ first }, { scores, ms }) => {
          driver.takeScores(first, scores);
          there.ms += ms;
          there.count += scores.length;
        },
        redo: ({ first, count }) => driver.evaluate(first, count),
      });
      let yielded = performance.now();
      while (front < back) {
        const count = Math.min(PIECE, back - front);
        back -= count;
        const started = performance.now();
        driver.evaluate(back, count);
        const now = performance.now();
        crew.timed(now - started);
        here.ms += now - started;
        here.count += count;
        self.postMessage({ last: driver.pendingBytes(back + count - 1, 1) });
        if (now - yielded >= YIELD_MS && front < back) {
          await pause();
          crew.refill();
          yielded = performance.now();
        }
      }
      await crew.settle(true);
      let last = null;
      if (n > 0) {
        driver.evaluate(n - 1, 1);
        last = driver.pendingBytes(n - 1, 1);
      }
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
