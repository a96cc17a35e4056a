// The core's WebAssembly, compiled once by the page and handed to its workers (a compiled
// module passes by postMessage), so that a worker only instantiates it.
import QuendalCore from './quendal_web.js';

const WASM = new URL('quendal_web.wasm', import.meta.url);

async function compile() {
  try {
    return await WebAssembly.compileStreaming(fetch(WASM));
  } catch {
    // A host that serves the file with another type: compiled from its bytes.
    return WebAssembly.compile(await (await fetch(WASM)).arrayBuffer());
  }
}

// A core made from `module`, or loaded as the core loads itself without one.
export function coreOf(module) {
  if (!module) return QuendalCore();
  return QuendalCore({
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module));
      return {};
    },
  });
}

// The page's core and its compiled module (null when compiling it apart failed).
export async function loadCore() {
  const module = await compile().catch(() => null);
  return { core: await coreOf(module), module };
}
