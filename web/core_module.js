// The core's WebAssembly, compiled once by the page and handed to its workers (a compiled
// module passes by postMessage), so that a worker only instantiates it.
import QuendalCore from './quendal_web.js';

// The site's build, stamped by scripts/build-site.sh: a worker of another build (a new site
// fetched while this page ran) refuses the page's jobs rather than mix two builds.
export const BUILD = '@SITE_VERSION@';

// The address of one of the page's workers, of this build (the service worker serves it from
// this build's files).
export function workerUrl(name) {
  return new URL(`./${name}?build=${BUILD}`, import.meta.url);
}

const WASM = new URL('quendal_web.wasm', import.meta.url);

async function compile() {
  try {
    return await WebAssembly.compileStreaming(fetch(WASM));
  } catch {
    // A host that serves the file with another type: compiled from its bytes.
    return WebAssembly.compile(await (await fetch(WASM)).arrayBuffer());
  }
}

// A core made from `module`, or loaded as the core loads itself without one. The promise fails
// when the instantiation does (no memory, a module of another build), so that a job can say so.
export function coreOf(module) {
  if (!module) return QuendalCore();
  return new Promise((resolve, reject) => {
    QuendalCore({
      instantiateWasm(imports, receive) {
        WebAssembly.instantiate(module, imports)
          .then((instance) => receive(instance, module))
          .catch(reject);
        return {};
      },
      onAbort: (what) => reject(new Error(String(what))),
    }).then(resolve, reject);
  });
}

// The page's core and its compiled module (null when compiling it apart failed).
export async function loadCore() {
  const module = await compile().catch(() => null);
  return { core: await coreOf(module), module };
}
