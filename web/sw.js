// The service worker: keeps the page's files, so that after the first visit the page opens
// and calculates with no network. Each build of the site (its id a hash of the files, stamped
// by scripts/build-site.sh) keeps its files in a cache of its own, fetched past the browser's
// HTTP cache so that none is an earlier build's. A page opened takes the newest build, and
// every file it and its workers ask for later comes from that same build: a build installed
// while the page is open reaches it when it is opened again.
const BUILD = '@SITE_VERSION@';
const PREFIX = 'quendal-';
const CLIENTS = 'quendal-clients'; // the build of each open page and worker, by client id
// A mark younger than this stays even when its client is not listed yet (a page being opened).
const YOUNG_MS = 60000;
const FILES = ['./', 'index.html', 'style.css', 'app.js', 'context.js', 'fields.js', 'chart.js',
  'params.js', 'search.js', 'rank.js', 'link.js', 'worker.js', 'helper.js', 'pool.js',
  'core_module.js', 'quendal_web.js', 'quendal_web.wasm', 'lib/uPlot.esm.js', 'lib/uPlot.min.css',
  'manifest.webmanifest', 'icons/quendal.svg', 'icons/quendal-128.png', 'icons/quendal-192.png',
  'icons/quendal-512.png', 'i18n.js', '@CATALOGUES@']; // the catalogues: scripts/build-site.sh

const builds = new Map(); // the builds CLIENTS holds, as far as this worker read or wrote them

function clientKey(id) {
  return new URL(`clients/${encodeURIComponent(id)}`, self.registration.scope).href;
}

async function remember(id, build) {
  if (!id) return;
  builds.set(id, build);
  await (await caches.open(CLIENTS)).put(clientKey(id), new Response(build, {
    headers: { date: new Date().toUTCString() } }));
}

async function recall(id) {
  if (!builds.has(id)) {
    const hit = await caches.match(clientKey(id), { cacheName: CLIENTS });
    if (!hit) return null;
    builds.set(id, await hit.text());
  }
  return builds.get(id);
}

// The build a request is served from: the newest for a page opened; for a worker's script,
// the build its address names (the page's); else the build of the page or worker asking.
async function buildOf(event) {
  const { request } = event;
  if (request.mode === 'navigate') {
    await remember(event.resultingClientId, BUILD);
    return BUILD;
  }
  const named = new URL(request.url).searchParams.get('build');
  if (named) {
    await remember(event.resultingClientId, named);
    return named;
  }
  const client = event.clientId ? await self.clients.get(event.clientId) : null;
  const ofClient = client && new URL(client.url).searchParams.get('build');
  return ofClient || (event.clientId && await recall(event.clientId)) || BUILD;
}

async function answer(event) {
  const build = await buildOf(event);
  const hit = await caches.match(event.request, { cacheName: PREFIX + build, ignoreSearch: true });
  return hit || fetch(event.request);
}

// The caches of builds no open page or worker uses any more, and the marks of closed ones.
async function prune() {
  const open = await self.clients.matchAll({ includeUncontrolled: true, type: 'all' });
  const alive = new Set(open.map((client) => client.id));
  const used = new Set([BUILD]);
  const marks = await caches.open(CLIENTS);
  for (const key of await marks.keys()) {
    const id = decodeURIComponent(key.url.slice(key.url.lastIndexOf('/') + 1));
    const mark = await marks.match(key);
    const young = Date.now() - Date.parse(mark?.headers.get('date')) < YOUNG_MS;
    if (mark && (alive.has(id) || young)) {
      used.add(await mark.text());
    } else {
      builds.delete(id);
      await marks.delete(key);
    }
  }
  for (const name of await caches.keys()) {
    if (name !== CLIENTS && name.startsWith(PREFIX) && !used.has(name.slice(PREFIX.length)))
      await caches.delete(name);
  }
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(PREFIX + BUILD)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim().then(prune));
});

// The address's query and fragment do not name another file.
self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(answer(event));
  if (request.mode === 'navigate') event.waitUntil(prune());
});
