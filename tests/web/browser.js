// What the browser tests share: the built page and its driver (a missing page is a failure,
// not a skip), a static server on a port of the process's own, headless Chromium, the
// headless backend's pictures (web_oracle), and helpers run inside the page.
'use strict';
const {execFileSync, spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const fail = (message) => { throw new Error(message); };
const opened = [], errors = [];  // browsers and servers, closed when the test ends; its pages' errors
const keep = (x) => (opened.push(x), x);

// The test's arguments, WEB_ORACLE MOMENTS BUILD_WEB: the page's folder and its driver (a
// missing page fails the test), a folder of the test's own (the browser's profile) where the
// oracle has put its pictures of the table's moments, the moments ([kind, name, keys...]), and
// headless Chromium as the machine's notes start it (no background connections).
function setUp() {
  const [oracle, table, buildDir] = process.argv.slice(2).map((a) => path.resolve(a));
  const pageDir = path.join(buildDir, 'page'), driver = path.join(buildDir, 'node', 'node_modules', 'puppeteer-core');
  const missing = ['index.html', 'quillorn.wasm', 'quillorn-sound.wasm', 'sw.js'].map((f) => path.join(pageDir, f))
      .concat(driver).find((f) => !fs.existsSync(f));
  if (missing) {
    console.error(`${missing} is missing: build the page (bash scripts/web.sh build)`);
    process.exit(1);
  }
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'quillorn-web-'));
  execFileSync(oracle, [table, out]);
  const moments = fs.readFileSync(table, 'utf8').match(/^\s*[^#\s].*$/gm).map((l) => l.trim().split(/\s+/));
  const launch = async (args = []) => keep(await require(driver).launch({executablePath: '/usr/bin/chromium',
    headless: true, args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--user-data-dir=' + path.join(out, 'profile'), ...args]}));
  return {pageDir, out, moments, launch};
}

// Python's static server on host for dir, once it answers, on a port of this process's own
// (parallel tests never meet; n tells a test's servers apart).
async function serve(dir, host, n) {
  const port = 20000 + (process.pid % 5000) * 4 + n;
  const child = spawn('python3', ['-m', 'http.server', `${port}`, '-b', host, '-d', dir], {stdio: 'ignore'});
  for (let i = 0; !(await fetch(`http://127.0.0.1:${port}/`).then((r) => r.ok, () => false)); ++i) {
    if (i === 100) fail(`the server on port ${port} never answered`);
    await sleep(100);
  }
  return keep({port, stop: () => child.kill()});
}

// FNV-1a over RGBA bytes: of the headless pictures here, of the canvas in the page.
function hash(bytes) {
  let h = 0x811c9dc5;
  for (let i = 0; i < bytes.length; ++i) h = Math.imul(h ^ bytes[i], 0x01000193) >>> 0;
  return h;
}
const pictureHash = (out, name) => hash(fs.readFileSync(path.join(out, name + '.rgba')));

// In the page, before its scripts: the canvas's hash, every picture put on the canvas since the
// last one looked for (so that one that stands only for a tick is not missed by a look that
// comes late on a busy machine), and the sound's measures: the context's time at each key
// (taken before the game sees the key) and what the page's mixer says is playing once the game
// has.
const pageHelpers = (hash) => {
  window.__q = {
    playing: -1, seen: new Set(), lookMs: 0,
    // True once the canvas has shown the picture w, however briefly; then forgets the past.
    saw: (w) => (__q.seen.has(w) || __q.hash() === w) && (__q.seen.clear(), true),
    hash() {
      const c = window.quillornCanvas?.canvas;
      return c ? hash(c.getContext('2d').getImageData(0, 0, c.width, c.height).data) : 0;
    },
  };
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    put.apply(this, args);
    const t = performance.now();
    __q.seen.add(__q.hash());
    __q.lookMs += performance.now() - t;  // the test's own time, inside the page's ticks
  };
  addEventListener('keydown', (e) => Object.assign(__q, {keyTime: quillornSound.context?.currentTime,
    keyStamp: e.timeStamp}), true);
  addEventListener('keydown', () => quillornPage.running && (__q.playing = Module._quillorn_web_voices_playing()));
};

// A new page of a browser or a browser context, with the helpers above, at a desktop's size
// unless told; its console errors and uncaught exceptions, but for those that allowed matches,
// fail the test.
async function newPage(owner, {viewport = {width: 1000, height: 1240}, allowed = /^$/} = {}) {
  const page = await owner.newPage(), note = (e) => allowed.test(e) || errors.push(`${page.url()}: ${e}`);
  page.on('console', (m) => m.type() === 'error' && note(m.text()));
  page.on('pageerror', (e) => note(e.message));
  await page.setViewport(viewport);
  await page.evaluateOnNewDocument(`(${pageHelpers})(${hash})`);
  return page;
}

// Waits for fn(arg) to hold in the page; else fails saying what (a function: what it gives).
const waitFor = (page, what, fn, arg, timeout = 10000) => page.waitForFunction(fn, {timeout}, arg)
    .catch(async () => fail(typeof what === 'function' ? await what() : what));

// Waits for the canvas to show the headless picture name (since the last picture waited for);
// fails after the timeout, leaving the canvas beside the picture in out.
const showsPicture = (page, out, name, what, timeout = 15000) => waitFor(page, async () => {
  const png = await page.evaluate(() => quillornCanvas.canvas.toDataURL().split(',')[1]);
  fs.writeFileSync(path.join(out, name + '.browser.png'), Buffer.from(png, 'base64'));
  return `${what}: the canvas is not the headless picture "${name}" (both in ${out})`;
}, (w) => __q.saw(w), pictureHash(out, name), timeout);

// Presses (press), holds until the picture changes (then only pictures put from there on count
// as seen), and lets go (release).
async function holdUntilChanged(page, what, press, release) {
  const before = await page.evaluate(() => __q.hash());
  await press();
  await waitFor(page, `${what} changed nothing`, (h) => __q.hash() !== h && (__q.seen.clear(), true), before, 5000);
  await release();
}

// Gives the page the focus: the game takes keys only while its page has it, as a window only
// while active.
const focus = (page) => page.bringToFront().then(() => waitFor(page, 'the page never had the focus',
    () => document.hasFocus()));

// Opens url, waits for the title's picture and gives the page the focus.
async function openAtTitle(page, out, url, what) {
  await page.goto(url);
  await showsPicture(page, out, 'title', what, 30000);
  await focus(page);
}

// Waits for the page's sound to run, its 「音を出す」 gone.
const soundRuns = (page, what) => waitFor(page, `${what} did not start the sound`,
    () => quillornSound.context.state === 'running' && document.getElementById('sound-on').hidden);

// Runs main, fails if a page logged an error or threw, then closes what the test opened
// (browsers, servers); exits 1 on failure.
const closeAll = () => Promise.all(opened.map((x) => (x.close ? x.close() : x.stop())));
const run = (main) => main().then(() => errors.length && fail(`console errors:\n${errors.join('\n')}`))
    .then(closeAll, async (e) => {
      console.error(e.message);
      await closeAll().catch(() => {});
      process.exit(1);
    });

module.exports = {sleep, fail, setUp, serve, newPage, pictureHash, waitFor, showsPicture, holdUntilChanged,
  focus, openAtTitle, soundRuns, run};
