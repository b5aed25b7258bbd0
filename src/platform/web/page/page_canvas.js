// The canvas: the frame the backend composes, drawn at a whole number of device pixels per
// game pixel (its CSS size is k x its size / devicePixelRatio, k as large as fits), and
// fullscreen. The frame's size comes from the backend and may change.
var quillornCanvas = {
  canvas: null,
  context: null,

  create: function (width, height) {
    var c = document.getElementById('canvas');
    c.width = width;
    c.height = height;
    quillornCanvas.canvas = c;
    quillornCanvas.context = c.getContext('2d');
    quillornCanvas.fit();
  },

  // The box the canvas may fill, in CSS pixels. On a touch screen and in fullscreen the layout
  // gives the box its size; on a desktop page the canvas may take the window's height below
  // the box's top (the page scrolls down to the text under it).
  room: function () {
    var box = document.getElementById('screen');
    if (document.fullscreenElement || document.documentElement.classList.contains('touch'))
      return [box.clientWidth, box.clientHeight];
    var c = quillornCanvas.canvas, top = box.getBoundingClientRect().top + window.scrollY;
    var ratio = window.devicePixelRatio || 1;
    return [box.clientWidth, Math.max(window.innerHeight - top - 8, c.height / ratio)];
  },

  fit: function () {
    var c = quillornCanvas.canvas;
    if (!c) return;
    var room = quillornCanvas.room(), ratio = window.devicePixelRatio || 1;
    var k = Math.floor(Math.min(room[0] * ratio / c.width, room[1] * ratio / c.height));
    // A scale the player chose (Ctrl+1, 2, 3) is the most, in CSS pixels as on the desktop.
    var chosen = quillornSettings.scale;
    if (chosen > 0 && !document.fullscreenElement) k = Math.min(k, Math.max(1, Math.floor(chosen * ratio)));
    var width = c.width * k / ratio, height = c.height * k / ratio;
    if (k < 1) {
      // Smaller than one device pixel a game pixel: the picture still fits, though not
      // pixel-exact, rather than the page scrolling sideways.
      var s = Math.min(room[0] / c.width, room[1] / c.height);
      width = c.width * s;
      height = c.height * s;
    }
    c.style.width = width + 'px';
    c.style.height = height + 'px';
  },

  // A point of the page's window (client coordinates) as a point of the frame.
  toFrame: function (x, y) {
    var c = quillornCanvas.canvas, r = c.getBoundingClientRect();
    return [Math.floor((x - r.left) * c.width / r.width),
            Math.floor((y - r.top) * c.height / r.height)];
  },

  putPixels: function (bytes, width, height, x, y) {
    var image = new ImageData(new Uint8ClampedArray(bytes), width, height);
    quillornCanvas.context.putImageData(image, x, y);
  },

  // The game with its controls and its bar goes fullscreen.
  toggleFullscreen: function () {
    var play = document.getElementById('play');
    if (document.fullscreenElement) document.exitFullscreen();
    else if (play.requestFullscreen) play.requestFullscreen().catch(function () {});
  },
};

window.addEventListener('resize', quillornCanvas.fit);
document.addEventListener('fullscreenchange', quillornCanvas.fit);
document.getElementById('fullscreen').addEventListener('click', function () {
  quillornCanvas.toggleFullscreen();
  document.getElementById('canvas').focus();
});
