// What the browser tests share: the built page and its driver (a missing page is a failure,
// not a skip), a static server on a port of the process's own, headless Chromium, the
// headless backend's pictures (web_oracle), and helpers run inside the page.
'use strict';
const {execFileSync, spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const fail = (message) => {
  throw new Error(message);
};

// The page folder's files, and puppeteer-core beside them; without them the test fails.
function requirePage(buildDir) {
  const page = path.join(buildDir, 'page');
  const driver = path.join(buildDir, 'node', 'node_modules', 'puppeteer-core');
  for (const f of ['index.html', 'quillorn.wasm', 'quillorn-sound.wasm', 'sw.js', driver]) {
    if (fs.existsSync(path.resolve(page, f))) continue;
    console.error(`${path.resolve(page, f)} is missing: build the page (bash scripts/web.sh build)`);
    process.exit(1);
  }
  return {page, puppeteer: require(driver)};
}

// Python's static server on host for dir, once it answers, on a port of this process's own
// (parallel tests never meet; n tells a test's servers apart).
async function serve(dir, host, n) {
  const port = 20000 + (process.pid % 5000) * 4 + n;
  const child = spawn('python3', ['-m', 'http.server', String(port), '--bind', host,
    '--directory', dir], {stdio: 'ignore'});
  const url = `http://${host === '0.0.0.0' ? '127.0.0.1' : host}:${port}/`;
  for (let i = 0; !(await fetch(url).then((r) => r.ok, () => false)); ++i) {
    if (i === 100) fail(`the server on port ${port} never answered`);
    await sleep(100);
  }
  return {port, stop: () => child.kill()};
}

// Headless Chromium as the machine's notes start it: no background connections, a profile
// of the test's own.
function launch(puppeteer, profile, args = []) {
  return puppeteer.launch({executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--user-data-dir=' + profile, ...args]});
}

// The test's arguments, WEB_ORACLE MOMENTS BUILD_WEB: the page's folder and its driver (a
// missing page fails the test), a folder of the test's own (the browser's profile) where the
// oracle has put its pictures of the table's moments, and the moments ([kind, name, keys...]).
function setUp() {
  const [oracle, table, buildDir] = process.argv.slice(2).map((a) => path.resolve(a));
  const {page, puppeteer} = requirePage(buildDir);
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'quillorn-web-'));
  execFileSync(oracle, [table, out]);
  const moments = fs.readFileSync(table, 'utf8').split('\n').map((l) => l.trim().split(/\s+/))
      .filter((w) => w[0] && !w[0].startsWith('#'));
  return {pageDir: page, out, moments, launch: (args) => launch(puppeteer, path.join(out, 'profile'), args)};
}

// A new page of a browser or a browser context, with the helpers below and its console errors
// and uncaught exceptions collected, at a desktop's size unless told.
async function newPage(owner, viewport = {width: 1000, height: 1240}) {
  const page = await owner.newPage(), errors = [];
  page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
  page.on('pageerror', (e) => errors.push(e.message));
  await page.setViewport(viewport);
  await page.evaluateOnNewDocument(pageHelpers);
  return {page, errors};
}

// FNV-1a over RGBA bytes; the page hashes its canvas the same way.
function hash(bytes) {
  let h = 0x811c9dc5;
  for (let i = 0; i < bytes.length; ++i) h = Math.imul(h ^ bytes[i], 0x01000193) >>> 0;
  return h;
}
const pictureHash = (out, name) => hash(fs.readFileSync(path.join(out, name + '.rgba')));

// The game takes keys only while its page has the focus, as a window only while active.
async function focus(page) {
  await page.bringToFront();
  await page.waitForFunction(() => document.hasFocus(), {timeout: 10000})
      .catch(() => fail('the page never had the focus'));
}

// In the page, before its scripts: the canvas's hash; confirm keys pressed from inside the
// page whenever the picture has stood still for a while (a line is armed only once typed), in
// one task with the look, so no tick falls between; and the sound's measures: the context's
// time at each key (taken before the game sees the key) and what the page's mixer says is
// playing once the game has.
const pageHelpers = () => {
  window.__q = {
    lastHash: 0, stillSince: 0, keyTime: -1, playingAfterKey: -1,
    seen: new Set(),  // every picture put on the canvas since the last one looked for
    // True once the canvas has shown the picture w, however briefly; then forgets the past.
    saw(w) {
      if (!__q.seen.has(w) && __q.hash() !== w) return false;
      __q.seen.clear();
      return true;
    },
    hash() {
      const c = window.quillornCanvas && quillornCanvas.canvas;
      if (!c) return 0;
      const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let h = 0x811c9dc5;
      for (let i = 0; i < d.length; ++i) h = Math.imul(h ^ d[i], 0x01000193) >>> 0;
      return h;
    },
    pressWhenStill(before, expected, code) {
      const h = __q.hash(), now = performance.now();
      if (expected ? h === expected : h !== before) return true;
      if (h !== __q.lastHash) [__q.lastHash, __q.stillSince] = [h, now];
      if (now - __q.stillSince < 200) return false;
      for (const type of ['keydown', 'keyup'])
        window.dispatchEvent(new KeyboardEvent(type, {code, key: code, keyCode: 13}));
      __q.stillSince = now;
      return false;
    },
  };
  // Each picture the page puts is noted, so that one that stands only for a tick is not missed
  // by a look that comes late on a busy machine.
  let canvas;
  Object.defineProperty(window, 'quillornCanvas', {configurable: true, get: () => canvas, set: (v) => {
    const put = v.putPixels;
    v.putPixels = (...args) => (put(...args), __q.seen.add(__q.hash()));
    canvas = v;
  }});
  window.addEventListener('keydown', (e) => {
    const c = window.quillornSound && quillornSound.context;
    __q.keyTime = c ? c.currentTime : -1;
    __q.keyStamp = e.timeStamp;
  }, true);
  window.addEventListener('keydown', () => {
    if (window.quillornPage && quillornPage.running) __q.playingAfterKey = Module._quillorn_web_voices_playing();
  });
};

// A recorder on what the page's sound output sends to the destination: once armed with a
// number of frames, it keeps that many from the first loud sample on and reports them with
// the context's time of that sample, and counts the render quanta that did not follow on one
// after another (a gap in the sound) since it was armed.
const kRecorder = `
class Recorder extends AudioWorkletProcessor {
  constructor() {
    super();
    this.last = -1;
    this.port.onmessage = (e) => Object.assign(this, {armed: true, want: e.data, got: 0,
      soundAt: -1, gaps: 0, samples: new Float32Array(e.data)});
  }
  process(inputs) {
    const now = currentTime, input = inputs[0] && inputs[0][0];
    if (this.last >= 0 && Math.abs(now - this.last - 128 / sampleRate) > 1e-6) ++this.gaps;
    this.last = now;
    if (!this.armed || !input) return true;
    for (let i = 0; i < input.length; ++i) {
      if (this.soundAt < 0 && Math.abs(input[i]) > 500 / 32768) this.soundAt = now + i / sampleRate;
      if (this.soundAt >= 0 && this.got < this.want) this.samples[this.got++] = input[i];
    }
    if (this.soundAt >= 0 && this.got === this.want) {
      this.port.postMessage({soundAt: this.soundAt, samples: this.samples, gaps: this.gaps});
      this.armed = false;
    }
    return true;
  }
}
registerProcessor('quillorn-test-recorder', Recorder);`;

async function addRecorder(page) {
  await page.evaluate(async (code) => {
    const c = quillornSound.context;
    await c.audioWorklet.addModule(URL.createObjectURL(new Blob([code], {type: 'text/javascript'})));
    __q.recorder = new AudioWorkletNode(c, 'quillorn-test-recorder', {numberOfInputs: 1, numberOfOutputs: 0});
    quillornSound.output.connect(__q.recorder);
  }, kRecorder);
}

// Arms the recorder; the function it returns waits for what it heard (with the context's time
// at the last key), and fails when nothing loud came within `wait` ms of its call, or gives
// null if the sound may be lost.
async function armRecorder(page, frames, wait = 10000) {
  await page.evaluate((n) => {
    __q.heard = new Promise((resolve) => {
      __q.recorder.port.onmessage = (e) => {
        // When Chromium expects that sample to leave the output, on the page's clock.
        const c = quillornSound.context, now = c.getOutputTimestamp();
        const outAt = now.performanceTime + (e.data.soundAt - now.contextTime) * 1000;
        resolve({...e.data, samples: Array.from(e.data.samples), keyTime: __q.keyTime,
          toOutputMs: outAt - __q.keyStamp, rate: c.sampleRate});
      };
    });
    __q.recorder.port.postMessage(n);
  }, frames);
  return async (mayBeLost) => {
    const got = await page.evaluate((ms) => Promise.race([__q.heard,
      new Promise((r) => setTimeout(() => r(null), ms))]), wait);
    if (got || mayBeLost) return got;
    const state = await page.evaluate(() => quillornSound.context && quillornSound.context.state);
    return fail(`no sound reached the destination in ${wait} ms (the audio context: ${state})`);
  };
}

// Pitch from the rising zero crossings in the first loud stretch (samples in -1..1): their
// count over the frames from the first to the last.
function pitch(samples, rate) {
  let first = -1, last = -1, count = 0, quiet = 0;
  for (let i = 1; i < samples.length; ++i) {
    quiet = Math.abs(samples[i]) < 500 / 32768 ? quiet + 1 : 0;
    if (first >= 0 && quiet > rate / 200) break;  // 5 ms of quiet: the beep is over
    if (quiet > 1 || !(samples[i - 1] < 0 && samples[i] >= 0)) continue;
    [first, last, count] = first < 0 ? [i, i, 0] : [first, i, count + 1];
  }
  return count ? rate * count / (last - first) : 0;
}

// Fails unless the samples heard carry the headless mix's pitch for the sound moment name
// (its left channel at 48 kHz), within 2%.
function checkPitch(out, name, heard, what) {
  const pcm = new Int16Array(fs.readFileSync(path.join(out, name + '.pcm')).buffer);
  const want = pitch(Array.from(pcm.filter((v, i) => i % 2 === 0), (v) => v / 32768), 48000);
  const hz = pitch(heard.samples, heard.rate);
  if (!(want > 0 && Math.abs(hz - want) < want * 0.02)) fail(`${what}: a beep at ${hz} Hz, not ${want} Hz`);
}

// Waits for the canvas to show the headless picture name (since the last picture waited for);
// fails after the timeout, leaving the canvas beside the picture in out.
function showsPicture(page, out, name, what, timeout = 15000) {
  return page.waitForFunction((w) => __q.saw(w), {polling: 'raf', timeout}, pictureHash(out, name))
      .catch(async () => {
        const png = await page.evaluate(() => quillornCanvas.canvas.toDataURL().split(',')[1]);
        fs.writeFileSync(path.join(out, name + '.browser.png'), Buffer.from(png, 'base64'));
        fail(`${what}: the canvas is not the headless picture "${name}" (both in ${out})`);
      });
}

// Presses (press), holds until the picture changes, and lets go (release).
async function holdUntilChanged(page, what, press, release) {
  const before = await page.evaluate(() => __q.hash());
  await press();
  await page.waitForFunction((h) => __q.hash() !== h, {polling: 'raf', timeout: 5000}, before)
      .catch(() => fail(`${what} changed nothing`));
  await release();
}

// Opens url, waits for the title's picture and gives the page the focus.
async function openAtTitle(page, out, url, what) {
  await page.goto(url);
  await showsPicture(page, out, 'title', what, 30000);
  await focus(page);
}

// Waits for the page's sound to run, its 「音を出す」 gone.
const soundRuns = (page, what) => page.waitForFunction(() => quillornSound.context.state === 'running' &&
    document.getElementById('sound-on').hidden, {timeout: 10000}).catch(() => fail(`${what} did not start the sound`));

// Fails if the page logged an error or threw, but for those that allowed matches.
function noErrors(errors, what = '', allowed = /^$/) {
  const left = errors.filter((e) => !allowed.test(e));
  if (left.length) fail(`${what}console errors:\n${left.join('\n')}`);
}

// Runs main, closing what it opened (browsers, servers), and exits 1 on failure.
function run(main) {
  const opened = [];
  const closeAll = () => Promise.all(opened.map((x) => (x.close ? x.close() : x.stop())));
  main((x) => (opened.push(x), x)).then(closeAll, async (e) => {
    console.error(e.message);
    await closeAll().catch(() => {});
    process.exit(1);
  });
}

module.exports = {sleep, fail, setUp, serve, newPage, pictureHash, addRecorder, armRecorder, checkPitch,
  showsPicture, holdUntilChanged, openAtTitle, soundRuns, noErrors, focus, run};
