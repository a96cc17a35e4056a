// A helper of a job's worker: scores the search's chromosomes, or ranks the planets, it is
// sent, as the worker's own core would. The page hands a helper to one job at a time, with a
// port to that job's worker, and ends the job ('end') before handing it on.
import { BUILD, coreOf } from './core_module.js';

let core = null;
// The job: its port, its kind, its pieces waiting and the core's side (`helper`), made on
// the job's arrival.
let current = null;

function retire() {
  if (!current) return;
  current.port.onmessage = null;
  current.port.close();
  current.helper.then((h) => h.delete(), () => {});
  current = null;
}

async function helperOf(job) {
  if (job.build !== BUILD) throw new Error('another build');
  const module = await core;
  if (job.kind === 'rank') return new module.RankJob(job.cal, job.list, job.settings, job.search);
  return new module.SearchHelper(job.cal, job.seed);
}

// The pieces of the job one at a time, each after the messages that came meanwhile, so that
// a piece the job's worker took back ('cancel') is answered unbegun.
const tick = new MessageChannel();
let ticking = false;
function later() {
  if (ticking) return;
  ticking = true;
  tick.port2.postMessage(0);
}

// A piece that fails here (the core's start, a worker of another build, a fault in scoring)
// is answered as failed, and the job's worker does that part itself.
tick.port1.onmessage = async () => {
  ticking = false;
  const mine = current;
  const piece = mine?.queue.shift();
  if (!piece) return;
  try {
    const helper = await mine.helper;
    if (current !== mine) return;
    if (mine.kind === 'rank') {
      const row = helper.row(piece.index);
      mine.port.postMessage({ id: piece.id, row }, [row.buffer]);
    } else {
      const started = performance.now();
      const scores = helper.score(piece.bytes);
      const ms = performance.now() - started; // the search worker's measure of this helper's pace
      mine.port.postMessage({ id: piece.id, scores, ms }, [scores.buffer]);
    }
  } catch (error) {
    mine.port.postMessage({ id: piece.id, failed: String(error) });
  }
  if (current === mine && mine.queue.length > 0) later();
};

self.onmessage = (event) => {
  const job = event.data;
  if (job.kind === 'start') {
    core = coreOf(job.module);
    core.catch(() => {}); // each piece is answered as failed instead
    return;
  }
  retire();
  if (job.kind === 'end') return;
  // Made while the job's worker makes its own, so that the first piece finds it ready.
  const mine = { port: event.ports[0], kind: job.kind, helper: helperOf(job), queue: [] };
  mine.helper.catch(() => {});
  current = mine;
  mine.port.onmessage = (e) => {
    if (e.data.cancel === undefined) {
      mine.queue.push(e.data);
      later();
      return;
    }
    const at = mine.queue.findIndex((piece) => piece.id === e.data.cancel);
    if (at >= 0) {
      mine.queue.splice(at, 1);
      mine.port.postMessage({ id: e.data.cancel, cancelled: true });
    }
  };
};
