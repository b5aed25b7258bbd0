// The page in a real browser: headless Chromium plays the moments of moments.txt on the page
// served from 127.0.0.1 and compares the canvas, pixel for pixel, with the headless
// backend's pictures (web_oracle), and the sound with the headless mixer's pitch. Then a
// hidden tab must bring no burst of ticks, Esc must close the game, and the console must have
// no error.
// Usage: node web_test.js WEB_ORACLE MOMENTS PAGE_DIR   (exit 77: no page built, skipped)
// QUILLORN_WEB_SHOTS=DIR also writes web-title.png and web-play.png there.
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const [oracle, momentsFile, pageDir] = process.argv.slice(2).map((a) => path.resolve(a));
const puppeteerDir = path.join(pageDir, 'node', 'node_modules', 'puppeteer-core');
if (!fs.existsSync(path.join(pageDir, 'quillorn.wasm')) || !fs.existsSync(puppeteerDir)) {
  console.log('skipped: build the page first (bash scripts/web.sh build)');
  process.exit(77);
}
const puppeteer = require(puppeteerDir);
const kKeys = {Return: 'Enter', Escape: 'Escape', Space: 'Space', Up: 'ArrowUp',
  Down: 'ArrowDown', Left: 'ArrowLeft', Right: 'ArrowRight', E: 'KeyE', F10: 'F10'};
const shots = process.env.QUILLORN_WEB_SHOTS;

function fail(message) {
  throw new Error(message);
}

// The static server: the page's three files and nothing else.
function serve() {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
  const server = http.createServer((req, res) => {
    const name = path.basename(new URL(req.url, 'http://x').pathname) || 'index.html';
    const file = path.join(pageDir, name);
    if (!types[path.extname(name)] || !fs.existsSync(file)) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, {'Content-Type': types[path.extname(name)]});
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// FNV-1a over the RGBA bytes: the page computes the same of its canvas.
function hash(bytes) {
  let h = 0x811c9dc5;
  for (let i = 0; i < bytes.length; ++i) h = Math.imul(h ^ bytes[i], 0x01000193) >>> 0;
  return h;
}

// Pitch from the rising zero crossings of the first loud stretch, as web_oracle measures it.
function pitch(samples, rate) {
  const loud = 500 / 32768;
  let first = -1, last = -1, crossings = -1, quiet = 0;
  for (let i = 1; i < samples.length; ++i) {
    quiet = Math.abs(samples[i]) < loud ? quiet + 1 : 0;
    if (first >= 0 && quiet > rate / 200) break;  // 5 ms of quiet: the beep is over
    if (quiet > 1) continue;  // only crossings inside the beep count
    if (samples[i - 1] < 0 && samples[i] >= 0) {
      if (first < 0) first = i;
      last = i;
      ++crossings;
    }
  }
  return crossings > 0 ? crossings * rate / (last - first) : 0;
}

// In the page: the canvas's hash, and a wait for a hash that notes when it came.
const kPageHelpers = (titleHash) => {
  window.__q = {
    titleAt: 0,  // performance.now() of the first animation frame that showed the title
    hash() {
      const c = quillornPage.canvas;
      if (!c) return 0;
      const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let h = 0x811c9dc5;
      for (let i = 0; i < d.length; ++i) h = Math.imul(h ^ d[i], 0x01000193) >>> 0;
      return h;
    },
    lastHash: 0,
    stillSince: 0,
    // Presses a key from inside the page when the picture has stood still for a while (a
    // line waiting to be confirmed), in one task with the look, so no tick falls between;
    // true once the picture is the expected one, or (expected 0) differs from before.
    pressWhenStill(before, expected, code, keyCode) {
      const h = __q.hash();
      if (expected ? h === expected : h !== before) return true;
      const now = performance.now();
      if (h !== __q.lastHash) {
        __q.lastHash = h;
        __q.stillSince = now;
      } else if (now - __q.stillSince > 200) {
        for (const type of ['keydown', 'keyup'])
          window.dispatchEvent(new KeyboardEvent(type, {code, key: code, keyCode, bubbles: true}));
        __q.stillSince = now;
      }
      return false;
    },
  };
  const watch = () => {
    if (window.quillornPage && quillornPage.canvas && __q.hash() === titleHash)
      __q.titleAt = performance.now();
    else
      requestAnimationFrame(watch);
  };
  requestAnimationFrame(watch);
};

async function main() {
  const started = Date.now();
  const expected = fs.mkdtempSync(path.join(os.tmpdir(), 'quillorn-web-'));
  execFileSync(oracle, [momentsFile, expected]);
  const moments = fs.readFileSync(momentsFile, 'utf8').split('\n')
      .map((l) => l.trim().split(/\s+/)).filter((w) => w[0] && !w[0].startsWith('#'));

  const server = await serve();
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--user-data-dir=' + path.join(expected, 'profile')],
  });
  const errors = [];
  try {
    const page = await browser.newPage();
    page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
    page.on('pageerror', (e) => errors.push(e.message));
    await page.setViewport({width: 1000, height: 1240});
    const url = `http://127.0.0.1:${server.address().port}/index.html?clock=1000`;
    await page.evaluateOnNewDocument(kPageHelpers,
        hash(fs.readFileSync(path.join(expected, 'title.rgba'))));
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    const figures = {};

    const waitPicture = async (name) => {
      const want = hash(fs.readFileSync(path.join(expected, name + '.rgba')));
      try {
        await page.waitForFunction((w) => __q.hash() === w, {polling: 'raf', timeout: 15000}, want);
      } catch (e) {
        const got = await page.evaluate(() => Array.from(quillornPage.canvas.getContext('2d')
            .getImageData(0, 0, quillornPage.canvas.width, quillornPage.canvas.height).data));
        const want = fs.readFileSync(path.join(expected, name + '.rgba'));
        let differ = 0;
        for (let i = 0; i < want.length; i += 4)
          if (want[i] !== got[i] || want[i + 1] !== got[i + 1] || want[i + 2] !== got[i + 2]) ++differ;
        fs.writeFileSync(path.join(expected, name + '.got.rgba'), Buffer.from(got));
        fail(`${name}: the canvas differs from the headless picture in ${differ} pixels ` +
             `(both in ${expected})`);
      }
    };

    for (const [kind, name, ...keys] of moments) {
      if (kind === 'sound') await page.evaluate(() => quillornAudio.listen(true));
      for (const key of keys) {
        const before = await page.evaluate(() => __q.hash());
        const code = kKeys[key.replace('*', '')];
        if (key.endsWith('*') || code === 'Enter') {
          // A confirm key: pressed whenever the picture stands still, until it changes (or,
          // repeated, until the expected picture comes), as a line is armed only once typed.
          const want = key.endsWith('*') ? hash(fs.readFileSync(path.join(expected, name + '.rgba'))) : 0;
          await page.waitForFunction((b, w, c) => __q.pressWhenStill(b, w, c, 13),
              {polling: 50, timeout: 120000}, before, want, code)
              .catch(() => fail(`${name}: ${key} led nowhere`));
          continue;
        }
        // Held until the picture changes: one step for an arrow in play.
        await page.keyboard.down(code);
        await page.waitForFunction((b) => __q.hash() !== b, {polling: 'raf', timeout: 5000}, before)
            .catch(() => fail(`${name}: ${key} changed nothing`));
        await page.keyboard.up(code);
      }
      if (kind === 'picture') await waitPicture(name);
      if (name === 'title') {
        figures.titleMs = await page.evaluate(() => __q.titleAt);
        if (shots) await page.screenshot({path: path.join(shots, 'web-title.png')});
      }
      if (name === 'new-game') {
        figures.ticks = await page.evaluate(() => [Module._quillorn_web_ticks(),
          Module._quillorn_web_tick_ms()]);
      }
      if (kind === 'sound') await checkSound(page, name, expected, figures);
      console.log(`${name}: ${((Date.now() - started) / 1000).toFixed(1)} s`);
    }
    figures.walkTickMs = await page.evaluate((t) =>
        (Module._quillorn_web_tick_ms() - t[1]) / (Module._quillorn_web_ticks() - t[0]), figures.ticks);
    if (shots) await page.screenshot({path: path.join(shots, 'web-play.png')});
    await checkHiddenTab(browser, page);
    // Esc ends the game: the page says so and offers to start again.
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => !document.getElementById('closed').hidden, {timeout: 5000})
        .catch(() => fail('Esc did not close the game'));
    if (errors.length) fail('console errors:\n' + errors.join('\n'));
    console.log(`load to the title frame: ${figures.titleMs.toFixed(0)} ms`);
    console.log(`a tick while walking: ${figures.walkTickMs.toFixed(3)} ms`);
    console.log(`key to sound: ${figures.latencyMs.toFixed(1)} ms`);
    console.log(`${moments.length} moments in ${((Date.now() - started) / 1000).toFixed(1)} s`);
  } finally {
    await browser.close();
    server.close();
  }
}

// The first key started the sound; the beep it made reaches the output at the oracle's pitch.
async function checkSound(page, name, expected, figures) {
  const want = Number(fs.readFileSync(path.join(expected, name + '.hz'), 'utf8'));
  await page.waitForFunction(() => {
    const t = quillornAudio.tap;
    return t && t.length > 0.4 * quillornAudio.context.sampleRate / 128;
  }, {timeout: 10000});
  const got = await page.evaluate(() => {
    const a = quillornAudio;
    const blocks = a.tap;
    a.listen(false);
    const samples = [];
    let soundAt = -1;
    for (const b of blocks) {
      for (let i = 0; i < b.left.length; ++i) {
        if (soundAt < 0 && Math.abs(b.left[i]) > 500 / 32768) soundAt = b.time + i / a.context.sampleRate;
        samples.push(b.left[i]);
      }
    }
    return {state: a.context.state, rate: a.context.sampleRate, samples, soundAt,
      keyAt: a.keyTime, outputLatency: a.context.outputLatency || 0};
  });
  if (got.state !== 'running') fail(`${name}: the audio context is ${got.state} after a key`);
  const hz = pitch(got.samples, got.rate);
  if (!(Math.abs(hz - want) < want * 0.02)) fail(`${name}: the beep is at ${hz} Hz, not ${want} Hz`);
  figures.latencyMs = (got.soundAt - got.keyAt + got.outputLatency) * 1000;
}

// Five seconds behind another tab, frozen there as a browser freezes background tabs, then
// back: the stalled timer gives one tick, and the ticks that follow come one interval apart.
async function checkHiddenTab(browser, page) {
  const other = await browser.newPage();
  await other.bringToFront();
  await page.waitForFunction(() => document.visibilityState === 'hidden');
  const cdp = await page.target().createCDPSession();
  const hiddenTicks = await page.evaluate(() => Module._quillorn_web_ticks());
  await cdp.send('Page.setWebLifecycleState', {state: 'frozen'});
  await new Promise((r) => setTimeout(r, 5000));
  await cdp.send('Page.setWebLifecycleState', {state: 'active'});
  await page.bringToFront();
  const [stalled, after] = await page.evaluate(() => new Promise((resolve) => {
    const at = Module._quillorn_web_ticks();
    setTimeout(() => resolve([at, Module._quillorn_web_ticks() - at]), 540);
  }));
  console.log(`hidden 5 s: ${stalled - hiddenTicks} ticks; the first 540 ms back: ${after}`);
  if (stalled - hiddenTicks > 10) fail('the hidden tab kept ticking: nothing was tested');
  if (after > 15) fail(`${after} ticks in the 540 ms after the tab came back: a burst`);
  await other.close();
}

main().catch((e) => {
  console.error(e.message);
  process.exit(1);
});
