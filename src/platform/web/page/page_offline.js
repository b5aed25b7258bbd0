// Offline play: a service worker (sw.js) keeps the page's files, so that after one visit the
// page plays without the server. Browsers allow one only on a secure page (https or
// localhost); elsewhere the sound's line says that offline play is missing.
var quillornOffline = {
  start: function () {
    if (!window.isSecureContext || !navigator.serviceWorker) return;
    navigator.serviceWorker.register('sw.js').catch(function (e) {
      console.warn('offline play is off: ' + e.message);
    });
  },
};

quillornOffline.start();
