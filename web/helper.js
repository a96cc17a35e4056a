// A helper of a job's worker: scores the search's chromosomes, or ranks the planets, it is
// sent, as the worker's own core would. The page hands a helper to one job at a time, with a
// port to that job's worker, and ends the job ('end') before handing it on.
import { BUILD, coreOf } from './core_module.js';

let core = null;
let current = null; // { port, helper } of the job: helper, the core's side, made on its arrival

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
  const mine = { port: event.ports[0], helper: helperOf(job) };
  mine.helper.catch(() => {});
  current = mine;
  // A piece that fails here (the core's start, a worker of another build, a fault in scoring)
  // is answered as failed, and the job's worker does that part itself.
  mine.port.onmessage = async (e) => {
    try {
      const helper = await mine.helper;
      if (current !== mine) return;
      if (job.kind === 'rank') {
        const row = helper.row(e.data.index);
        mine.port.postMessage({ id: e.data.id, row }, [row.buffer]);
      } else {
        const started = performance.now();
        const scores = helper.score(e.data.bytes);
        const ms = performance.now() - started; // the search worker's measure of this helper's pace
        mine.port.postMessage({ id: e.data.id, scores, ms }, [scores.buffer]);
      }
    } catch (error) {
      mine.port.postMessage({ id: e.data.id, failed: String(error) });
    }
  };
};
