// A helper of a job's worker: scores the search's chromosomes, or ranks the planets, it is
// sent, as the worker's own core would. The page hands a helper to one job at a time, with a
// port to that job's worker, and ends the job ('end') before handing it on.
import { BUILD, coreOf } from './core_module.js';

let core = null;
let current = null; // { port, helper } of the job

function retire() {
  if (!current) return;
  current.port.onmessage = null;
  current.port.close();
  current.helper?.delete();
  current = null;
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
  const mine = { port: event.ports[0], helper: null };
  current = mine;
  // A piece that fails here (the core's start, a worker of another build, a fault in scoring)
  // is answered as failed, and the job's worker does that part itself.
  mine.port.onmessage = async (e) => {
    try {
      if (job.build !== BUILD) throw new Error('another build');
      const module = await core;
      if (current !== mine) return;
      if (job.kind === 'rank') {
        mine.helper ??= new module.RankJob(job.cal, job.list, job.settings, job.search);
        const row = mine.helper.row(e.data.index);
        mine.port.postMessage({ id: e.data.id, row }, [row.buffer]);
      } else {
        mine.helper ??= new module.SearchHelper(job.cal, job.seed);
        const scores = mine.helper.score(e.data.bytes);
        mine.port.postMessage({ id: e.data.id, scores }, [scores.buffer]);
      }
    } catch (error) {
      mine.port.postMessage({ id: e.data.id, failed: String(error) });
    }
  };
};
