// The helper workers that share a search's or a ranking's work with that job's worker: one
// fewer than the machine's cores (the job's worker takes one), at least one, at most seven,
// for each job. A search and a ranking run side by side, each with helpers of its own. Spare
// helpers wait started, so that a job finds them ready; each instantiates the core the page
// compiled.
import { ctx } from './context.js';
import { workerUrl } from './core_module.js';

const spare = [];

function perJob() {
  return Math.min(7, Math.max(1, (navigator.hardwareConcurrency || 2) - 1));
}

function spawn() {
  const helper = new Worker(workerUrl('helper.js'), { type: 'module' });
  helper.postMessage({ kind: 'start', module: ctx.module });
  return helper;
}

// Helpers for the next job, started ahead of it.
export function startHelpers() {
  while (spare.length < perJob()) spare.push(spawn());
}

// A job's helpers: each gets `job` with a port of its own. `ports`: the other ends, for the
// job's worker, in the helpers' order; `release(lost, all)` when the job is over: the helpers
// numbered in `lost` (failed or silent), or all of them with `all` (an interrupted job they
// may still work on), end; the others wait for the next job.
export function hireHelpers(job) {
  const count = perJob();
  while (spare.length < count) spare.push(spawn());
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
