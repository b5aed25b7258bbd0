// The touch controls: a direction pad and three buttons beside the picture, shown on touch
// screens and hidden while a game controller is in use. The backend plays them as one more
// controller (quillorn_web_control): 0 to 3 the pad's up, right, down and left, 4 決定 (Enter),
// 5 全員を見る (E), 6 メニュー (F10). Holding a control holds its key.
var quillornTouch = {
  direction: -1,  // the pad's direction held, -1 for none
  padPointer: null,

  send: function (control, down) {
    if (quillornPage.running) Module._quillorn_web_control(control, down ? 1 : 0);
  },

  // The direction by the angle from the pad's centre, in quarters of the circle; none near
  // the centre, so that a resting thumb holds nothing.
  directionAt: function (pad, x, y) {
    var r = pad.getBoundingClientRect();
    var dx = x - (r.left + r.width / 2), dy = y - (r.top + r.height / 2);
    if (Math.hypot(dx, dy) < r.width * 0.12) return -1;
    if (Math.abs(dx) >= Math.abs(dy)) return dx > 0 ? 1 : 3;
    return dy > 0 ? 2 : 0;
  },

  // A thumb may slide from one direction to the next without lifting.
  hold: function (direction) {
    var t = quillornTouch;
    if (direction === t.direction) return;
    if (t.direction >= 0) t.send(t.direction, false);
    t.direction = direction;
    if (direction >= 0) t.send(direction, true);
    document.getElementById('pad').dataset.held = direction;
  },

  startPad: function (pad) {
    var t = quillornTouch;
    pad.addEventListener('pointerdown', function (e) {
      e.preventDefault();
      pad.setPointerCapture(e.pointerId);
      t.padPointer = e.pointerId;
      t.hold(t.directionAt(pad, e.clientX, e.clientY));
    });
    pad.addEventListener('pointermove', function (e) {
      if (e.pointerId === t.padPointer) t.hold(t.directionAt(pad, e.clientX, e.clientY));
    });
    var end = function (e) {
      if (e.pointerId !== t.padPointer) return;
      t.padPointer = null;
      t.hold(-1);
    };
    ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function (type) {
      pad.addEventListener(type, end);
    });
  },

  startButton: function (button, control) {
    var t = quillornTouch, pointer = null;
    button.addEventListener('pointerdown', function (e) {
      e.preventDefault();  // no focus and no mouse events after the touch
      button.setPointerCapture(e.pointerId);
      if (pointer === null) t.send(control, true);
      pointer = e.pointerId;
      button.classList.add('held');
    });
    var end = function (e) {
      if (e.pointerId !== pointer) return;
      pointer = null;
      button.classList.remove('held');
      t.send(control, false);
    };
    ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function (type) {
      button.addEventListener(type, end);
    });
    // A screen reader's or a keyboard's activation is a click with no pointer before it.
    button.addEventListener('click', function (e) {
      if (e.detail !== 0) return;
      t.send(control, true);
      t.send(control, false);
    });
  },

  start: function () {
    var t = quillornTouch, root = document.documentElement;
    var coarse = window.matchMedia && window.matchMedia('(pointer: coarse)').matches;
    if (coarse || navigator.maxTouchPoints > 0) root.classList.add('touch');
    t.startPad(document.getElementById('pad'));
    document.querySelectorAll('#buttons button').forEach(function (b) {
      t.startButton(b, Number(b.dataset.control));
    });
    // A game controller in use hides the controls; a touch brings them back.
    var refit = function () { if (window.quillornCanvas) quillornCanvas.fit(); };
    window.addEventListener('gamepadconnected', function () {
      root.classList.add('gamepad');
      refit();
    });
    window.addEventListener('gamepaddisconnected', function () {
      if (!Array.prototype.some.call(navigator.getGamepads(), Boolean)) {
        root.classList.remove('gamepad');
        refit();
      }
    });
    window.addEventListener('pointerdown', function (e) {
      if (e.pointerType !== 'touch' || !root.classList.contains('gamepad')) return;
      root.classList.remove('gamepad');
      refit();
    }, true);
    document.addEventListener('contextmenu', function (e) {
      if (e.target.closest && e.target.closest('#pad, #buttons')) e.preventDefault();
    });
  },
};

quillornTouch.start();
