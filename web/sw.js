// The service worker: keeps the page's files, so that after the first visit the page opens
// and calculates with no network. The build names the cache after the files' contents.
const CACHE = 'quendal-@SITE_VERSION@';
const FILES = ['./', 'index.html', 'style.css', 'app.js', 'context.js', 'fields.js', 'chart.js',
  'params.js', 'search.js', 'rank.js', 'link.js', 'worker.js', 'helper.js', 'pool.js',
  'core_module.js', 'quendal_web.js', 'quendal_web.wasm', 'lib/uPlot.esm.js', 'lib/uPlot.min.css',
  'manifest.webmanifest', 'icons/quendal.svg', 'icons/quendal-128.png', 'icons/quendal-192.png',
  'icons/quendal-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key !== CACHE).map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

// The cache first (the files change only with a new build, which renames the cache); the
// address's query and fragment do not name another file.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE).then((cache) =>
    cache.match(event.request, { ignoreSearch: true }).then((hit) => hit || fetch(event.request))));
});
