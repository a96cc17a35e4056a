// A helper of the page's worker: scores the search's chromosomes, or ranks the planets, it is
// sent, as the worker's own core would. The page starts the helpers once and hands each job a
// port to every helper; a new job's port replaces the last one, whose job is over.
import { coreOf } from './core_module.js';

let core = null;
let current = null; // { port, helper } of the latest job

function retire(mine) {
  mine.port.onmessage = null;
  mine.port.close();
  if (mine.helper) mine.helper.delete();
}

self.onmessage = (event) => {
  const job = event.data;
  if (job.kind === 'start') {
    core = coreOf(job.module);
    return;
  }
  if (current) retire(current);
  const mine = { port: event.ports[0], helper: null };
  current = mine;
  // A job that fails here (the core's start, or a fault in scoring) is answered as failed, and
  // the page's worker does that part itself.
  mine.port.onmessage = async (e) => {
    try {
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
