// The workers of the page's jobs. A job (a search, a ranking) has a worker of its own and
// helper workers that share its work: one fewer than the machine's cores (the job's worker
// takes one), at least one, at most seven, for each job. A search and a ranking run side by
// side, each with workers of its own. Spare workers wait started, their core instantiated
// from the module the page compiled, so that a job finds them ready; a job that ends as it
// should hands its workers back.
import { ctx } from './context.js';
import { workerUrl } from './core_module.js';

const spare = []; // helpers
let spareWorker = null; // a job's worker

function perJob() {
  return Math.min(7, Math.max(1, (navigator.hardwareConcurrency || 2) - 1));
}

function spawn(name) {
  const worker = new Worker(workerUrl(name), { type: 'module' });
  worker.postMessage({ kind: 'start', module: ctx.module });
  return worker;
}

// Workers for the next job, started ahead of it.
export function startHelpers() {
  while (spare.length < perJob()) spare.push(spawn('helper.js'));
  spareWorker ??= spawn('worker.js');
}

// A job's worker, spare or started now.
export function hireWorker() {
  const worker = spareWorker ?? spawn('worker.js');
  spareWorker = null;
  return worker;
}

// A job's worker after its job: waits for the next one when its job ended as it should
// (`keep`), ends otherwise (an interrupt, a failure).
export function releaseWorker(worker, keep) {
  worker.onmessage = null;
  worker.onerror = null;
  if (keep && !spareWorker) spareWorker = worker;
  else worker.terminate();
}

// A job's helpers: each gets `job` with a port of its own. `ports`: the other ends, for the
// job's worker, in the helpers' order; `release(lost, all)` when the job is over: the helpers
// numbered in `lost` (failed or silent), or all of them with `all` (an interrupted job they
// may still work on), end; the others wait for the next job.
export function hireHelpers(job) {
  const count = perJob();
  while (spare.length < count) spare.push(spawn('helper.js'));
  const crew = spare.splice(0, count);
  const ports = crew.map((helper) => {
    const channel = new MessageChannel();
    helper.postMessage(job, [channel.port2]);
    return channel.port1;
  });
  const release = (lost, all) => {
    crew.forEach((helper, k) => {
      if (all || lost.has(k) || spare.length >= count) {
        helper.terminate();
      } else {
        helper.postMessage({ kind: 'end' });
        spare.push(helper);
      }
    });
  };
  return { ports, release };
}
