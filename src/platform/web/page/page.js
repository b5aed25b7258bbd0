// The page's half of the web backend, split by topic: this file holds the clock, the line of
// notices and the "closed" screen; page_canvas.js the canvas and its scale, page_sound.js the
// sound, page_touch.js the touch controls, page_offline.js the service worker. All run before
// the compiled game (--pre-js), once the page's elements exist.
var quillornPage = {
  running: false,  // the game's message loop runs and takes input

  // The clock behind GetTickCount: wall-clock milliseconds, so that each visit seeds its
  // random numbers differently; ?clock=N makes it read N at its first reading (tests).
  clock: function () {
    var t = performance.now();
    if (quillornPage.clockOffset === undefined) {
      var m = /[?&]clock=(\d+)/.exec(location.search);
      quillornPage.clockOffset = m ? Number(m[1]) - t : performance.timeOrigin;
    }
    return quillornPage.clockOffset + t;
  },

  // One line above the game on what the page lacks here; later lines add to it.
  say: function (line) {
    var notice = document.getElementById('notice');
    notice.textContent = notice.textContent ? notice.textContent + ' ' + line : line;
    notice.hidden = false;
    console.warn(line);
  },

  closed: function () {
    quillornPage.running = false;
    document.getElementById('play').hidden = true;
    document.getElementById('closed').hidden = false;
  },
};
