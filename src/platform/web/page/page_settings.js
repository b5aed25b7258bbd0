// The page's half of the player's settings (web_settings.cpp): kept in the browser's storage
// for this page, the query's flags, the canvas's chosen scale, fullscreen as it was left, and
// the game controller's rumble. Runs before the compiled game (--pre-js), after page_canvas.js.
var quillornSettings = {
  key: 'quillorn.settings',
  scale: 0,  // the canvas's whole-number scale the player chose; 0: the largest that fits
  lastError: '',
  persistAsked: false,

  // 0: the stored text, 1: the query, 2: why the storage failed. null: none.
  text: function (which) {
    if (which === 1) return location.search;
    if (which === 2) return quillornSettings.lastError;
    try {
      return window.localStorage.getItem(quillornSettings.key);
    } catch (e) {  // storage switched off, or a sandboxed frame
      quillornSettings.lastError = 'the browser keeps no storage for this page (' + e.name + ')';
      return null;
    }
  },

  store: function (text) {
    try {
      window.localStorage.setItem(quillornSettings.key, text);
    } catch (e) {  // storage switched off or full
      quillornSettings.lastError = 'the browser keeps no storage for this page (' + e.name + ')';
      return 0;
    }
    // Asked once something is worth keeping: a browser may clear a page's storage otherwise.
    if (!quillornSettings.persistAsked && navigator.storage && navigator.storage.persist) {
      quillornSettings.persistAsked = true;
      navigator.storage.persist().catch(function () {});
    }
    return 1;
  },

  resizeCanvas: function (width, height) {
    var c = quillornCanvas.canvas;
    if (!c) return;
    c.width = width;
    c.height = height;
    quillornCanvas.fit();
  },

  setScale: function (k) {
    quillornSettings.scale = k;
    quillornCanvas.fit();
  },

  fullscreen: function () {
    return document.fullscreenElement ? 1 : 0;
  },

  // Browsers allow fullscreen only on a key or a click: a page that was left in fullscreen
  // takes it again at the first one.
  fullscreenAtFirstGesture: function () {
    var go = function (e) {
      if (e.type === 'keydown' && e.code === 'Escape') return;
      window.removeEventListener('keydown', go, true);
      window.removeEventListener('mousedown', go, true);
      window.removeEventListener('touchend', go, true);
      if (!document.fullscreenElement) quillornCanvas.toggleFullscreen();
    };
    window.addEventListener('keydown', go, true);
    window.addEventListener('mousedown', go, true);
    window.addEventListener('touchend', go, true);
  },

  // Each proximity beep, felt: the controllers that can rumble, else a phone's vibration.
  rumble: function (strength, ms) {
    var felt = false;
    try {
      var pads = navigator.getGamepads ? navigator.getGamepads() : [];
      for (var i = 0; i < pads.length; ++i) {
        var a = pads[i] && pads[i].vibrationActuator;
        if (!a || !a.playEffect) continue;
        felt = true;
        a.playEffect('dual-rumble', {duration: ms, strongMagnitude: strength,
                                     weakMagnitude: strength}).catch(function () {});
      }
      if (!felt && navigator.vibrate) navigator.vibrate(ms);
    } catch (e) {}  // no rumble: nothing happens
  },
};

// Fullscreen left by the browser's own key follows into the settings.
document.addEventListener('fullscreenchange', function () {
  if (Module._quillorn_web_fullscreen) Module._quillorn_web_fullscreen(quillornSettings.fullscreen());
});
