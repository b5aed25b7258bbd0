// The page's half of the web backend: the canvas and its whole-number scale, fullscreen, the
// "closed" screen, and the sound output. Runs before the compiled game (--pre-js).
var quillornPage = {
  canvas: null,
  context: null,
  firstPaint: 0,  // performance.now() of the first and the last picture put on the canvas
  lastPaint: 0,

  createCanvas: function (width, height) {
    var c = document.getElementById('canvas');
    c.width = width;
    c.height = height;
    quillornPage.canvas = c;
    quillornPage.context = c.getContext('2d');
    quillornPage.fit();
    window.addEventListener('resize', quillornPage.fit);
    document.addEventListener('fullscreenchange', quillornPage.fit);
  },

  // The largest whole number at which the canvas fits its box; pixels stay square.
  fit: function () {
    var c = quillornPage.canvas;
    if (!c) return;
    var box = document.getElementById('screen');
    var full = document.fullscreenElement === box;
    var w = full ? window.innerWidth : box.clientWidth;
    var h = full ? window.innerHeight : Math.max(window.innerHeight - box.offsetTop - 8, c.height);
    var k = Math.max(1, Math.floor(Math.min(w / c.width, h / c.height)));
    c.style.width = c.width * k + 'px';
    c.style.height = c.height * k + 'px';
  },

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

  canvasScale: function () {
    var c = quillornPage.canvas;
    return c && c.clientWidth ? c.clientWidth / c.width : 1;
  },

  putPixels: function (bytes, width, height, x, y) {
    var image = new ImageData(new Uint8ClampedArray(bytes), width, height);
    quillornPage.context.putImageData(image, x, y);
    quillornPage.lastPaint = performance.now();
    if (!quillornPage.firstPaint) quillornPage.firstPaint = quillornPage.lastPaint;
  },

  toggleFullscreen: function () {
    var box = document.getElementById('screen');
    if (document.fullscreenElement) document.exitFullscreen();
    else if (box.requestFullscreen) box.requestFullscreen().catch(function () {});
  },

  closed: function () {
    document.getElementById('screen').hidden = true;
    document.getElementById('closed').hidden = false;
  },
};

// Sound: an AudioWorklet plays blocks that the game's mixer renders on request. The worklet
// asks for a block each time it has played one, and keeps kAhead frames queued.
var quillornAudio = {
  context: null,
  node: null,
  block: 256,
  // Frames kept queued: about 45 ms, since the page's one thread may be busy that long (a
  // tick, the browser's own work) and a queue run dry is a click in the sound. The silence
  // played when it runs dry all the same is asked for too, so the queue grows by as much.
  ahead: 2048,
  underruns: 0,  // times the queue ran dry, for the test's figures
  tap: null,  // while a test listens: the blocks played, each with its context time
  keyTime: 0,

  start: function () {
    var AC = window.AudioContext || window.webkitAudioContext;
    if (!AC) return 0;
    var a = quillornAudio;
    a.context = new AC({latencyHint: 'interactive'});
    var code = '(' + quillornAudio.processor.toString() + ')(' + a.block + ');';
    var url = URL.createObjectURL(new Blob([code], {type: 'application/javascript'}));
    a.context.audioWorklet.addModule(url).then(function () {
      a.node = new AudioWorkletNode(a.context, 'quillorn-mixer', {
        numberOfInputs: 0, numberOfOutputs: 1, outputChannelCount: [2]});
      a.node.port.onmessage = function (e) { a.feed(e.data); };
      a.node.connect(a.context.destination);
      a.feed({frames: a.ahead});
    });
    // Browsers let sound start only from the player's gesture.
    var resume = function () {
      if (!a.context) return;
      a.keyTime = a.context.currentTime;  // for the key-to-sound figure
      if (a.context.state !== 'running') a.context.resume();
    };
    window.addEventListener('keydown', resume, true);
    window.addEventListener('mousedown', resume, true);
    window.addEventListener('touchstart', resume, true);
    return a.context.sampleRate;
  },

  stop: function () {
    if (quillornAudio.context) quillornAudio.context.close();
    quillornAudio.context = null;
  },

  // The worklet played a block (or a test tap reports): mix the frames it asks for.
  feed: function (message) {
    var a = quillornAudio;
    if (message.tap) {
      if (a.tap) a.tap.push(message.tap);
      return;
    }
    if (!a.node) return;
    if (message.dry) {
      ++a.underruns;
      return;
    }
    var frames = message.frames;
    var ptr = Module._quillorn_web_mix(frames);
    var samples = HEAP16.subarray(ptr >> 1, (ptr >> 1) + frames * 2);
    var out = new Float32Array(frames * 2);
    for (var i = 0; i < out.length; ++i) out[i] = samples[i] / 32768;
    a.node.port.postMessage(out, [out.buffer]);
  },

  // Test tap: the worklet sends what it plays from now on, with the time it played it.
  listen: function (on) {
    quillornAudio.tap = on ? [] : null;
    if (quillornAudio.node) quillornAudio.node.port.postMessage({tap: on});
  },

  // The worklet's code, sent as text: a queue of interleaved blocks played 128 frames at a
  // time; silence when the queue runs dry, which it reports once each time.
  processor: function (block) {
    registerProcessor('quillorn-mixer', class extends AudioWorkletProcessor {
      constructor() {
        super();
        this.queue = [];
        this.offset = 0;
        this.played = 0;
        this.tap = false;
        this.dry = true;  // until the first block comes: nothing has run dry yet
        this.port.onmessage = (e) => {
          if (e.data.tap !== undefined) this.tap = e.data.tap;
          else this.queue.push(e.data);
        };
      }
      process(inputs, outputs) {
        const left = outputs[0][0], right = outputs[0][1];
        let i = 0;
        while (i < left.length && this.queue.length) {
          const b = this.queue[0];
          for (; i < left.length && this.offset < b.length; ++i) {
            left[i] = b[this.offset++];
            right[i] = b[this.offset++];
          }
          if (this.offset >= b.length) {
            this.queue.shift();
            this.offset = 0;
          }
        }
        const dry = i < left.length;
        if (dry && !this.dry) this.port.postMessage({dry: true});
        this.dry = dry;
        if (this.tap) this.port.postMessage({tap: {time: currentTime, left: left.slice()}});
        this.played += left.length;
        if (this.played >= block) {
          this.port.postMessage({frames: this.played});
          this.played = 0;
        }
        return true;
      }
    });
  },
};
