// A helper of the search worker: scores the chromosomes it is sent, as the search's engine
// would. The page starts the helpers once and hands each search a port to every helper; a new
// search's port replaces the last one, whose search is over.
import { coreOf } from './core_module.js';

let core = null;
let current = null; // { port, helper } of the latest search

function retire(search) {
  search.port.onmessage = null;
  search.port.close();
  if (search.helper) search.helper.delete();
}

self.onmessage = (event) => {
  const job = event.data;
  if (job.kind === 'start') {
    core = coreOf(job.module);
    return;
  }
  if (current) retire(current);
  const search = { port: event.ports[0], helper: null };
  current = search;
  core.then((module) => {
    if (current !== search) return;
    search.helper = new module.SearchHelper(job.cal, job.seed);
    search.port.onmessage = (e) => {
      const scores = search.helper.score(e.data.bytes);
      search.port.postMessage({ id: e.data.id, scores }, [scores.buffer]);
    };
  });
};
