// The sound. web_audio.cpp keeps a mixer on this thread that answers the game's calls and
// hands each call that changes it to call() below, which sends it to the mixer in the
// AudioWorklet (quillorn-sound.js running quillorn-sound.wasm, the same mixer's code): there
// the same calls make the same buffers, and the sound is mixed where it plays, so nothing on
// this thread can make it late. Where the page may not run a worklet (http on an address
// other than localhost) or the worklet fails, a ScriptProcessorNode plays the mixer of this
// thread; where even that fails, the game is silent. Browsers start a page's sound only on the
// player's gesture: pointerup, touchend, click or keydown; the 「音を出す」 button is one.
var quillornSound = {
  context: null,
  output: null,  // the node that plays into the destination
  node: null,  // the worklet's node
  mode: '',  // 'worklet', 'page' (the ScriptProcessorNode), or '' while the worklet starts
  waiting: [],  // calls made before the worklet runs, in order

  // Returns the output's rate, or 0 when the page can't sound at all.
  start: function () {
    var s = quillornSound, AC = window.AudioContext || window.webkitAudioContext;
    try {
      s.context = new AC({latencyHint: 'interactive'});
    } catch (e) {
      s.context = null;
      quillornSound.missing(false);
      return 0;
    }
    var gesture = function () {
      if (s.resting) return;  // muted: the context waits for the sound to come back
      if (s.context && s.context.state !== 'running' && s.context.state !== 'closed')
        s.context.resume().catch(function () {});
    };
    ['pointerup', 'touchend', 'click', 'keydown'].forEach(function (type) {
      window.addEventListener(type, gesture, true);
    });
    s.context.onstatechange = s.showButton;
    s.showButton();
    if (s.context.audioWorklet && window.isSecureContext) {
      s.startWorklet();
    } else if (!s.playHere()) {
      s.stop();
      return 0;
    }
    return s.context.sampleRate;
  },

  startWorklet: function () {
    var s = quillornSound, c = s.context;
    var module = fetch('quillorn-sound.wasm').then(function (r) {
      if (!r.ok) throw new Error('quillorn-sound.wasm: ' + r.status);
      return r.arrayBuffer();
    }).then(function (bytes) { return WebAssembly.compile(bytes); });
    Promise.all([c.audioWorklet.addModule('quillorn-sound.js'), module]).then(function (got) {
      if (s.context !== c) return;  // closed meanwhile
      s.node = new AudioWorkletNode(c, 'quillorn-sound', {
        numberOfInputs: 0, numberOfOutputs: 1, outputChannelCount: [2]});
      s.node.port.onmessage = s.heard;
      s.node.onprocessorerror = function () { s.workletFailed('processorerror'); };
      s.node.port.postMessage({module: got[1], rate: c.sampleRate});
      s.waiting.forEach(function (m) { s.node.port.postMessage(m.call, m.moved); });
      s.waiting = [];
      s.node.connect(c.destination);
      s.output = s.node;
      s.mode = 'worklet';
    }).catch(function (e) { s.workletFailed(e); });
  },

  // The worklet can't play: the mixer of this thread plays instead, from where it stands.
  workletFailed: function (why) {
    var s = quillornSound;
    if (!s.context || s.mode === 'page') return;
    console.warn('the sound worklet failed:', why);
    if (s.node) s.node.disconnect();
    s.node = null;
    s.waiting = [];
    if (!s.playHere()) {
      s.stop();
      Module._quillorn_web_sound_lost();
    }
  },

  // The ScriptProcessorNode fallback: 2048 frames (about 43 ms) mixed on this thread at a time,
  // since a block that the page's thread hands over late is dropped, and with it what it held.
  playHere: function () {
    var s = quillornSound, node;
    try {
      node = s.context.createScriptProcessor(2048, 0, 2);
    } catch (e) {
      s.missing(false);
      return false;
    }
    node.onaudioprocess = function (e) {
      var left = e.outputBuffer.getChannelData(0), right = e.outputBuffer.getChannelData(1);
      var at = Module._quillorn_web_mix(left.length) >> 1;
      for (var i = 0; i < left.length; ++i) {
        left[i] = HEAP16[at + 2 * i] / 32768;
        right[i] = HEAP16[at + 2 * i + 1] / 32768;
      }
    };
    node.connect(s.context.destination);
    s.output = node;
    s.mode = 'page';
    s.missing(true);
    return true;
  },

  // The one line on what is missing: the worklet (and, off a secure page, offline play).
  missing: function (playing) {
    var secure = window.isSecureContext;
    if (playing && !secure)
      quillornPage.say('https でも localhost でもないため、AudioWorklet とオフライン再生が使えません' +
          '（音は遅れることがあります）。https か localhost で開くと使えます。');
    else if (playing)
      quillornPage.say('このブラウザーでは AudioWorklet が動かないため、音が遅れることがあります。');
    else if (!secure)
      quillornPage.say('https でも localhost でもないため、音とオフライン再生が使えません。' +
          'https か localhost で開くと使えます。');
    else
      quillornPage.say('このブラウザーでは音が出せないため、音なしで遊びます。');
  },

  stop: function () {
    var s = quillornSound;
    if (s.context) s.context.close().catch(function () {});
    s.context = null;
    s.output = s.node = null;
    s.showButton();
  },

  // A call of the game's that changed the mixer (web_audio.cpp); format is [tag, channels,
  // rate, block, bits], bytes the recording's for the call that makes one.
  call: function (kind, buffer, value, bytes, format) {
    var s = quillornSound;
    if (s.mode === 'page' || !s.context) return;  // this thread's mixer is the one that plays
    var m = {call: [kind, buffer, value]}, moved = [];
    if (bytes) {
      m.bytes = bytes.slice().buffer;
      m.format = format;
      moved.push(m.bytes);
    }
    if (s.mode === 'worklet') s.node.port.postMessage(m, moved);
    else s.waiting.push({call: m, moved: moved});
  },

  // The worklet's news: voices that came to their end (after its first `applied` calls), or
  // a fault.
  heard: function (e) {
    var m = e.data;
    if (m.ended) {
      for (var i = 0; i < m.ended.length; ++i) Module._quillorn_web_sound_ended(m.ended[i], m.applied);
    } else if (m.failed) {
      quillornSound.workletFailed(m.failed);
    } else if (m.wrong) {
      console.error('the sound worklet: ' + m.wrong);
    }
  },

  // Muted (Ctrl+M, the 設定 menu): the context is suspended until the sound comes back.
  resting: false,
  rest: function (on) {
    var s = quillornSound;
    s.resting = !!on;
    if (s.context && on) s.context.suspend().catch(function () {});
    else if (s.context && s.context.state === 'suspended') s.context.resume().catch(function () {});
    s.showButton();
  },

  // 「音を出す」 is shown while the browser holds the sound back, not while it is muted.
  showButton: function () {
    var c = quillornSound.context;
    document.getElementById('sound-on').hidden =
        !c || c.state === 'running' || c.state === 'closed' || quillornSound.resting;
  },
};

document.getElementById('sound-on').addEventListener('click', function () {
  if (quillornSound.context) quillornSound.context.resume().catch(function () {});
  document.getElementById('canvas').focus();
});
