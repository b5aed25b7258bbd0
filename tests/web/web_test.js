// The page in a real browser: headless Chromium plays the moments of moments.txt on the page
// served from 127.0.0.1 and compares the canvas, pixel for pixel, with the headless
// backend's pictures (web_oracle), and the beep's pitch with the headless mixer's. Then a
// hidden tab must bring no burst of ticks, Esc must close the game, and the console must have
// no error. Prints the page's figures (load to title, tick time, key to sound).
// Usage: node web_test.js WEB_ORACLE MOMENTS PAGE_DIR   (exit 77: no page built, skipped)
// QUILLORN_WEB_SHOTS=DIR also writes web-title.png and web-play.png there.
'use strict';
const {execFileSync, spawn} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [oracle, momentsFile, pageDir] = process.argv.slice(2).map((a) => path.resolve(a));
const puppeteerDir = path.join(pageDir, 'node', 'node_modules', 'puppeteer-core');
if (!fs.existsSync(path.join(pageDir, 'quillorn.wasm')) || !fs.existsSync(puppeteerDir)) {
  console.log('skipped: build the page first (bash scripts/web.sh build)');
  process.exit(77);
}
const puppeteer = require(puppeteerDir);
const kPort = 18000 + (process.pid % 1000);
const shots = process.env.QUILLORN_WEB_SHOTS;
const out = fs.mkdtempSync(path.join(os.tmpdir(), 'quillorn-web-'));
const fail = (message) => {
  throw new Error(message);
};
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// FNV-1a over RGBA bytes; the page hashes its canvas the same way.
function hash(bytes) {
  let h = 0x811c9dc5;
  for (let i = 0; i < bytes.length; ++i) h = Math.imul(h ^ bytes[i], 0x01000193) >>> 0;
  return h;
}
const pictureHash = (name) => hash(fs.readFileSync(path.join(out, name + '.rgba')));

// Pitch from the mean period between rising zero crossings in the first loud stretch
// (samples in -1..1). A queue run dry on a busy machine puts a short gap in the beep, which
// lengthens one period: periods far over the median are left out.
function pitch(samples, rate) {
  const periods = [];
  let last = -1, quiet = 0;
  for (let i = 1; i < samples.length; ++i) {
    quiet = Math.abs(samples[i]) < 500 / 32768 ? quiet + 1 : 0;
    if (last >= 0 && quiet > rate / 200) break;  // 5 ms of quiet: the beep is over
    if (quiet > 1 || !(samples[i - 1] < 0 && samples[i] >= 0)) continue;
    if (last >= 0) periods.push(i - last);
    last = i;
  }
  const median = [...periods].sort((a, b) => a - b)[periods.length >> 1];
  const kept = periods.filter((p) => p < median * 1.5);
  return kept.length ? rate * kept.length / kept.reduce((a, b) => a + b, 0) : 0;
}

// In the page, before its scripts: the canvas's hash, the moment the title first showed,
// and confirm keys pressed from inside the page whenever the picture has stood still for a
// while (a line is armed only once typed), in one task with the look, so no tick falls
// between; true once the picture is the expected one or (expected 0) differs from before.
const kPageHelpers = (titleHash) => {
  window.__q = {
    titleAt: 0, lastHash: 0, stillSince: 0,
    hash() {
      const c = window.quillornPage && quillornPage.canvas;
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
  const watch = () => {
    if (__q.hash() === titleHash) __q.titleAt = performance.now();
    else requestAnimationFrame(watch);
  };
  requestAnimationFrame(watch);
};

async function playMoment(page, kind, name, keys, figures) {
  if (kind === 'sound') await page.evaluate(() => quillornAudio.listen(true));
  for (const key of keys) {
    const before = await page.evaluate(() => __q.hash());
    const code = key.replace('*', '');
    if (code === 'Enter') {
      const want = key.endsWith('*') ? pictureHash(name) : 0;
      await page.waitForFunction((b, w, c) => __q.pressWhenStill(b, w, c),
          {polling: 50, timeout: 200000}, before, want, code).catch(() => fail(`${name}: ${key} led nowhere`));
      continue;
    }
    // Held until the picture changes: one step for an arrow in play.
    await page.keyboard.down(code);
    await page.waitForFunction((b) => __q.hash() !== b, {polling: 'raf', timeout: 5000}, before)
        .catch(() => fail(`${name}: ${key} changed nothing`));
    await page.keyboard.up(code);
  }
  if (kind === 'picture') {
    await page.waitForFunction((w) => __q.hash() === w, {polling: 'raf', timeout: 15000},
        pictureHash(name)).catch(async () => {
      const png = await page.evaluate(() => quillornPage.canvas.toDataURL().split(',')[1]);
      fs.writeFileSync(path.join(out, name + '.browser.png'), Buffer.from(png, 'base64'));
      fail(`${name}: the canvas is not the headless picture (both in ${out})`);
    });
  } else {
    await checkSound(page, name, figures);
  }
}

// The first key started the sound; the beep reaches the output at the headless mix's pitch.
async function checkSound(page, name, figures) {
  await page.waitForFunction(() => quillornAudio.tap.length * 128 > 0.4 * quillornAudio.context.sampleRate);
  const got = await page.evaluate(() => {
    const a = quillornAudio, samples = [];
    let soundAt = -1;
    for (const b of a.tap) {
      b.left.forEach((v, i) => {
        if (soundAt < 0 && Math.abs(v) > 500 / 32768) soundAt = b.time + i / a.context.sampleRate;
        samples.push(v);
      });
    }
    a.listen(false);
    return {state: a.context.state, rate: a.context.sampleRate, samples, underruns: a.underruns,
      latency: soundAt - a.keyTime + (a.context.outputLatency || 0)};
  });
  const headless = new Int16Array(fs.readFileSync(path.join(out, name + '.pcm')).buffer);
  const want = pitch(Array.from(headless.filter((v, i) => i % 2 === 0), (v) => v / 32768), 48000);
  const hz = pitch(got.samples, got.rate);
  if (got.state !== 'running') fail(`${name}: the audio context is ${got.state} after a key`);
  if (!(want > 0 && Math.abs(hz - want) < want * 0.02)) fail(`${name}: a beep at ${hz} Hz, not ${want} Hz`);
  figures.latencyMs = got.latency * 1000;
  figures.underruns = got.underruns;
}

// Five seconds behind another tab, frozen there as browsers freeze background tabs, then
// back: the stalled timer gives one tick, and the ticks that follow come one interval apart.
async function checkHiddenTab(browser, page) {
  const other = await browser.newPage();
  await other.bringToFront();
  await page.waitForFunction(() => document.visibilityState === 'hidden');
  const cdp = await page.target().createCDPSession();
  const hidden = await page.evaluate(() => Module._quillorn_web_ticks());
  await cdp.send('Page.setWebLifecycleState', {state: 'frozen'});
  await sleep(5000);
  await cdp.send('Page.setWebLifecycleState', {state: 'active'});
  await page.bringToFront();
  // Counted against the page's own clock: a busy machine may stretch the wait.
  const clock = () => page.evaluate(() => [Module._quillorn_web_ticks(), performance.now()]);
  const [back, since] = await clock();
  await sleep(540);
  const [now, until] = await clock();
  const after = now - back, ms = (until - since).toFixed(0);
  console.log(`hidden 5 s: ${back - hidden} ticks; then ${after} in ${ms} ms back`);
  if (back - hidden > 10) fail('the hidden tab kept ticking: nothing was tested');
  if (after > Math.floor((until - since) / 54) + 5) fail(`${after} ticks in ${ms} ms back: a burst`);
  await other.close();
}

async function main() {
  const started = Date.now();
  execFileSync(oracle, [momentsFile, out]);
  const moments = fs.readFileSync(momentsFile, 'utf8').split('\n')
      .map((l) => l.trim().split(/\s+/)).filter((w) => w[0] && !w[0].startsWith('#'));
  const server = spawn('python3', ['-m', 'http.server', String(kPort), '--bind', '127.0.0.1',
    '--directory', pageDir], {stdio: 'ignore'});
  const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--user-data-dir=' + path.join(out, 'profile')]});
  const errors = [];
  const figures = {};
  try {
    const page = await browser.newPage();
    page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
    page.on('pageerror', (e) => errors.push(e.message));
    await page.setViewport({width: 1000, height: 1240});
    await page.evaluateOnNewDocument(kPageHelpers, pictureHash('title'));
    for (let i = 0; ; ++i) {  // the server takes a moment to listen
      const ok = await page.goto(`http://127.0.0.1:${kPort}/index.html?clock=1000`).catch(() => null);
      if (ok || i === 50) break;
      await sleep(100);
    }
    const tickCounts = () => page.evaluate(() => [Module._quillorn_web_ticks(), Module._quillorn_web_tick_ms()]);
    for (const [kind, name, ...keys] of moments) {
      await playMoment(page, kind, name, keys, figures);
      console.log(`${name}: ${((Date.now() - started) / 1000).toFixed(1)} s`);
      if (name === 'title') figures.titleMs = await page.evaluate(() => __q.titleAt);
      if (name === 'new-game') figures.ticks = await tickCounts();
      if (shots && name === 'title') await page.screenshot({path: path.join(shots, 'web-title.png')});
    }
    const [n, ms] = await tickCounts();
    figures.walkTickMs = (ms - figures.ticks[1]) / (n - figures.ticks[0]);
    if (shots) await page.screenshot({path: path.join(shots, 'web-play.png')});
    await checkHiddenTab(browser, page);
    await page.keyboard.press('Escape');  // the page shows that the game is closed, and only that
    await page.waitForFunction(() => !document.getElementById('closed').hidden &&
        getComputedStyle(document.getElementById('screen')).display === 'none', {timeout: 5000})
        .catch(() => fail('Esc did not close the game'));
    if (errors.length) fail('console errors:\n' + errors.join('\n'));
    console.log(`load to the title frame: ${figures.titleMs.toFixed(0)} ms; a tick while walking: ` +
        `${figures.walkTickMs.toFixed(2)} ms; key to sound: ${figures.latencyMs.toFixed(0)} ms ` +
        `(the sound's queue ran dry ${figures.underruns} times before)`);
  } finally {
    await browser.close();
    server.kill();
  }
}

main().catch((e) => {
  console.error(e.message);
  process.exit(1);
});
