// The service worker: the page's files, kept under a name that changes with every build, so
// that after one visit the page plays offline and a new build replaces them at the next.
// Requests go to the network first, so an online visit always gets the build that is served;
// without a network they are answered from this build's files. The build writes the two
// lines below.
const kCache = '@QUILLORN_CACHE@';
const kFiles = [@QUILLORN_FILES@];

self.addEventListener('install', (e) => {
  e.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles)).then(() => self.skipWaiting()));
});

// Other builds' files go.
self.addEventListener('activate', (e) => {
  e.waitUntil(caches.keys()
      .then((names) => Promise.all(names.filter((n) => n.startsWith('quillorn-') && n !== kCache)
          .map((n) => caches.delete(n))))
      .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (e) => {
  if (e.request.method !== 'GET') return;
  e.respondWith(fetch(e.request, {cache: 'no-cache'}).catch(async () => {
    const cache = await caches.open(kCache);
    // The folder itself and any query (?clock=, ?scale=) are the page.
    const page = e.request.mode === 'navigate' ? 'index.html' : e.request;
    const kept = await cache.match(page, {ignoreSearch: true});
    return kept || Response.error();
  }));
});
