// The helper workers that share the search's and the ranking's work with the page's worker:
// one fewer than the machine's cores (the page's worker takes one), at least one, at most
// seven. Started once, before the first job, so that their start is not part of it; each
// instantiates the core the page compiled.
import { ctx } from './context.js';

const helpers = [];

export function startHelpers() {
  if (helpers.length > 0) return;
  const count = Math.min(7, Math.max(1, (navigator.hardwareConcurrency || 2) - 1));
  for (let i = 0; i < count; ++i) {
    const helper = new Worker(new URL('./helper.js', import.meta.url), { type: 'module' });
    helper.postMessage({ kind: 'start', module: ctx.module });
    helpers.push(helper);
  }
}

// A job for the helpers: each gets it with a port of its own; the other ends of the ports, for
// the page's worker, are returned.
export function helperPorts(job) {
  startHelpers();
  return helpers.map((helper) => {
    const channel = new MessageChannel();
    helper.postMessage(job, [channel.port2]);
    return channel.port1;
  });
}

// An interrupted job whose helpers may hold long work (a planet's search): they end at once
// and new ones start.
export function restartHelpers() {
  for (const helper of helpers) helper.terminate();
  helpers.length = 0;
  startHelpers();
}
