// Keeps the page's folder for use offline. Each request goes to the server first, so a new build
// is picked up at once; when the server cannot be reached the kept copy answers.
'use strict';

const KEPT = 'rational-hydrograph-page';
const FILES = ['index.html', 'style.css', 'page.js', 'chart.js', 'rational-hydrograph.js',
               'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(KEPT).then((cache) => cache.addAll(FILES)));
  self.skipWaiting();
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin)
    return;
  event.respondWith(fetch(request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      caches.open(KEPT).then((cache) => cache.put(request, copy));
    }
    return response;
  }, () => caches.match(request, {ignoreSearch: true})));
});
